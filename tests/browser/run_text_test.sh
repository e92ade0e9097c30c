#!/usr/bin/env bash
# Has check_encodings.py write HTML reports of exports in several encodings with qorscan and
# checks in headless Chromium that they read as the exports' text. Shares the pinned
# playwright-core of run_report_test.sh.
# usage: run_text_test.sh <python> <qorscan> <work folder>
set -euo pipefail
python=$1
qorscan=$2
work=$3
. "$(dirname "$0")/prepare_browser.sh"
prepare_browser "$work" report_text.mjs

run="$work/text-run"
rm -rf "$run"
mkdir -p "$run"
"$python" "$(dirname "$0")/../encoding/check_encodings.py" "$qorscan" --keep "$run" >/dev/null
node "$work/report_text.mjs" "$run/cases.json"
