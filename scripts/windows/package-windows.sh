#!/usr/bin/env bash
# Packs the cross-built QOR Reader as build/windows/QORReader-<version>-win64.zip and the NSIS
# installer QORReader-<version>-setup.exe. Called by scripts/build-windows.sh.
#   package-windows.sh CROSS_BUILD QT_PREFIX OUT VERSION
set -euo pipefail

cross=$1 qt=$2 out=$(cd "$3" && pwd) version=$4
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
name=QORReader-$version-win64
stage=$out/$name
gcc_dlls=/usr/lib/gcc/x86_64-w64-mingw32/12-posix
mingw_dlls=/usr/x86_64-w64-mingw32/lib

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

rm -f "$out/$name.zip"
(cd "$out" && zip -qr9 "$name.zip" "$name")

makensis -V2 -DVERSION="$version" -DSTAGE="$stage" -DOUTFILE="$out/QORReader-$version-setup.exe" \
    "$here/installer.nsi"
echo "$out/$name.zip"
echo "$out/QORReader-$version-setup.exe"
