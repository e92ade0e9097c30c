#!/usr/bin/env bash
# Installs what is missing, builds in Release and runs the main job: scan the bundled
# sample export with every element type and parameter enabled into ./results and print
# the statistics. Extra arguments go to qorscan.
set -euo pipefail
cd "$(dirname "$0")"

./scripts/install-deps.sh
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release -DQOR_BUILD_TESTS=OFF >/dev/null
cmake --build build/release --target qorscan

mkdir -p results
# A settings file of the job's own, so the user's stored options stay out of it.
settings=build/release/run-settings.ini
: >"$settings"
exec build/release/src/qorscan --settings "$settings" --all --output html \
    --result-folder results --overwrite yes examples/sample.qor "$@"
