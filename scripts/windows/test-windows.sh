#!/usr/bin/env bash
# The Windows build's checks under wine, called by scripts/build-windows.sh --test:
#   1. the core test suite (qor_tests.exe, qorscan.exe's end-to-end cases among them) and the
#      window suites (the Qt Test programs the build lists in tests/wine_qtests.txt);
#   2. qorscan.exe's outputs against the Linux qorscan's, byte for byte (workbooks part by
#      part), for examples/sample.qor and a generated 10 MB export with CR LF and with LF line
#      ends;
#   3. the installer run silently, its files, association and icon in place; the uninstaller
#      run silently, which keeps the user's settings and leaves nothing behind;
#   4. the document view's font under the Windows font matching; qorreader.exe with the sample
#      opened, file dialogs left with Escape and a scan run with the keyboard; the uninstaller
#      asked to remove the settings; screenshots kept under build/windows/screenshots.
#   Everything runs on a private X display with a window manager.
#   test-windows.sh CROSS_BUILD LINUX_BUILD QT_PREFIX OUT VERSION
# QOR_WINE_SUITES=PATTERN runs only the window suites whose names match the pattern (grep -E).
set -euo pipefail

cross=$1 linux=$2 qt=$3 out=$4 version=$5
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
stage=$out/QORReader-$version-win64
wine=/usr/lib/wine/wine64
# Debian puts wine's programs outside the PATH.
wineserver=/usr/lib/wine/wineserver
scratch=$(mktemp -d /tmp/qorreader-wine-test.XXXXXX)
export WINEPREFIX=$scratch/prefix WINEDEBUG=-all WINEARCH=win64
# Wine links the Windows user's Documents to the home folder: the desktop scan's results (its
# default folder is Documents) belong in the scratch folder, never in the real home.
export HOME=$scratch/home
mkdir -p "$HOME"
# No prompts for wine's Mono and Gecko: nothing here needs them.
export WINEDLLOVERRIDES="mscoree=;mshtml="
failures=0
pids=()
cleanup() {
    for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
    timeout 30 "$wineserver" -k 2>/dev/null || true
    rm -rf "$scratch"
}
trap cleanup EXIT
say() { echo "[test-windows] $*"; }
fail() { say "FAILED: $*"; failures=$((failures + 1)); }

# Wine has been seen to hang once in a while, not the program: every run gets a time limit
# and, when it hangs, one more try.
wine_run() {
    local limit=$1 status=0
    shift
    for attempt in 1 2; do
        status=0
        timeout --kill-after=10 "$limit" "$wine" "$@" || status=$?
        [ $status -ne 124 ] && [ $status -ne 137 ] && return $status
        say "wine did not finish in ${limit}s (try $attempt): $(basename "$1")"
        timeout 30 "$wineserver" -k 2>/dev/null || true
    done
    return $status
}
windows_path() { echo "Z:${1//\//\\}"; }

# Wine makes no window, not even the hidden one a Qt program's event loop needs, without an X
# display: every check runs on a private one, with a window manager for the desktop's windows.
display=:$((150 + RANDOM % 50))
Xvfb "$display" -screen 0 1280x800x24 -nolisten tcp > /dev/null 2>&1 &
pids+=($!)
export DISPLAY=$display
for _ in $(seq 50); do xdotool getmouselocation > /dev/null 2>&1 && break; sleep 0.2; done
openbox > /dev/null 2>&1 &
pids+=($!)

say "preparing a wine prefix"
timeout 300 "$wine" wineboot --init > /dev/null 2>&1 || timeout 300 "$wine" wineboot --init > /dev/null 2>&1
# The DLLs the test programs need: the packed ones, else Qt's and MinGW's own folders.
if [ -d "$stage" ]; then
    export WINEPATH=$(windows_path "$stage")
else
    export WINEPATH="$(windows_path "$qt/bin");$(windows_path /usr/lib/gcc/x86_64-w64-mingw32/12-posix);$(windows_path /usr/x86_64-w64-mingw32/lib)"
fi

# --- 1. the core test suite -------------------------------------------------------------------
if [ -z "${QOR_WINE_SUITES:-}" ]; then
    say "qor_tests.exe"
    status=0
    (cd "$scratch" && wine_run 1800 "$cross/tests/qor_tests.exe" --gtest_brief=1) \
        > "$out/qor_tests.log" 2>&1 || status=$?
    tr -d '\r' < "$out/qor_tests.log" | grep -E '^\[  (PASSED|SKIPPED|FAILED) +\]|tests? ran' || true
    [ $status -eq 0 ] || fail "qor_tests.exe (exit $status; see $out/qor_tests.log)"
fi

# The window suites, on the offscreen platform, with Qt's own folders (Qt Test is not packed).
# That platform reads its fonts from one folder on Windows: DejaVu's, proportional faces and a
# monospaced one, so that a view that takes whatever font it is given shows it.
qt_dlls="$(windows_path "$qt/bin");$(windows_path /usr/lib/gcc/x86_64-w64-mingw32/12-posix);$(windows_path /usr/x86_64-w64-mingw32/lib)"
qt_totals=(0 0 0)
qt_runs=0
# qt_suite NAME PROGRAM ARGUMENTS ENVIRONMENT: runs a Qt Test program and adds up its cases.
# Under wine a Qt Test program's report reaches no redirected output: it writes it to a file.
# Wine hands no QT_ variable of this shell to a Windows program (a Linux desktop's Qt settings
# would derail it): Windows' own shell sets them.
qt_suite() {
    local name=$1 program=$2 arguments=$3 log=$out/qtests/$1.log status=0 variables totals
    local command="set QT_PLUGIN_PATH=$(windows_path "$qt/plugins")&& "
    command+="set QT_QPA_FONTDIR=$(windows_path /usr/share/fonts/truetype/dejavu)&& "
    IFS=';' read -r -a variables <<< "$4"
    for variable in "${variables[@]}"; do command+="set $variable&& "; done
    command+="$(windows_path "$cross/tests/$program.exe") -o $(windows_path "$log"),txt $arguments"
    (cd "$scratch" && export WINEPATH="$qt_dlls" && wine_run 600 cmd /c "$command") \
        > "${log%.log}.wine.log" 2>&1 < /dev/null || status=$?
    qt_runs=$((qt_runs + 1))
    totals=$(tr -d '\r' < "$log" | sed -n 's/^Totals: \([0-9]*\) passed, \([0-9]*\) failed, \([0-9]*\) skipped.*/\1 \2 \3/p' | tail -1)
    if [ -z "$totals" ]; then
        fail "$name ended without its totals (exit $status; see $log)"
        return
    fi
    read -r -a totals <<< "$totals"
    for i in 0 1 2; do qt_totals[i]=$((qt_totals[i] + totals[i])); done
    tr -d '\r' < "$log" | grep -E '^(FAIL!|SKIP) ' | sed "s/^/[test-windows]   /" || true
    [ "$status" -eq 0 ] && [ "${totals[1]}" -eq 0 ] ||
        fail "$name: ${totals[1]} failed (exit $status; see $log)"
}
rm -rf "$out/qtests" && mkdir -p "$out/qtests"
say "window suites (tests/wine_qtests.txt)"
while IFS='|' read -r -u 3 name program arguments environment reason; do
    if [ -n "${QOR_WINE_SUITES:-}" ] && ! grep -qE "$QOR_WINE_SUITES" <<< "$name"; then
        continue
    elif [ -n "$reason" ]; then
        say "skipped $name: it needs $reason"
        continue
    fi
    qt_suite "$name" "$program" "$arguments" "$environment"
    # Once more on the Windows platform plugin, the one a user runs, where a suite needs no
    # screen of its own. Wine 8 cannot move the keyboard from one window to another under an X
    # window manager (it has no _NET_ACTIVE_WINDOW), which the focus suite does on purpose.
    if [ "$environment" = QT_QPA_PLATFORM=offscreen ]; then
        if [ "$program" = dialog_focus_qtest ]; then
            say "skipped $name on the Windows platform: wine cannot move the keyboard between windows"
        else
            qt_suite "$name.windows_platform" "$program" "$arguments" QT_QPA_PLATFORM=windows
        fi
    fi
done 3< "$cross/tests/wine_qtests.txt"
if [ -n "${QOR_WINE_SUITES:-}" ]; then
    say "window suites: $qt_runs runs, ${qt_totals[0]} passed, ${qt_totals[1]} failed, ${qt_totals[2]} skipped (cases)"
    exit $((failures > 0))
fi

# --- 2. the same outputs as on Linux ----------------------------------------------------------
inputs=$scratch/inputs
mkdir -p "$inputs"
cp "$root/examples/sample.qor" "$inputs/sample.qor"
"$linux/bench/qorgen" --seed 23 --size 10M "$inputs/generated-crlf.qor" > /dev/null
"$linux/bench/qorgen" --seed 23 --size 10M --lf "$inputs/generated-lf.qor" > /dev/null
# One run per program, output and input: its own empty settings and result folder.
scan() {
    local program=$1 output=$2 input=$3 folder=$4
    mkdir -p "$folder"
    : > "$folder.ini"
    local args=(--settings "$folder.ini" --now 2026-12-04T10:11:12 --all --output "$output"
        --overwrite yes --result-folder "$folder" "$input")
    if [ "$program" = linux ]; then
        "$linux/src/cli/qorscan" "${args[@]}" > "$folder.log" 2>&1
    else
        wine_run 600 "$cross/src/cli/qorscan.exe" "${args[@]}" > "$folder.log" 2>&1
    fi
}
# The same files with the same bytes, but workbooks part by part, unpacked: the Linux build
# packs their sheets with ISA-L, this one with zlib, so only the packed bytes differ.
same_outputs() {
    python3 - "$1" "$2" <<'PY'
import filecmp, os, sys, zipfile
linux, windows = sys.argv[1:]
def files(root):
    return sorted(os.path.relpath(os.path.join(d, f), root) for d, _, names in os.walk(root)
                  for f in names)
if files(linux) != files(windows):
    sys.exit(f"different files: {files(linux)} against {files(windows)}")
for name in files(linux):
    a, b = os.path.join(linux, name), os.path.join(windows, name)
    if name.endswith(".xlsx"):
        with zipfile.ZipFile(a) as one, zipfile.ZipFile(b) as other:
            parts = one.namelist()
            if parts != other.namelist() or any(one.read(p) != other.read(p) for p in parts):
                sys.exit(f"the parts of {name} differ")
    elif not filecmp.cmp(a, b, shallow=False):
        sys.exit(f"{name} differs")
PY
}
for input in sample generated-crlf generated-lf; do
    for output in csv html xlsx; do
        case=$scratch/outputs/$input-$output
        scan linux "$output" "$inputs/$input.qor" "$case/linux" || fail "Linux qorscan, $input, $output"
        scan windows "$output" "$inputs/$input.qor" "$case/windows" ||
            fail "qorscan.exe, $input, $output (exit $?; $(tr -d '\r' < "$case/windows.log" | tail -1))"
        files=$(find "$case/linux" -type f | wc -l)
        bytes=$(find "$case/linux" -type f -printf '%s\n' | awk '{ s += $1 } END { print s + 0 }')
        if [ "$files" -gt 0 ] && same_outputs "$case/linux" "$case/windows" > "$case.diff" 2>&1; then
            say "identical: $input.qor ($(stat -c %s "$inputs/$input.qor") bytes) as $output: $files files, $bytes bytes"
        else
            fail "outputs differ or are missing: $input, $output ($files files; see below)"
            head -20 "$case.diff" 2>/dev/null || true
        fi
    done
done

# --- 3. the installer ---------------------------------------------------------------------------
installer=$out/QORReader-$version-setup.exe
if [ -f "$installer" ]; then
    say "installer, silently"
    wine_run 300 "$installer" /S || fail "the installer (exit $?)"
    installed="$WINEPREFIX/drive_c/Program Files/QOR Reader"
    for file in qorreader.exe qorscan.exe Qt6Widgets.dll platforms/qwindows.dll \
        styles/qwindowsvistastyle.dll doc/index.html uninstall.exe; do
        [ -f "$installed/$file" ] || fail "not installed: $file"
    done
    association=$(wine_run 60 reg query 'HKLM\Software\Classes\.qor' /ve 2>/dev/null | tr -d '\r')
    grep -q QORReader.qor <<< "$association" || fail "the installer registered no .qor association"
    say "installed $(find "$installed" -type f | wc -l) files; .qor -> $(grep -o 'QORReader\.qor' <<< "$association" | head -1)"
    [ -f "$WINEPREFIX/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/QOR Reader/QOR Reader.lnk" ] ||
        fail "no Start-menu entry"
    status=0
    wine_run 60 "$installed/qorscan.exe" --version > "$scratch/version.txt" 2>&1 || status=$?
    [ $status -eq 0 ] && say "installed qorscan.exe: $(tr -d '\r' < "$scratch/version.txt" | head -1)" ||
        fail "the installed qorscan.exe does not start (exit $status)"
    # The installer and the uninstaller show the program's icon: its pictures, as the icon file
    # holds them, are in their resources.
    python3 - "$cross/src/gui/qorreader.ico" "$installer" "$installed/uninstall.exe" <<'PY' ||
import struct, sys
icon = open(sys.argv[1], "rb").read()
entries = [struct.unpack_from("<II", icon, 6 + 16 * i + 8) for i in range(icon[4])]
for program in sys.argv[2:]:
    data = open(program, "rb").read()
    if not all(icon[offset:offset + size] in data for size, offset in entries):
        sys.exit(f"{program} lacks the program's icon")
PY
        fail "the installer or uninstaller shows another icon"

    # A silent uninstall removes the program and keeps the user's settings.
    say "uninstaller, silently"
    settings='HKCU\Software\VB and VBA Program Settings\.QOR Reader\Settings'
    wine_run 60 reg add "$settings" /v ScanResultFolderPath /d 'C:\Results' /f > /dev/null 2>&1
    wine_run 300 'C:\Program Files\QOR Reader\uninstall.exe' /S || fail "the uninstaller (exit $?)"
    # It runs on from a copy in %TEMP%: its end is the end of wine's processes.
    timeout 120 "$wineserver" -w || true
    [ ! -e "$installed" ] || fail "the uninstaller left $installed"
    wine_run 60 reg query 'HKLM\Software\Classes\.qor' > /dev/null 2>&1 &&
        fail "the uninstaller left the .qor association"
    wine_run 60 reg query "$settings" /v ScanResultFolderPath > /dev/null 2>&1 ||
        fail "the silent uninstall removed the settings"
    # Windows removes that copy at the next start, as wine does when its server starts again
    # (the reg query above): nothing of it stays.
    leftover=$(find "$WINEPREFIX/drive_c/users" -maxdepth 4 -name '~nsu*' | head -1)
    [ -z "$leftover" ] || fail "the uninstaller left ${leftover#"$WINEPREFIX"/}"
    say "uninstalled: no program files, no association, the settings kept, nothing left in %TEMP%"
    # The desktop check below starts as a new user, whose results go to Documents.
    wine_run 60 reg delete 'HKCU\Software\VB and VBA Program Settings\.QOR Reader' /f > /dev/null 2>&1 ||
        fail "the kept settings cannot be removed"
fi

# --- 4. the desktop application -----------------------------------------------------------------
if [ -f "$stage/qorreader.exe" ]; then
    say "qorreader.exe on a private X display"
    shots=$out/screenshots
    rm -rf "$shots" && mkdir -p "$shots"
    # The document view's font through the Windows font matching of a new prefix, which has no
    # Courier New.
    qt_suite qt.export_text_view_qtest.windows_fonts export_text_view_qtest fontIsMonospaced \
        "QT_QPA_PLATFORM=windows"
    shot() { /usr/bin/import -window root "$shots/$1.png" 2> /dev/null || true; }
    active() { xdotool getactivewindow getwindowname 2> /dev/null || true; }
    await() {
        for _ in $(seq 300); do
            case "$(active)" in $1) return 0 ;; esac
            sleep 0.2
        done
        shot "failed-waiting"
        fail "expected the window '$1', the keyboard is at '$(active)'"
        return 1
    }
    press() { xdotool key "$@"; sleep 0.5; }
    timeout 600 "$wine" "$stage/qorreader.exe" "$(windows_path "$inputs/sample.qor")" \
        > "$shots/output.txt" 2>&1 &
    pids+=($!)
    if await ".QOR Reader - *sample.qor*"; then
        sleep 2
        shot 1-opened
        # A file dialog left with Escape gives the keyboard back to the window: Ctrl+E answers.
        for dialog in "ctrl+o:Open Data Base File*" "F6:Open File(s) for Preview*"; do
            press "${dialog%%:*}"
            await "${dialog#*:}" && press Escape
            await ".QOR Reader - *sample.qor*" || continue
            press ctrl+e
            await ".QOR Reader - *Elements: sample.qor*" && press ctrl+F4
        done
        await ".QOR Reader - *sample.qor*"
        press F3
        if await "Search Options"; then
            # A fresh account scans every type already: the options are only looked at.
            shot 2-options
            press alt+o
            await ".QOR Reader - *" && press F2
            if await "Search Status"; then
                shot 3-search-status
                press Return
                await "Search Results Statistics" && sleep 1 && shot 4-statistics
            fi
        fi
    fi
    pages=$(find "$WINEPREFIX/drive_c/users" "$HOME" -path '*Html Files*' -name 'AI_Node12_*.html' \
        -newer "$inputs/sample.qor" 2> /dev/null | wc -l)
    say "desktop scan wrote $pages AI page(s); screenshots in $shots"
    [ "$pages" -ge 1 ] || fail "the desktop scan under wine wrote no AI page"
    press ctrl+q

    # The uninstaller, asked: Uninstall, Yes to removing the settings, Close.
    if [ -f "$installer" ]; then
        say "uninstaller, asked to remove the settings"
        wine_run 300 "$installer" /S || fail "the installer (exit $?)"
        wine_run 60 reg add "$settings" /v ScanResultFolderPath /d 'C:\Results' /f > /dev/null 2>&1
        timeout 300 "$wine" 'C:\Program Files\QOR Reader\uninstall.exe' > /dev/null 2>&1 &
        pids+=($!)
        if await "QOR Reader * Uninstall: Confirmation"; then
            shot 5-uninstall
            press Return
            # The question is a second window of the uninstaller's name.
            for _ in $(seq 150); do
                [ "$(xdotool search --onlyvisible --name 'QOR Reader .* Uninstall' | wc -l)" -ge 2 ] &&
                    break
                sleep 0.2
            done
            shot 6-uninstall-question
            press Return
            await "QOR Reader * Uninstall: Completed" && press Return
        fi
        timeout 120 "$wineserver" -w || true
        wine_run 60 reg query "$settings" > /dev/null 2>&1 &&
            fail "the settings stayed though the uninstaller was asked to remove them"
        [ ! -e "$installed" ] || fail "the uninstaller left $installed"
    fi
fi

say "window suites: $qt_runs runs, ${qt_totals[0]} passed, ${qt_totals[1]} failed, ${qt_totals[2]} skipped (cases)"
if [ $failures -ne 0 ]; then
    say "$failures check(s) failed"
    exit 1
fi
say "all checks passed"
