#!/usr/bin/env bash
# Starts qorreader with the sample export on a virtual X display, grabs the screen and checks
# that the window is there and not blank. The picture stays in OUT_DIR to be looked at.
# Usage: run_screenshot_test.sh QORREADER GRAB_SCREEN SAMPLE.qor OUT_DIR
set -euo pipefail
qorreader=$1 grab=$2 sample=$3 out=$4
mkdir -p "$out"
home=$(mktemp -d)
cleanup() {
    [ -n "${app:-}" ] && kill "$app" 2>/dev/null || true
    [ -n "${xvfb:-}" ] && kill "$xvfb" 2>/dev/null || true
    rm -rf "$home"
}
trap cleanup EXIT

export HOME=$home XDG_CONFIG_HOME=$home/config XDG_DATA_HOME=$home/data XDG_RUNTIME_DIR=$home/run
mkdir -p "$XDG_CONFIG_HOME" "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"
# A window placed well on a 1280x800 screen (twips at 96 dpi), no first-run registration.
cat >"$XDG_CONFIG_HOME/.QOR Reader.conf" <<'CONF'
[Settings]
MainLeft=900
MainTop=900
MainWidth=17400
MainHeight=10500
FirstInstance=1
CONF

display=:$((90 + RANDOM % 100))
Xvfb "$display" -screen 0 1280x800x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
export DISPLAY=$display QT_QPA_PLATFORM=xcb
for _ in $(seq 50); do
    "$grab" "$out/blank.png" 1 >/dev/null 2>&1 && break
    sleep 0.2
done

"$qorreader" "$sample" &
app=$!
# The splash holds for about 2.4 s; then the main window shows the file.
sleep 4
for _ in $(seq 60); do
    sleep 0.5
    kill -0 "$app" 2>/dev/null || { echo "qorreader ended early"; exit 1; }
    if colours=$("$grab" "$out/qorreader.png" 200); then
        sleep 1
        colours=$("$grab" "$out/qorreader.png" 200) || true
        echo "screen grabbed: $colours colours, $out/qorreader.png"
        exit 0
    fi
done
echo "the window did not appear (colours: ${colours:-none})"
exit 1
