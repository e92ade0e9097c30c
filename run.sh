#!/usr/bin/env bash
# Installs what is missing, builds in Release and runs the main job: with a display, the
# desktop application with the bundled sample export opened; without one (or with
# arguments, which go to qorscan), a headless scan of the sample with every element type and
# parameter enabled into ./results, printing the statistics.
set -euo pipefail
cd "$(dirname "$0")"

./scripts/install-deps.sh
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release -DQOR_BUILD_TESTS=OFF >/dev/null
cmake --build build/release --target qorscan qorreader

if [ $# -eq 0 ] && [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
    exec build/release/src/gui/qorreader "$PWD/examples/sample.qor"
fi
[ $# -eq 0 ] && echo "No display: running the headless main job (qorscan) instead of the desktop application."

mkdir -p results
# A settings file of the job's own, so the user's stored options stay out of it.
settings=build/release/run-settings.ini
: >"$settings"
exec build/release/src/cli/qorscan --settings "$settings" --all --output html \
    --result-folder results --overwrite yes examples/sample.qor "$@"
