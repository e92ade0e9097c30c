#!/usr/bin/env bash
# Compares tests/data/compare/old.qor with new.qor with qorscan and checks the Changes page in
# headless Chromium against the CSV file written beside it. Shares the pinned playwright-core
# of run_report_test.sh (same work folder, installed once).
# usage: run_changes_test.sh <qorscan> <compare data folder> <work folder>
set -euo pipefail
qorscan=$1
data=$2
work=$3
. "$(dirname "$0")/prepare_browser.sh"
prepare_browser "$work" changes_page.mjs

run="$work/changes-run"
rm -rf "$run"
mkdir -p "$run/results"
: >"$run/settings.ini"
"$qorscan" --settings "$run/settings.ini" --compare --result-folder "$run/results" \
    --now 2026-12-04T10:11:12 --quiet "$data/old.qor" "$data/new.qor" >/dev/null
changes="$run/results/Node14_04Dec2026/Changes"
node "$work/changes_page.mjs" "$changes/Changes_Node14_04Dec2026.html" \
    "$changes/Changes_Node14_04Dec2026.csv" "$run/changes.png" "$run/changes.pdf"
