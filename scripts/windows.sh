#!/usr/bin/env bash
# Builds Tabulon for 64-bit Windows with MinGW and checks it under wine64.
#   scripts/windows.sh          Qt (once), then Tabulon and its tests, then runs the tests
#   scripts/windows.sh qt       only the cross-built Qt in the cache
#   scripts/windows.sh build    Qt (once) and Tabulon, no test run
#   scripts/windows.sh test     runs the already built tests under wine64
#
# Qt for MinGW is built from Debian's own qt6-base source (the version the
# host's Qt has, whose moc, rcc and uic it reuses) once, into
# ~/.cache/tabulon/qt-<version>-mingw-<hash of the configure line>; a changed
# configure line builds a new one beside it. GoogleTest comes from the sources
# Debian's googletest package ships. Tabulon goes to build-windows/.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
stage="${1:-all}"
cache="${TABULON_CACHE:-$HOME/.cache/tabulon}"
qt_version=6.4.2
jobs="${WINDOWS_JOBS:-2}"
triplet=x86_64-w64-mingw32

say() { printf '== %s: %s\n' "$(date +%H:%M:%S)" "$*"; }

# --- packages -------------------------------------------------------------
install_missing() {
    local missing=() p
    for p in "$@"; do
        if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
            missing+=("$p")
        fi
    done
    ((${#missing[@]})) || return 0
    say "installing ${missing[*]}"
    if [[ $(id -u) -ne 0 ]]; then
        echo "These packages are missing and installing them needs root: ${missing[*]}" >&2
        exit 1
    fi
    export DEBIAN_FRONTEND=noninteractive
    apt-get update -qq
    apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

# googletest: the sources under /usr/src/googletest, built here for MinGW.
install_missing g++-mingw-w64-x86-64-posix wine64 wine socat googletest dpkg-dev \
    cmake ninja-build qt6-base-dev qt6-base-dev-tools xz-utils

# --- Qt for MinGW ---------------------------------------------------------
toolchain="$root/cmake/mingw-w64-x86_64.cmake"
qt_configure=(-release -shared -xplatform win32-g++ -qt-host-path /usr
    -no-opengl -no-dbus -no-icu -no-openssl -schannel
    -qt-zlib -qt-pcre -qt-libpng -qt-libjpeg -qt-harfbuzz -qt-freetype
    -nomake tests -nomake examples -no-pkg-config
    -no-feature-sql -no-feature-tabletevent -no-feature-zstd -no-feature-concurrent
    -no-feature-printsupport -no-feature-vulkan -no-feature-direct2d
    -no-feature-directwrite3)
qt_cmake_args=(-DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake)
# The key covers the configure line and the toolchain file it compiles with.
qt_key="$( { printf '%s\n' "${qt_configure[@]}" "${qt_cmake_args[@]}"; cat "$toolchain"; } \
    | sha256sum | cut -c1-10)"
qt_prefix="$cache/qt-$qt_version-mingw-$qt_key"

fetch_qt_source() {
    local apt="$cache/apt" src="$cache/src"
    if [[ -d "$src/qt6-base-$qt_version+dfsg" ]]; then return; fi
    say "fetching Debian's qt6-base $qt_version source"
    # A private apt configuration with one deb-src entry, so the system's own
    # sources and lists stay as they are.
    mkdir -p "$apt/sources.list.d" "$apt/lists/partial" "$apt/cache/archives/partial" "$src"
    cat > "$apt/sources.list.d/bookworm-src.sources" <<'EOF'
Types: deb-src
URIs: http://deb.debian.org/debian
Suites: bookworm
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg
EOF
    local opts=(-o "Dir::Etc::SourceList=/dev/null" -o "Dir::Etc::SourceParts=$apt/sources.list.d"
        -o "Dir::State::Lists=$apt/lists" -o "Dir::Cache=$apt/cache")
    apt-get "${opts[@]}" update -qq
    (cd "$src" && apt-get "${opts[@]}" source -qq "qt6-base=$qt_version+dfsg-10" ||
        apt-get "${opts[@]}" source -qq qt6-base)
    local dir
    dir="$(find "$src" -maxdepth 1 -type d -name "qt6-base-*" | head -1)"
    [[ "$dir" == "$src/qt6-base-$qt_version+dfsg" ]] || mv "$dir" "$src/qt6-base-$qt_version+dfsg"
}

build_qt() {
    if [[ -f "$qt_prefix/.complete" ]]; then
        say "Qt for MinGW is in $qt_prefix"
        return
    fi
    fetch_qt_source
    local src="$cache/src/qt6-base-$qt_version+dfsg" build="$cache/build-qt-$qt_key"
    local started=$SECONDS
    say "building qtbase $qt_version for MinGW into $qt_prefix (-j$jobs)"
    rm -rf "$build" "$qt_prefix"
    mkdir -p "$build"
    (cd "$build" &&
        nice -n 10 "$src/configure" -prefix "$qt_prefix" "${qt_configure[@]}" -- \
            -G Ninja "-DCMAKE_TOOLCHAIN_FILE=$toolchain" "${qt_cmake_args[@]}" &&
        nice -n 10 cmake --build . --parallel "$jobs" &&
        nice -n 10 cmake --install .)
    # Marked only once installed, so an interrupted build never passes for a
    # finished one.
    touch "$qt_prefix/.complete"
    rm -rf "$build"
    say "qtbase built in $(((SECONDS - started) / 60)) min"
}

build_qt
[[ "$stage" == qt ]] && exit 0
echo "stage '$stage' is not there yet" >&2
exit 1
