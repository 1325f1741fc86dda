# Installs the Debian packages that are missing. Sourced from the repository root by
# scripts/build.sh, scripts/bench, scripts/fuzz.sh and scripts/coverage.

# Qt Charts finds Qt OpenGL's CMake files, which its package does not bring.
packages=(cmake g++ make pkg-config qt6-base-dev qt6-charts-dev libqt6opengl6-dev libgl-dev
          libx11-dev libgtest-dev libgmock-dev libbenchmark-dev fonts-dejavu-core xvfb xauth
          xdotool x11-utils x11-xserver-utils xdg-utils clang libclang-rt-14-dev
          dpkg-dev lintian desktop-file-utils appstream libcli11-dev)
# What one script needs beyond these (scripts/coverage: gcovr), set before sourcing.
packages+=("${extra_packages[@]}")

install_missing() {
    local missing=() p
    for p in "${packages[@]}"; do
        dpkg -s "$p" 2>/dev/null | grep -q '^Status: install ok installed' || missing+=("$p")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    local sudo=()
    [ "$(id -u)" -ne 0 ] && sudo=(sudo)
    echo "Installing: ${missing[*]}"
    "${sudo[@]}" apt-get update
    "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive \
        apt-get install -y --no-install-recommends "${missing[@]}"
}

install_missing
