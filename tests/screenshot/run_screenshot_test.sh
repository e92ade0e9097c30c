#!/usr/bin/env bash
# A first run as a new user meets it: a fresh home folder without a Documents folder, a virtual
# X display with a window manager, qorreader started with the sample. Driven from the keyboard,
# it cancels two file dialogs (each must give the keyboard back), opens the Elements window
# (Ctrl+E), looks at the options dialog (F3, then Alt+O), scans with the fresh account's defaults
# (F2, Enter on "Scan Now") and must show the statistics with the HTML results written under
# ~/Documents and no message box on the way. The screen is kept as a picture at each step in
# OUT_DIR for a person to look at.
# Usage: run_screenshot_test.sh QORREADER GRAB_SCREEN SAMPLE.qor OUT_DIR [SCALE]
set -euo pipefail
qorreader=$1 grab=$2 sample=$3 out=$4 scale=${5:-1}
for tool in Xvfb openbox xdotool; do
    command -v "$tool" >/dev/null || { echo "no $tool: skipped"; exit 77; }
done
mkdir -p "$out"
home=$(mktemp -d)
cleanup() {
    for pid in ${app:-} ${wm:-} ${xvfb:-}; do kill "$pid" 2>/dev/null || true; done
    rm -rf "$home"
}
trap cleanup EXIT

# The keys below find the windows by their English titles.
export LC_ALL=C.UTF-8
export HOME=$home XDG_CONFIG_HOME=$home/config XDG_DATA_HOME=$home/data XDG_RUNTIME_DIR=$home/run
mkdir -p "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"
display=:$((90 + RANDOM % 100))
Xvfb "$display" -screen 0 1280x800x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
export DISPLAY=$display QT_QPA_PLATFORM=xcb QT_SCALE_FACTOR=$scale
for _ in $(seq 50); do xdotool getmouselocation >/dev/null 2>&1 && break; sleep 0.2; done
openbox >/dev/null 2>&1 &
wm=$!
sleep 1

shot() { "$grab" "$out/$1.png" 1 >/dev/null || true; }
active() { xdotool getactivewindow getwindowname 2>/dev/null || true; }
# Waits until the window with the keyboard is the one named; fails with a picture otherwise.
await() {
    for _ in $(seq 100); do
        case "$(active)" in $1) return 0 ;; esac
        sleep 0.2
    done
    shot "failed"
    echo "expected the window '$1', the keyboard is at '$(active)'"
    exit 1
}
press() { xdotool key "$@"; sleep 0.3; }

"$qorreader" "$sample" 2>"$out/stderr.txt" &
app=$!
await ".QOR Reader - *sample.qor*"
shot "1-opened"
# A dialog closed with Escape gives the keyboard back to the main window: Ctrl+E works unclicked,
# and F2 later scans the open export while its Elements window is in front.
for dialog in "ctrl+o:Open Data Base File..." "F6:Open File(s) for Preview..."; do
    press "${dialog%%:*}"
    await "${dialog#*:}"
    press Escape
    await ".QOR Reader - *sample.qor*"
done
press ctrl+e
await ".QOR Reader - *Elements: sample.qor*"
press F3
await "Search Options"
shot "2-options"
press alt+o
await ".QOR Reader - *"
press F2
await "Search Status"
shot "3-search-status"
press Return
await "Search Results Statistics"
shot "4-statistics"

results=$(find "$home/Documents" -path '*Html Files*' -name 'AI_Node12_*.html' | wc -l)
# A message box carries the application title alone; the main window has the file after it.
boxes=$(xdotool search --onlyvisible --name '^\.QOR Reader$' 2>/dev/null | wc -l || true)
echo "results: $results AI page(s); message boxes: $boxes; pictures in $out"
[ "$results" -eq 1 ] && [ "$boxes" -eq 0 ] && ! grep -q "in QORReader\." "$out/stderr.txt"
