#!/usr/bin/env bash
# Writes the HTML report of examples/sample.qor with qorscan and checks it in headless
# Chromium. Installs the pinned playwright-core into the work folder once. A missing
# Chromium or Node.js fails the test: ./test.sh installs both.
# usage: run_report_test.sh <qorscan> <sample.qor> <work folder>
set -euo pipefail
qorscan=$1
sample=$2
work=$3
. "$(dirname "$0")/prepare_browser.sh"
prepare_browser "$work" report_frames.mjs

run="$work/run"
rm -rf "$run"
mkdir -p "$run/results"
: >"$run/settings.ini"
"$qorscan" --settings "$run/settings.ini" --all --output html --result-folder "$run/results" \
    --now 2026-12-04T10:11:12 --quiet "$sample" >/dev/null
node "$work/report_frames.mjs" "$run/results/Node12_04Dec2026/Html Files" "$run/report.png"
