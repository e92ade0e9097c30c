#!/usr/bin/env bash
# Installs what is missing, builds and runs every test: once in Release, once under
# AddressSanitizer and UndefinedBehaviorSanitizer. Exits non-zero on any failure.
set -euo pipefail
cd "$(dirname "$0")"

# The workbook check reads .xlsx files with openpyxl; it and the CSV check also open files in
# LibreOffice's spreadsheet (the package without a display, about 80 MB to fetch). The browser
# test needs Chromium and Node.js. npm comes with some Node.js builds and conflicts with
# Debian's npm package there.
# The window tests start the application on a virtual X display (Xvfb, Qt's xcb plugin) with a
# window manager (openbox) and drive it from the keyboard (xdotool).
# The fuzz targets are built with clang and its libFuzzer runtime. The installed tree's
# desktop entry and AppStream metadata are checked with their validators.
# strace shows that every result is synced before it takes its name.
./scripts/install-deps.sh libgtest-dev libgmock-dev python3-openpyxl libreoffice-calc-nogui \
    chromium nodejs xvfb xauth openbox xdotool qt6-qpa-plugins clang clang-format \
    libclang-rt-14-dev desktop-file-utils appstream strace $(command -v npm >/dev/null || echo npm)
jobs=$(nproc 2>/dev/null || echo 2)

./scripts/check-format.sh

# The options are set every time: ./run.sh configures the same folder without the tests. A
# run that finds no test fails.
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release -DQOR_BUILD_TESTS=ON \
    -DQOR_WERROR=ON >/dev/null
cmake --build build/release -j"$jobs"
ctest --test-dir build/release --output-on-failure --no-tests=error -j"$jobs"

# The fuzz targets, briefly: their seeds, then a second of fuzzing each (scripts/fuzz.sh).
./scripts/fuzz.sh 1

cmake -S . -B build/sanitize -G Ninja -DCMAKE_BUILD_TYPE=Debug -DQOR_SANITIZE=ON \
    -DQOR_BUILD_TESTS=ON -DQOR_WERROR=ON >/dev/null
cmake --build build/sanitize -j"$jobs"
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1 \
    ctest --test-dir build/sanitize --output-on-failure --no-tests=error -j"$jobs"
