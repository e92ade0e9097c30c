#!/usr/bin/env bash
# Packs the cross-built QOR Reader as build/windows/QORReader-<version>-win64.zip and the NSIS
# installer QORReader-<version>-setup.exe. Called by scripts/build-windows.sh.
#   package-windows.sh CROSS_BUILD QT_PREFIX OUT VERSION
# The same inputs give the same bytes: every packed file carries one time, SOURCE_DATE_EPOCH (by
# default the last commit's), in its PE header (strip writes it there instead of the current
# time), in the zip and in the installer; both list the files in one sorted order.
set -euo pipefail

cross=$1 qt=$2 out=$(cd "$3" && pwd) version=$4
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
name=QORReader-$version-win64
stage=$out/$name
gcc_dlls=/usr/lib/gcc/x86_64-w64-mingw32/12-posix
mingw_dlls=/usr/x86_64-w64-mingw32/lib
export SOURCE_DATE_EPOCH=${SOURCE_DATE_EPOCH:-$(git -C "$root" log -1 --format=%ct 2>/dev/null || echo 315532800)}

rm -rf "$stage"
mkdir -p "$stage/platforms" "$stage/styles" "$stage/doc" "$stage/translations"
cp "$cross/src/gui/qorreader.exe" "$cross/src/cli/qorscan.exe" "$stage/"
for module in Core Gui Widgets Network Concurrent; do
    cp "$qt/bin/Qt6$module.dll" "$stage/"
done
cp "$qt/plugins/platforms/qwindows.dll" "$stage/platforms/"
cp "$qt/plugins/styles/qwindowsvistastyle.dll" "$stage/styles/"
cp "$gcc_dlls/libstdc++-6.dll" "$gcc_dlls/libgcc_s_seh-1.dll" "$mingw_dlls/libwinpthread-1.dll" \
    "$stage/"
cp "$root/docs/index.html" "$stage/doc/"
cp -r "$root/docs/images" "$stage/doc/"
# Qt's own German texts (standard buttons, file dialogs), where Debian's package brings them.
if [ -f /usr/share/qt6/translations/qtbase_de.qm ]; then
    cp /usr/share/qt6/translations/qtbase_de.qm "$stage/translations/"
fi
# Qt looks for its plugins and translations beside the programs.
printf '[Paths]\r\nPrefix = .\r\nPlugins = .\r\nTranslations = translations\r\n' > "$stage/qt.conf"
x86_64-w64-mingw32-strip "$stage"/*.exe "$stage"/*.dll "$stage"/*/*.dll
find "$stage" -exec touch -h -d "@$SOURCE_DATE_EPOCH" {} +

# Zip keeps local times: in UTC, without its extra fields (Unix times, owners).
rm -f "$out/$name.zip"
(cd "$out" && find "$name" | LC_ALL=C sort | TZ=UTC zip -qX9 "$name.zip" -@)

# The installer's File commands in sorted order, each after the folder it goes to.
files=$out/installer-files.nsh
(cd "$stage" && find . -type f | LC_ALL=C sort | while read -r file; do
    file=${file#./}
    folder='$INSTDIR'
    [ "$(dirname "$file")" = . ] || folder+="\\$(dirname "$file" | tr / '\\')"
    echo "SetOutPath \"$folder\""
    echo "File \"$stage/$file\""
done) > "$files"
makensis -V2 -INPUTCHARSET UTF8 -DVERSION="$version" -DFILES="$files" -DICON="$cross/src/gui/qorreader.ico" \
    -DOUTFILE="$out/QORReader-$version-setup.exe" "$here/installer.nsi"
echo "$out/$name.zip"
echo "$out/QORReader-$version-setup.exe"
