#!/usr/bin/env bash
# Cross-builds QOR Reader for 64-bit Windows on Debian with MinGW-w64 and packs it as a zip and
# an installer under build/windows/.
#
#   scripts/build-windows.sh [--test] [--jobs N]
#
# Qt (Core, Gui, Widgets, Network, Concurrent, Test, the Windows platform plugin and style), zlib,
# libxlsxwriter and GoogleTest are built from Debian's source packages, fetched through a private
# apt configuration (the system's sources list stays as it is), into a cache keyed by their
# versions and our patches (~/.cache/qorreader-windows, or $QOR_WINDOWS_CACHE), so a second run
# only rebuilds QOR Reader itself. --test checks that the packages are reproducible, runs the core
# tests, the window suites and qorscan.exe under wine, checks qorscan.exe's outputs against the
# Linux build's byte for byte, and drives the installer and qorreader.exe on a private X display
# (see scripts/windows/test-windows.sh).
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
here=$root/scripts/windows
run_tests=0
jobs=$(nproc)
while [ $# -gt 0 ]; do
    case $1 in
        --test) run_tests=1 ;;
        --jobs) jobs=$2; shift ;;
        *) echo "usage: $0 [--test] [--jobs N]" >&2; exit 2 ;;
    esac
    shift
done

# Everything the cross build, its tests and the packaging need from Debian.
# (Qt's SVG module is not in the source archive here: librsvg renders the icons as PNG. The
# window suites' offscreen platform reads DejaVu's fonts.)
"$root/scripts/install-deps.sh" g++-mingw-w64-x86-64-posix wine64 nsis zip dpkg-dev googletest \
    librsvg2-bin python3 xvfb openbox xdotool imagemagick fonts-dejavu-core

cache=${QOR_WINDOWS_CACHE:-$HOME/.cache/qorreader-windows}
triplet=x86_64-w64-mingw32
toolchain=$here/mingw-w64-x86_64.cmake
work=${TMPDIR:-/tmp}/qorreader-windows-$(id -u)
mkdir -p "$cache" "$work"
started=$(date +%s)
say() { printf '[build-windows %4ss] %s\n' $(($(date +%s) - started)) "$*"; }

# --- Debian sources through a private apt configuration -------------------------------------
apt_dir=$cache/apt
apt_options=(-o Dir::Etc::sourcelist="$apt_dir/sources.list" -o Dir::Etc::sourceparts=/dev/null
    -o Dir::State::Lists="$apt_dir/lists" -o Dir::Cache="$apt_dir/cache")
# As root apt would drop to its own user, who cannot write into the cache.
[ "$(id -u)" -eq 0 ] && apt_options+=(-o APT::Sandbox::User=root)
codename=$(. /etc/os-release && echo "${VERSION_CODENAME:-bookworm}")
prepare_apt() {
    [ -f "$apt_dir/lists/.updated" ] && return
    mkdir -p "$apt_dir/lists/partial" "$apt_dir/cache/archives/partial"
    echo "deb-src [signed-by=/usr/share/keyrings/debian-archive-keyring.gpg]" \
        "http://deb.debian.org/debian $codename main" > "$apt_dir/sources.list"
    apt-get "${apt_options[@]}" update -qq
    touch "$apt_dir/lists/.updated"
}
# The version of a source package as Debian's archive holds it.
source_version() {
    prepare_apt
    apt-cache "${apt_options[@]}" showsrc "$1" | awk '/^Version:/ { print $2; exit }'
}
# Unpacks a source package's upstream tarball (no Debian patches: they target Linux) into $2.
fetch_source() {
    local package=$1 into=$2
    rm -rf "$into" && mkdir -p "$into"
    (cd "$into" && apt-get "${apt_options[@]}" source --download-only -qq "$package" &&
        tar xf ./*.orig.tar.* && rm -f ./*.orig.tar.* ./*.debian.tar.* ./*.dsc) ||
        { echo "Debian's source of $package cannot be fetched" >&2; exit 1; }
    find "$into" -mindepth 1 -maxdepth 1 -type d | head -1
}
# A short fingerprint of what shapes a cached build besides the versions: the function that
# builds it, the toolchain file and the patches (named by the arguments).
fingerprint() { { declare -f "$1"; shift; cat "$toolchain" "$@"; } | sha256sum | cut -c1-8; }

# --- Qt ---------------------------------------------------------------------------------------
# The host tools (moc, rcc, uic, lrelease) come from Debian's Qt of the same version.
qt_version=$(dpkg-query -W -f='${Version}' qt6-base-dev)
build_qt() {
    [ -f "$qt_prefix/.complete" ] && { say "Qt $qt_version from the cache"; return; }
    [ "$(source_version qt6-base)" = "$qt_version" ] ||
        { echo "Debian's qt6-base source is not the installed $qt_version" >&2; exit 1; }
    say "Qt $qt_version: fetching and configuring"
    local src build
    src=$(fetch_source qt6-base "$work/qt-src")
    for patch in "$here"/patches/qtbase-*.patch; do patch -s -p1 -d "$src" < "$patch"; done
    build=$work/qt-build
    rm -rf "$build" "$qt_prefix"
    # No Direct2D platform plugin: it is not shipped, and it would compile the Windows plugin a
    # second time (DirectWrite fonts stay on: the Windows plugin needs them).
    cmake -S "$src" -B "$build" -G Ninja -Wno-dev \
        -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_INSTALL_PREFIX="$qt_prefix" \
        -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
        -DBUILD_SHARED_LIBS=ON -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF \
        -DFEATURE_opengl=OFF -DFEATURE_sql=OFF -DFEATURE_dbus=OFF -DFEATURE_printsupport=OFF \
        -DFEATURE_xml=OFF -DFEATURE_testlib=ON -DFEATURE_vulkan=OFF -DFEATURE_icu=OFF \
        -DFEATURE_jpeg=OFF -DFEATURE_gif=OFF -DFEATURE_zstd=OFF -DFEATURE_openssl=OFF \
        -DFEATURE_sql=OFF -DFEATURE_system_zlib=OFF -DFEATURE_system_pcre2=OFF \
        -DFEATURE_system_png=OFF -DFEATURE_system_freetype=OFF -DFEATURE_system_harfbuzz=OFF \
        -DFEATURE_system_doubleconversion=OFF \
        -DFEATURE_direct2d1_1=OFF > "$work/qt-configure.log"
    # Core first: a fault in the toolchain shows within minutes, not at the end.
    say "Qt $qt_version: building Core"
    nice -n 5 cmake --build "$build" --parallel "$jobs" --target Core > "$work/qt-core.log"
    say "Qt $qt_version: building Gui, Widgets, Network, Concurrent and the plugins"
    nice -n 5 cmake --build "$build" --parallel "$jobs" > "$work/qt-build.log"
    cmake --install "$build" > /dev/null
    touch "$qt_prefix/.complete"
    rm -rf "$build" "$work/qt-src"
}

# --- zlib and minizip, libxlsxwriter, GoogleTest: static libraries in one prefix -------------
zlib_version=$(source_version zlib)
xlsxwriter_version=$(source_version libxlsxwriter)
gtest_version=$(dpkg-query -W -f='${Version}' googletest)
cross_cmake() {
    local src=$1 build=$2
    shift 2
    cmake -S "$src" -B "$build" -G Ninja -Wno-dev -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
        -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$libs_prefix" \
        -DBUILD_SHARED_LIBS=OFF "$@" > "$build.configure.log"
    nice -n 5 cmake --build "$build" --parallel "$jobs" > "$build.log"
    cmake --install "$build" > /dev/null
}
build_libraries() {
    [ -f "$libs_prefix/.complete" ] && { say "zlib, libxlsxwriter, GoogleTest from the cache"; return; }
    rm -rf "$libs_prefix"
    mkdir -p "$libs_prefix/include/minizip" "$libs_prefix/lib/pkgconfig"
    local cc=$triplet-gcc-posix ar=$triplet-gcc-ar-posix src objects

    # zlib's CMake build wants a resource file Debian's source leaves out; the static library
    # needs nothing but its C files. minizip (zlib's contrib) reads the workbooks back.
    say "zlib $zlib_version and its minizip"
    src=$(fetch_source zlib "$work/zlib-src")
    objects=$work/zlib-objects
    rm -rf "$objects" && mkdir -p "$objects"
    for file in adler32 compress crc32 deflate gzclose gzlib gzread gzwrite infback inffast \
        inflate inftrees trees uncompr zutil; do
        nice -n 5 "$cc" -O2 -c "$src/$file.c" -o "$objects/$file.o"
    done
    "$ar" rcs "$libs_prefix/lib/libz.a" "$objects"/*.o
    cp "$src/zlib.h" "$src/zconf.h" "$libs_prefix/include/"
    rm -f "$objects"/*.o
    for file in ioapi unzip zip iowin32; do
        nice -n 5 "$cc" -O2 -I"$src" -c "$src/contrib/minizip/$file.c" -o "$objects/$file.o"
    done
    "$ar" rcs "$libs_prefix/lib/libminizip.a" "$objects"/*.o
    cp "$src"/contrib/minizip/{ioapi,unzip,zip,iowin32,crypt}.h "$libs_prefix/include/minizip/"
    cat > "$libs_prefix/lib/pkgconfig/minizip.pc" <<PC
prefix=$libs_prefix
Name: minizip
Description: zip files (zlib's contrib)
Version: $zlib_version
Libs: -L\${prefix}/lib -lminizip -lz
Cflags: -I\${prefix}/include/minizip -I\${prefix}/include
PC

    say "libxlsxwriter $xlsxwriter_version"
    src=$(fetch_source libxlsxwriter "$work/xlsxwriter-src")
    for patch in "$here"/patches/libxlsxwriter-*.patch; do patch -s -p1 -d "$src" < "$patch"; done
    cross_cmake "$src" "$work/xlsxwriter-build" -DUSE_SYSTEM_MINIZIP=ON \
        -DMINIZIP_ROOT="$libs_prefix" -DZLIB_ROOT="$libs_prefix"
    cat > "$libs_prefix/lib/pkgconfig/xlsxwriter.pc" <<PC
prefix=$libs_prefix
Name: libxlsxwriter
Description: XLSX files
Version: $xlsxwriter_version
Libs: -L\${prefix}/lib -lxlsxwriter -lminizip -lz
Cflags: -I\${prefix}/include
PC

    # Debian's googletest package holds the sources; they build as they are.
    say "GoogleTest $gtest_version"
    cross_cmake /usr/src/googletest "$work/gtest-build" -DBUILD_GMOCK=OFF -Dgtest_disable_pthreads=OFF
    touch "$libs_prefix/.complete"
    rm -rf "$work/zlib-src" "$work/xlsxwriter-src" "$objects" "$work/xlsxwriter-build" \
        "$work/gtest-build"
}

# The cache's folders, named by versions and fingerprints (an epoch's colon would split
# search paths).
qt_key=qt-$qt_version-$(fingerprint build_qt "$here"/patches/qtbase-*.patch)
qt_prefix=$cache/${qt_key//:/_}
libs_key=libs-zlib-$zlib_version-xlsxwriter-$xlsxwriter_version-gtest-$gtest_version
libs_prefix=$cache/${libs_key//:/_}-$(fingerprint build_libraries "$here"/patches/libxlsxwriter-*.patch)
# The toolchain file searches these prefixes (and MinGW's own) only.
export QOR_WINDOWS_PREFIX="$qt_prefix;$libs_prefix"

case ${QOR_WINDOWS_STAGE:-all} in
    qt) build_qt; exit 0 ;;
    libs) build_libraries; exit 0 ;;
    paths) echo "$qt_prefix"; echo "$libs_prefix"; exit 0 ;;
esac

# --- QOR Reader -------------------------------------------------------------------------------
out=$root/build/windows
cross=$out/cross
version=$(sed -n 's/^project(QORReader VERSION \([0-9.]*\).*/\1/p' "$root/CMakeLists.txt")
launcher=()
command -v ccache > /dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache
    -DCMAKE_C_COMPILER_LAUNCHER=ccache)
build_reader() {
    say "QOR Reader $version for Windows"
    # CMake keeps what pkg-config found: new libraries need a fresh configuration.
    if [ "$(cat "$cross/.prefixes" 2>/dev/null)" != "$QOR_WINDOWS_PREFIX" ]; then
        rm -rf "$cross/CMakeCache.txt" "$cross/CMakeFiles"
    fi
    # pkg-config looks at the cross-built libraries only.
    PKG_CONFIG_LIBDIR=$libs_prefix/lib/pkgconfig PKG_CONFIG_PATH='' \
        cmake -S "$root" -B "$cross" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
        -DCMAKE_BUILD_TYPE=Release -DQOR_BUILD_TESTS=ON -DQOR_WERROR=ON \
        -DQOR_BUILD_DESKTOP="${QOR_WINDOWS_DESKTOP:-ON}" "${launcher[@]}" \
        -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
        -DQt6LinguistTools_DIR=/usr/lib/x86_64-linux-gnu/cmake/Qt6LinguistTools \
        > "$out/configure.log"
    echo "$QOR_WINDOWS_PREFIX" > "$cross/.prefixes"
    # Resources carry one modification time, not their files' (the same sources, the same bytes).
    QT_RCC_SOURCE_DATE_OVERRIDE=315532800 \
        nice cmake --build "$cross" --parallel "$jobs" > "$out/build.log" ||
        { tail -40 "$out/build.log" >&2; exit 1; }
}

# The Linux programs the Windows outputs are held against, built from the same sources.
linux=$out/linux
build_linux_reference() {
    say "qorscan and qorgen for Linux, for the comparison"
    cmake -S "$root" -B "$linux" -G Ninja -DCMAKE_BUILD_TYPE=Release -DQOR_BUILD_TESTS=OFF \
        -DQOR_BUILD_DESKTOP=OFF "${launcher[@]}" > "$out/linux-configure.log"
    nice cmake --build "$linux" --parallel "$jobs" --target qorscan qorgen > "$out/linux-build.log" ||
        { tail -40 "$out/linux-build.log" >&2; exit 1; }
}

# The same sources give the same packages: building again with nothing changed links nothing, and
# programs linked anew are packed to the same bytes.
check_reproducible() {
    local packages=("QORReader-$version-win64.zip" "QORReader-$version-setup.exe") before after
    before=$(cd "$out" && sha256sum "${packages[@]}")
    touch "$out/.before-rebuild"
    build_reader
    if [ "$cross/src/gui/qorreader.exe" -nt "$out/.before-rebuild" ]; then
        echo "building again with nothing changed linked qorreader.exe anew" >&2
        exit 1
    fi
    rm -f "$cross/src/gui/qorreader.exe" "$cross/src/cli/qorscan.exe" "$out/.before-rebuild"
    build_reader
    "$here/package-windows.sh" "$cross" "$qt_prefix" "$out" "$version" > /dev/null
    after=$(cd "$out" && sha256sum "${packages[@]}")
    if [ "$before" != "$after" ]; then
        printf 'the packages differ after linking again:\n%s\n%s\n' "$before" "$after" >&2
        exit 1
    fi
    say "reproducible: nothing linked again; linked anew, the same bytes:"
    sed 's/^/    /' <<< "$after"
}

mkdir -p "$out"
build_qt
build_libraries
build_reader
[ "${QOR_WINDOWS_DESKTOP:-ON}" = ON ] && "$here/package-windows.sh" "$cross" "$qt_prefix" "$out" "$version"
if [ $run_tests -eq 1 ]; then
    [ "${QOR_WINDOWS_DESKTOP:-ON}" = ON ] && check_reproducible
    build_linux_reference
    "$here/test-windows.sh" "$cross" "$linux" "$qt_prefix" "$out" "$version"
fi
say "done"
