#!/usr/bin/env bash
# Builds the Debian package in Release (folder build/package) and prints its path:
# qorreader_<version>_<arch>.deb, with its library dependencies read from the programs.
# Install it with: apt-get install ./build/package/qorreader_*.deb
set -euo pipefail
cd "$(dirname "$0")/.."

# CPack finds the programs with file(1) and hands them to dpkg-shlibdeps (dpkg-dev).
./scripts/install-deps.sh dpkg-dev file
jobs=$(nproc 2>/dev/null || echo 2)

cmake -S . -B build/package -G Ninja -DCMAKE_BUILD_TYPE=Release -DQOR_BUILD_TESTS=OFF >/dev/null
cmake --build build/package -j"$jobs"
rm -f build/package/qorreader_*.deb
(cd build/package && cpack -G DEB >/dev/null)
ls build/package/qorreader_*.deb
