#!/usr/bin/env bash
# Builds the Debian package from the build folder, unpacks it into a scratch root and checks
# it as a packager would: its layout, its desktop entry and AppStream data, lintian, the
# version of the executables, the installed kvscript keying on the installed demo file and
# the installed korvalen-tool checking it.
# Usage: PackageTest.sh BUILD_DIR VERSION
set -euo pipefail

build=$1
version=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() {
    echo "FAIL: $*" >&2
    exit 1
}

(cd "$build" && cpack -G DEB -B "$work/out" >"$work/cpack.log" 2>&1) ||
    { cat "$work/cpack.log" >&2; fail "cpack could not build the package"; }
deb=$(ls "$work"/out/korvalen_"$version"_*.deb 2>/dev/null | head -n 1)
[ -n "$deb" ] || fail "no korvalen_${version}_ARCH.deb in $work/out"

root=$work/root
dpkg-deb -x "$deb" "$root"
share=$root/usr/share
for f in usr/bin/korvalen usr/bin/kvscript usr/bin/korvalen-tool usr/share/korvalen/FILE.FMT \
    usr/share/korvalen/DEMO.DAT usr/share/korvalen/TIPOFDAY.TXT usr/share/korvalen/kvhelp.html \
    usr/share/applications/org.korvalen.Korvalen.desktop \
    usr/share/metainfo/org.korvalen.Korvalen.metainfo.xml \
    usr/share/icons/hicolor/scalable/apps/org.korvalen.Korvalen.svg \
    usr/share/icons/hicolor/48x48/apps/org.korvalen.Korvalen.png \
    usr/share/man/man1/korvalen.1.gz usr/share/man/man1/korvalen-tool.1.gz \
    usr/share/doc/korvalen/copyright; do
    [ -f "$root/$f" ] || fail "the package has no /$f"
done
[ -z "$(find "$root" -path '*/lib/korvalen*')" ] || fail "files are still installed in lib/korvalen"
grep -qx 'Exec=korvalen' "$share/applications/org.korvalen.Korvalen.desktop" ||
    fail "the desktop entry does not run korvalen from the PATH"

# The package's own dependencies come from the libraries the executables link.
depends=$(dpkg-deb -f "$deb" Depends)
[[ $depends == *libqt6widgets6* && $depends == *libc6* ]] || fail "Depends is '$depends'"
[ "$(dpkg-deb -f "$deb" Version)" = "$version" ] || fail "the package's version is not $version"

desktop-file-validate "$share/applications/org.korvalen.Korvalen.desktop" ||
    fail "desktop-file-validate refuses the desktop entry"
appstreamcli validate --no-net "$share/metainfo/org.korvalen.Korvalen.metainfo.xml" \
    >"$work/appstream.log" 2>&1 || { cat "$work/appstream.log" >&2; fail "appstreamcli refuses the metainfo"; }
lintian --fail-on error,warning "$deb" >"$work/lintian.log" 2>&1 ||
    { cat "$work/lintian.log" >&2; fail "lintian reports errors or warnings"; }

[ "$("$root/usr/bin/kvscript" --version)" = "kvscript $version" ] || fail "kvscript --version"
[ "$(env -u DISPLAY -u WAYLAND_DISPLAY "$root/usr/bin/korvalen" --version)" = "Korvalen $version" ] ||
    fail "korvalen --version"

# The installed kvscript opens the installed demo file under its format and shows it.
cat >"$work/smoke.kvs" <<'SCRIPT'
menu Open
choose DEMO.DAT
choose CUSTOMER-64
menu Open
show
menu About
SCRIPT
"$root/usr/bin/kvscript" "$share/korvalen" "$work/smoke.kvs" >"$work/smoke.out" 2>&1 ||
    { cat "$work/smoke.out" >&2; fail "the installed kvscript failed"; }
grep -q "^caption: KORVALEN - ( Orlenmark ) $share/korvalen/DEMO.DAT$" "$work/smoke.out" ||
    { cat "$work/smoke.out" >&2; fail "the installed demo file was not opened"; }
grep -q "version $version\." "$work/smoke.out" || fail "About does not name version $version"

# The installed korvalen-tool checks the installed demo file, and a copy elsewhere under the
# FILE.FMT of its own share folder.
[ "$("$root/usr/bin/korvalen-tool" --version)" = "korvalen-tool $version" ] ||
    fail "korvalen-tool --version"
[ "$("$root/usr/bin/korvalen-tool" check "$share/korvalen/DEMO.DAT" --format CUSTOMER)" = \
    "8 records, 0 faults" ] || fail "the installed korvalen-tool does not check DEMO.DAT clean"
mkdir "$work/elsewhere"
cp "$share/korvalen/DEMO.DAT" "$work/elsewhere/"
"$root/usr/bin/korvalen-tool" check "$work/elsewhere/DEMO.DAT" --format CUSTOMER >/dev/null ||
    fail "the installed korvalen-tool does not find its own FILE.FMT"
echo "package $(basename "$deb") installs, validates, keys and checks"
