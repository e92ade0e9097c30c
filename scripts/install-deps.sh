#!/usr/bin/env bash
# Installs the Debian packages that are missing; pass extra package names as arguments.
set -euo pipefail

# qt6-qpa-plugins lets the desktop application reach an X display; libqt6svg6 brings the
# plugins that load its SVG icons. libminizip-dev reads the written workbooks back; zlib1g-dev
# compresses their sheets. The Qt tools and l10n packages build the translations and bring Qt's
# own German texts. help2man writes the manual pages from --help.
packages=(g++ cmake ninja-build pkg-config qt6-base-dev qt6-qpa-plugins libqt6svg6 libxlsxwriter-dev
    libminizip-dev zlib1g-dev qt6-tools-dev qt6-l10n-tools qt6-translations-l10n help2man "$@")
# ISA-L compresses the workbooks' sheets several times faster than zlib; it is made for these
# processors only (elsewhere the build uses zlib).
case $(dpkg --print-architecture) in
    amd64 | arm64) packages+=(libisal-dev) ;;
esac

missing=()
for package in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$package")
    fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
if [ "$(id -u)" -eq 0 ]; then
    sudo=()
else
    sudo=(sudo)
fi
export DEBIAN_FRONTEND=noninteractive
"${sudo[@]}" apt-get update -qq
"${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
