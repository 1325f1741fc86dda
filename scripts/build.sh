# Shared by scripts/run and scripts/test: installs the Debian packages that are missing,
# then configures and builds in build/ the targets named in build_targets (all when empty).
# Sourced from the repository root.

source scripts/packages.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build -j"$(nproc)" ${build_targets:+--target ${build_targets[@]}}
