#!/usr/bin/env bash
# Every text a person reads is translated: lupdate run over the sources into a copy of each .ts
# file must find no text without a translation (unfinished) and none that the sources no longer
# have (vanished, obsolete). Prints lupdate's figures.
# Usage: check_translations.sh LUPDATE SOURCE_DIR TS_FILE...
set -euo pipefail
lupdate=$1
sources=$2
shift 2

scratch=$(mktemp -d "${TMPDIR:-/tmp}/qor-translations.XXXXXX")
trap 'rm -rf "$scratch"' EXIT

failed=0
for ts in "$@"; do
    copy="$scratch/$(basename "$ts")"
    cp "$ts" "$copy"
    "$lupdate" -locations none -I "$sources" "$sources" -ts "$copy" | grep -i "found"
    unfinished=$(grep -c 'type="unfinished"' "$copy" || true)
    gone=$(grep -Ec 'type="(vanished|obsolete)"' "$copy" || true)
    finished=$(grep -c '<translation>' "$copy" || true)
    echo "$(basename "$ts"): $finished translated, $unfinished unfinished, $gone vanished"
    if [ "$unfinished" -ne 0 ] || [ "$gone" -ne 0 ]; then
        diff -u "$ts" "$copy" | grep '^[-+] ' | head -40 || true
        failed=1
    fi
done
if [ "$failed" -ne 0 ]; then
    echo "Bring the translations up to date: cmake --build <build> --target update_translations," \
         "then translate what lupdate marked unfinished." >&2
fi
exit $failed
