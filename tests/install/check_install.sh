#!/usr/bin/env bash
# Installs the build into a temporary DESTDIR (prefix /usr) and checks the installed tree as a
# user meets it: every file there, the desktop entry and AppStream metadata valid, the manual
# pages clean, the programs running from bin/ with the project's version and finding the
# installed user guide, and the bash completion offering what qorscan takes.
# usage: check_install.sh BUILD_DIR VERSION APPLICATION_ID SAMPLE.qor
set -euo pipefail
build=$1 version=$2 id=$3 sample=$4
stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
failures=0
fail() {
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
}

DESTDIR=$stage cmake --install "$build" --prefix /usr >/dev/null
root=$stage/usr
share=$root/share
guide=$share/doc/qorreader/index.html

files=(bin/qorreader bin/qorscan "share/applications/$id.desktop"
    "share/mime/packages/$id.xml" "share/metainfo/$id.metainfo.xml"
    "share/icons/hicolor/scalable/apps/$id.svg" share/man/man1/qorreader.1
    share/man/man1/qorscan.1 share/doc/qorreader/index.html
    share/bash-completion/completions/qorscan)
for size in 16 22 24 32 48 64 128 256; do
    files+=("share/icons/hicolor/${size}x$size/apps/$id.png")
done
for file in "${files[@]}"; do
    [ -s "$root/$file" ] || fail "not installed: $file"
done
[ -x "$root/bin/qorreader" ] && [ -x "$root/bin/qorscan" ] || fail "programs not executable"
# Every picture the user guide shows is installed beside it.
for image in $(grep -o '<img src="[^"]*"' "$guide" | sed 's/^<img src="//; s/"$//'); do
    [ -s "$(dirname "$guide")/$image" ] || fail "the user guide shows $image, which is not installed"
done

# The entry, the MIME package and the metadata name the same type, icon and version.
entry=$share/applications/$id.desktop
grep -qx "Exec=qorreader %f" "$entry" || fail "desktop entry does not start qorreader by name"
grep -qx "Icon=$id" "$entry" || fail "desktop entry icon"
grep -qx "MimeType=application/x-qorreader;" "$entry" || fail "desktop entry MIME type"
grep -q '<glob pattern="\*.qor"/>' "$share/mime/packages/$id.xml" || fail "MIME glob"
grep -q "<release version=\"$version\"" "$share/metainfo/$id.metainfo.xml" || fail "release entry"

if command -v desktop-file-validate >/dev/null; then
    out=$(desktop-file-validate "$entry" 2>&1) && [ -z "$out" ] || fail "desktop-file-validate: $out"
else
    echo "desktop-file-validate not installed: not run"
fi
if command -v appstreamcli >/dev/null; then
    appstreamcli validate --no-net "$share/metainfo/$id.metainfo.xml" >/dev/null ||
        fail "appstreamcli validate --no-net $id.metainfo.xml"
else
    echo "appstreamcli not installed: not run"
fi
if command -v man >/dev/null; then
    for page in "$share"/man/man1/*.1; do
        out=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -E UTF-8 -l -Tutf8 -Z "$page" 2>&1 >/dev/null)
        [ -z "$out" ] || fail "man warnings in $page: $out"
    done
fi

# The installed programs, without a display.
unset DISPLAY WAYLAND_DISPLAY
for program in qorscan qorreader; do
    [ "$("$root/bin/$program" --version)" = "$program (QOR Reader) $version" ] ||
        fail "$program --version"
    help=$("$root/bin/$program" --help)
    grep -qxF "User guide: $guide" <<<"$help" || fail "$program --help does not name $guide"
done
grep -qF "[FILE.qor]" <<<"$help" || fail "qorreader --help: no file argument"
help=$("$root/bin/qorscan" --help)
: >"$stage/settings.ini"
"$root/bin/qorscan" --settings "$stage/settings.ini" --all --output csv --quiet \
    --result-folder "$stage" --now 2026-12-01T10:00:00 "$sample" >/dev/null ||
    fail "installed qorscan could not scan $sample"
ls "$stage"/Node*/"Csv Files"/AI_*.csv >/dev/null 2>&1 || fail "installed qorscan wrote no CSV file"

# Every option of qorscan --help is in its manual page and offered by the completion.
source "$share/bash-completion/completions/qorscan"
complete_words() {
    COMP_WORDS=(qorscan "$@")
    COMP_CWORD=$#
    _qorscan
    echo "${COMPREPLY[*]}"
}
options=$(grep -o -- '--[a-z-]*' <<<"$help" | sort -u)
offered=" $(complete_words --) "
for option in $options; do
    grep -qF -- "${option//-/\\-}" "$share/man/man1/qorscan.1" || fail "qorscan.1 lacks $option"
    [[ $offered == *" $option "* ]] || fail "completion does not offer $option"
done
while IFS='|' read -r words expected; do
    got=$(eval "complete_words $words")
    [ "$got" = "$expected" ] || fail "completion of '$words': '$got', expected '$expected'"
done <<'CASES'
--out|--output
--output ""|csv html xlsx
--overwrite y|yes
--enable pid|PIDCON
--enable DATI|DATI DATIL
--all --enable AO|AO AOC
CASES

echo "install: ${#files[@]} files checked, $failures failures"
[ "$failures" -eq 0 ]
