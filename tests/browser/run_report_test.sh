#!/usr/bin/env bash
# Writes the HTML report of examples/sample.qor with qorscan and checks it in headless
# Chromium. Installs the pinned playwright-core into the work folder once. A missing
# Chromium or Node.js fails the test: ./test.sh installs both.
# usage: run_report_test.sh <qorscan> <sample.qor> <work folder>
set -euo pipefail
qorscan=$1
sample=$2
work=$3
here=$(cd "$(dirname "$0")" && pwd)

for tool in node npm /usr/bin/chromium; do
    if ! command -v "$tool" >/dev/null; then
        echo "browser test: $tool is missing (./test.sh installs it)" >&2
        exit 1
    fi
done

mkdir -p "$work"
cp "$here/package.json" "$here/package-lock.json" "$here/.npmrc" "$here/report_frames.mjs" "$work/"
# Installed once; again only when the pinned versions change.
if ! cmp -s "$work/package-lock.json" "$work/node_modules/.installed-lock.json"; then
    (cd "$work" && npm ci --no-audit --no-fund --loglevel=error)
    cp "$work/package-lock.json" "$work/node_modules/.installed-lock.json"
fi

run="$work/run"
rm -rf "$run"
mkdir -p "$run/results"
: >"$run/settings.ini"
"$qorscan" --settings "$run/settings.ini" --all --output html --result-folder "$run/results" \
    --now 2026-12-04T10:11:12 --quiet "$sample" >/dev/null
node "$work/report_frames.mjs" "$run/results/Node12_04Dec2026/Html Files" "$run/report.png"
