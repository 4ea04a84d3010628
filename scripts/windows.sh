#!/usr/bin/env bash
# Builds Tabulon for 64-bit Windows with MinGW and checks it under wine64.
#   scripts/windows.sh          Qt (once), then Tabulon and its tests, then runs the tests
#   scripts/windows.sh qt       only the cross-built Qt in the cache
#   scripts/windows.sh build    Qt (once) and Tabulon, no test run
#   scripts/windows.sh test     runs the already built tests under wine64, then the end to end
#   scripts/windows.sh e2e      only the end to end: tabulon-cli.exe on COM1 to tabulon-sim
#   scripts/windows.sh bench    the paced 1000-record goods write, Linux beside wine
#   scripts/windows.sh dist     dist/tabulon-windows-x64.zip (and the installer, where
#                               Debian's nsis serves CPack) from the built programs,
#                               checked under wine from a fresh folder
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
source "$root/scripts/install-missing.sh"

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
    # The archive is the one this machine's own apt takes bookworm main from,
    # so the script follows whatever mirror the machine is set to.
    local archive
    archive="$(apt-cache policy | awk '$3 == "bookworm/main" && $4 == "amd64" { print $2; exit }')"
    if [[ -z "$archive" ]]; then
        echo "windows.sh: this machine's apt has no bookworm main archive to fetch qt6-base's source from" >&2
        exit 1
    fi
    mkdir -p "$apt/sources.list.d" "$apt/lists/partial" "$apt/cache/archives/partial" "$src"
    cat > "$apt/sources.list.d/bookworm-src.sources" <<EOF
Types: deb-src
URIs: $archive
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

# --- GoogleTest for MinGW -------------------------------------------------
gtest_version="$(dpkg-query -W -f='${Version}' googletest | sed 's/-.*//')"
gtest_prefix="$cache/googletest-$gtest_version-mingw-$( cat "$toolchain" | sha256sum | cut -c1-10)"

build_gtest() {
    if [[ -f "$gtest_prefix/.complete" ]]; then return; fi
    local build="$cache/build-googletest" started=$SECONDS
    say "building GoogleTest $gtest_version for MinGW from /usr/src/googletest"
    rm -rf "$build" "$gtest_prefix"
    nice -n 10 cmake -S /usr/src/googletest -B "$build" -G Ninja -Wno-dev \
        "-DCMAKE_TOOLCHAIN_FILE=$toolchain" -DCMAKE_BUILD_TYPE=Release \
        "-DCMAKE_INSTALL_PREFIX=$gtest_prefix" > /dev/null
    nice -n 10 cmake --build "$build" --parallel "$jobs" > /dev/null
    cmake --install "$build" > /dev/null
    touch "$gtest_prefix/.complete"
    rm -rf "$build"
    say "GoogleTest built in $((SECONDS - started)) s"
}

# --- Tabulon --------------------------------------------------------------
build="$root/build-windows"
mingw_runtime=("$(dirname "$(x86_64-w64-mingw32-g++-posix -print-libgcc-file-name)")"
    "/usr/$triplet/lib")

build_tabulon() {
    local werror=OFF started=$SECONDS
    if [[ "${CI:-}" == "true" || "${WERROR:-}" == "1" ]]; then werror=ON; fi
    say "cross-building Tabulon into $build"
    # Qt's own toolchain file loads ours and adds what finding Qt for the
    # target needs (its prefix and the host's tools).
    cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
        "-DCMAKE_TOOLCHAIN_FILE=$qt_prefix/lib/cmake/Qt6/qt.toolchain.cmake" \
        "-DQT_CHAINLOAD_TOOLCHAIN_FILE=$toolchain" \
        "-DGTest_DIR=$gtest_prefix/lib/cmake/GTest" \
        "-DCMAKE_CROSSCOMPILING_EMULATOR=$root/scripts/wine-run.sh" \
        -DTABULON_TESTS=ON -DTABULON_BENCH=OFF "-DTABULON_WERROR=$werror" > /dev/null
    nice -n 10 cmake --build "$build" --parallel "$jobs"
    say "Tabulon cross-built in $(((SECONDS - started) / 60)) min $(((SECONDS - started) % 60)) s"
}

# --- wine -----------------------------------------------------------------
# Everything wine-run.sh needs to find: the prefix of its own (not the user's
# ~/.wine) and the directories of the DLLs.
export TABULON_WINEPREFIX="$build/wine"
export TABULON_WINE_DLLS="$qt_prefix/bin:${mingw_runtime[0]}:${mingw_runtime[1]}"

run_tests() {
    local started=$SECONDS status=0
    export WINEPREFIX="$TABULON_WINEPREFIX" WINEDEBUG=-all
    mkdir -p "$WINEPREFIX"
    # One server for the whole run: without it each test program waits for
    # the previous one's server to go away.
    wineserver -p > /dev/null 2>&1
    "$root/scripts/wine-run.sh" cmd /c exit > /dev/null 2>&1 || true
    say "running the tests under wine64"
    (cd "$build" && ctest -j"$jobs" --output-on-failure --timeout 600) || status=$?
    wineserver -k > /dev/null 2>&1 || true
    say "tests under wine took $((SECONDS - started)) s"
    return $status
}

# --- end to end under wine -------------------------------------------------
# tabulon-cli.exe on COM1, which wine maps to a pseudo-terminal that the
# Linux tabulon-sim serves: what a Windows user's program does on a real line.
end_to_end() {
    local started=$SECONDS dir="$build/end-to-end" sim_pid pts status=0
    say "end to end: tabulon-cli.exe on COM1 under wine, tabulon-sim on Linux"
    "$root/scripts/build.sh" tabulon-sim tabulon-cli > /dev/null
    rm -rf "$dir" && mkdir -p "$dir"
    "$root/build/src/sim/tabulon-sim" --model neon > "$dir/sim.txt" &
    sim_pid=$!
    for _ in $(seq 50); do [[ -s "$dir/sim.txt" ]] && break; sleep 0.1; done
    pts="$(head -1 "$dir/sim.txt")"
    export WINEPREFIX="$TABULON_WINEPREFIX" WINEDEBUG=-all
    mkdir -p "$WINEPREFIX"
    "$root/scripts/wine-run.sh" reg add 'HKLM\Software\Wine\Ports' /v COM1 /d "$pts" /f > /dev/null
    # The port map is read when the prefix's server starts.
    wineserver -k > /dev/null 2>&1 || true
    wineserver -w > /dev/null 2>&1 || true
    wineserver -p > /dev/null 2>&1
    local port=("$root/scripts/wine-run.sh" "$build/src/cli/tabulon-cli.exe" --port COM1
        --speed 115200)
    local cli=("${port[@]}" --model neon --quiet)
    local linux_cli=("$root/build/src/cli/tabulon-cli" --port "$pts" --speed 115200 --model neon
        --quiet)
    # Each step must hold: a failure ends the run there.
    set +e
    (
        set -e
        cd "$dir"
        check() { if cmp -s "$1" "$2"; then echo "  same bytes: $1 $2"; else
            echo "  DIFFERENT: $1 $2" >&2; return 1; fi; }
        "${port[@]}" detect | tr -d '\r' | grep -qx found
        echo "  detect: found"
        # Departments: read, write new names, read back; the Linux program
        # reads the same register the same way.
        "${cli[@]}" read-table departments departments-before.otd
        "${linux_cli[@]}" read-table departments departments-linux.otd
        check departments-before.otd departments-linux.otd
        for i in $(seq 20); do printf 'Секція %s;\r\n' "$i"; done |
            iconv -f UTF-8 -t CP1251 > departments.otd
        "${cli[@]}" write-table departments departments.otd
        "${cli[@]}" read-table departments departments-after.otd
        check departments.otd departments-after.otd
        # Goods: the first twenty articles with other names and prices.
        "${cli[@]}" --interval 1:20:1 read-table goods goods-before.art
        # (the file holds every row of the grid; only the first twenty are filled)
        iconv -f CP1251 -t UTF-8 goods-before.art |
            awk -F';' 'BEGIN { OFS = ";" } NR <= 20 { $2 = "Товар " NR } { print }' |
            iconv -f UTF-8 -t CP1251 > goods.art
        "${cli[@]}" --interval 1:20:1 write-table goods goods.art
        "${cli[@]}" --interval 1:20:1 read-table goods goods-after.art
        check goods.art goods-after.art
        "${linux_cli[@]}" --interval 1:20:1 read-table goods goods-linux.art
        check goods-after.art goods-linux.art
        # The logo there and back, and the reports, as the Linux program has them.
        local linux_port=("${linux_cli[@]:0:5}")
        "${port[@]}" read-logo logo.bmp
        "${port[@]}" write-logo logo.bmp
        "${linux_port[@]}" read-logo logo-linux.bmp
        check logo.bmp logo-linux.bmp
        mkdir -p reports reports-linux
        "${port[@]}" reports --dir reports
        "${linux_port[@]}" reports --dir reports-linux
        diff -r reports reports-linux && echo "  same reports: $(ls reports | tr '\n' ' ')"
        # The window: it opens, pictures itself and ends with status 0.
        "$root/scripts/wine-run.sh" "$build/src/app/tabulon.exe" --grab window.png
        file window.png | grep -q "PNG image data, 769 x 511"
        echo "  tabulon.exe showed its window: $dir/window.png"
    )
    status=$?
    set -e
    kill "$sim_pid" 2> /dev/null || true
    wait "$sim_pid" 2> /dev/null || true
    wineserver -k > /dev/null 2>&1 || true
    say "end to end took $((SECONDS - started)) s"
    return $status
}

# --- what a Windows user gets ---------------------------------------------
# The two programs with every DLL they load that Windows does not have: Qt's,
# its platform and style plugins, MinGW's runtime; Qt's Russian texts where
# qt.conf points Qt at them; the licence and a short README. Everything is
# stripped. The DLLs are found by following the import tables, so a DLL that
# a new Qt module brings in is not forgotten.
dll_imports() { x86_64-w64-mingw32-objdump -p "$1" | sed -n 's/^\s*DLL Name: //p'; }

dist() {
    local started=$SECONDS out="$root/dist" folder="$build/dist/tabulon" version
    local zip="$root/dist/tabulon-windows-x64.zip"
    version="$(sed -nE 's/^project\(Tabulon VERSION ([0-9.]+).*/\1/p' "$root/CMakeLists.txt")"
    install_missing zip unzip
    say "packing $zip"
    rm -rf "$build/dist" && mkdir -p "$folder/platforms" "$folder/styles" "$folder/translations"
    cp "$build/src/app/tabulon.exe" "$build/src/cli/tabulon-cli.exe" \
        "$build/src/sim/tabulon-sim.exe" "$folder/"
    sed 's/$/\r/' "$root/packaging/windows/demo.cmd" > "$folder/demo.cmd"
    # offscreen: the window without a display (tabulon --grab on a server,
    # and the check below under wine).
    cp "$qt_prefix/plugins/platforms/qwindows.dll" "$qt_prefix/plugins/platforms/qoffscreen.dll" \
        "$folder/platforms/"
    cp "$qt_prefix/plugins/styles/qwindowsvistastyle.dll" "$folder/styles/"
    local dirs=("$qt_prefix/bin" "${mingw_runtime[@]}") pending=() file name dir found
    mapfile -t pending < <(find "$folder" -name '*.exe' -o -name '*.dll')
    while ((${#pending[@]})); do
        file="${pending[0]}" && pending=("${pending[@]:1}")
        while read -r name; do
            [[ -e "$folder/$name" ]] && continue
            found=""
            for dir in "${dirs[@]}"; do
                [[ -f "$dir/$name" ]] && found="$dir/$name" && break
            done
            # Not ours and not Qt's or MinGW's: one of Windows' own DLLs.
            [[ -z "$found" ]] && continue
            cp "$found" "$folder/$name"
            pending+=("$folder/$name")
        done < <(dll_imports "$file")
    done
    find "$folder" \( -name '*.exe' -o -name '*.dll' \) -exec "$triplet-strip" --strip-unneeded {} +
    # Qt looks for its translations and plugins under its prefix, which
    # without qt.conf is the folder above the one holding Qt6Core.dll.
    printf '[Paths]\r\nPrefix = .\r\nPlugins = .\r\nTranslations = translations\r\n' \
        > "$folder/qt.conf"
    cp "$qt_prefix/translations/qtbase_ru.qm" "$folder/translations/"
    # wine's Tahoma (LGPL, as wine), the font the window is laid out for: a
    # machine without one of its own draws the window in it all the same.
    install_missing fonts-wine
    mkdir -p "$folder/fonts"
    cp /usr/share/wine/fonts/tahoma.ttf /usr/share/wine/fonts/tahomabd.ttf "$folder/fonts/"
    sed 's/$/\r/' /usr/share/doc/fonts-wine/copyright > "$folder/fonts/copyright.txt"
    sed 's/$/\r/' "$root/LICENSE" > "$folder/LICENSE.txt"
    sed "s/@VERSION@/$version/; s/\$/\r/" "$root/packaging/windows/README.txt" > "$folder/README.txt"
    mkdir -p "$out" && rm -f "$zip"
    (cd "$build/dist" && TZ=UTC find tabulon -exec touch -d "@0" {} + &&
        find tabulon | LC_ALL=C sort | zip -q -X -9 "$zip" -@)
    say "$(unzip -l "$zip" | tail -1 | awk '{ printf "%d files, %.1f MB unpacked", $2, $1 / 1e6 }'), $(du -h "$zip" | cut -f1) zipped"
    # Called as "dist || status=$?", where errexit does not reach inside.
    check_dist "$zip" || return 1
    installer "$version" || return 1
    say "dist took $((SECONDS - started)) s"
}

# The zip unpacked into a fresh folder and run from there under wine with no
# WINEPATH: a DLL that it lacks ends the run here, as it would on Windows.
check_dist() {
    local fresh="$build/dist-check" system32 missing=0 file name wine status=0
    wine=$(command -v wine64 || echo /usr/lib/wine/wine64)
    rm -rf "$fresh" && mkdir -p "$fresh"
    unzip -q "$1" -d "$fresh"
    export WINEPREFIX="$TABULON_WINEPREFIX" WINEDEBUG=-all
    mkdir -p "$WINEPREFIX"
    "$wine" cmd /c exit > /dev/null 2>&1 < /dev/null || true
    # Every DLL imported by a program or plugin is in the folder or Windows'
    # (api-ms-win-* names are Windows' API sets, which its loader resolves).
    system32="$WINEPREFIX/drive_c/windows/system32"
    while read -r file; do
        while read -r name; do
            if [[ ! "$name" =~ ^(api|ext)-ms-win- && ! -e "$(dirname "$file")/$name" && ! -e "$fresh/tabulon/$name" &&
                -z "$(find "$system32" -maxdepth 1 -iname "$name" -print -quit)" ]]; then
                echo "  $file needs $name, which is not there" >&2
                missing=1
            fi
        done < <(dll_imports "$file")
    done < <(find "$fresh" \( -name '*.exe' -o -name '*.dll' \))
    ((missing == 0)) || return 1
    (
        cd "$fresh/tabulon"
        unset WINEPATH
        export WINEQT_QPA_PLATFORM=offscreen WINEQT_QPA_FONTDIR='Z:\usr\share\wine\fonts'
        # Run as "( … ) || status=$?", where errexit does not reach: each
        # check ends the subshell itself.
        "$wine" ./tabulon-cli.exe --help < /dev/null | tr -d '\r' > help.txt
        grep -q "^Usage: tabulon-cli" help.txt || exit 1
        echo "  tabulon-cli.exe --help from the unpacked zip: $(wc -l < help.txt) lines"
        rm -f window.png
        "$wine" ./tabulon.exe --grab window.png < /dev/null
        # The picture is the main window at its own size.
        file window.png | grep -q "PNG image data, 769 x 511" || exit 1
        echo "  tabulon.exe from the unpacked zip showed its window: $(file -b window.png)"
        cp window.png "$build/dist/window-under-wine.png"
        demo_pieces "$wine" || exit 1
    ) || status=$?
    wineserver -k > /dev/null 2>&1 || true
    return $status
}

# What demo.cmd puts together, from the unpacked folder: tabulon-sim.exe on
# a local port, and tabulon-cli.exe finding the register there through
# tcp:// and writing and reading a table through it.
demo_pieces() {
    local wine="$1" address="" sim status=0
    "$wine" ./tabulon-sim.exe --model neon --listen tcp://127.0.0.1:0 < /dev/null > sim.txt 2>&1 &
    sim=$!
    # wine starts a program in a few seconds; a slow machine is given a minute.
    for _ in $(seq 600); do
        address="$(tr -d '\r' < sim.txt | grep -m1 '^tcp://' || true)"
        [[ -n "$address" ]] && break
        sleep 0.1
    done
    if [[ -z "$address" ]]; then
        echo "  tabulon-sim.exe did not start: $(tr -d '\r' < sim.txt)" >&2
        status=1
    else
        local cli=("$wine" ./tabulon-cli.exe --port "$address" --model neon --quiet)
        local found
        found="$("$wine" ./tabulon-cli.exe --port "$address" detect < /dev/null | tr -d '\r')"
        printf 'Отдел %s;\r\n' $(seq 20) | iconv -f UTF-8 -t CP1251 > departments.otd
        if [[ "$found" == found ]] &&
            "${cli[@]}" write-table departments departments.otd < /dev/null &&
            "${cli[@]}" read-table departments back.otd < /dev/null &&
            cmp -s departments.otd back.otd; then
            echo "  tabulon-sim.exe on $address: tabulon-cli.exe found it, wrote and read back departments"
        else
            echo "  tabulon-cli.exe through $address: detect said \"$found\" or the departments differ" >&2
            status=1
        fi
    fi
    kill "$sim" 2> /dev/null || true
    wait "$sim" 2> /dev/null || true
    return $status
}

# The installer, with Start menu entries: CPack's NSIS generator run with
# Debian's makensis over the same folder as the zip.
installer() {
    install_missing nsis
    local work="$build/installer"
    rm -rf "$work"
    cmake -S "$root/packaging/windows" -B "$work" "-DTABULON_VERSION=$1" \
        "-DTABULON_DIST_DIR=$build/dist/tabulon" > /dev/null
    (cd "$work" && cpack -G NSIS > cpack.log 2>&1) || {
        cat "$work/cpack.log" "$work"/_CPack_Packages/*/NSIS/NSISOutput.log 2> /dev/null >&2
        return 1
    }
    cp "$work/tabulon-windows-x64-setup.exe" "$root/dist/"
    say "installer: dist/tabulon-windows-x64-setup.exe, $(du -h "$root/dist/tabulon-windows-x64-setup.exe" | cut -f1)"
    check_installer "$root/dist/tabulon-windows-x64-setup.exe"
}

# The installer run as a user's silent install would run it, into a prefix of
# its own: the programs and Start menu entries are there, the installed
# programs start, and the uninstaller takes them all away again. The installer
# is a 64-bit program like the ones it installs, so the 64-bit wine runs it.
check_installer() {
    local started=$SECONDS prefix="$build/installer-prefix" dir entries status=0 wine64
    wine64=$(command -v wine64 || echo /usr/lib/wine/wine64)
    rm -rf "$prefix" && mkdir -p "$prefix"
    export WINEPREFIX="$prefix" WINEDEBUG=-all
    "$wine64" cmd /c exit > /dev/null 2>&1 < /dev/null || true
    "$wine64" "$1" /S < /dev/null
    wineserver -w
    dir="$prefix/drive_c/Program Files/Tabulon"
    installed_entries() {
        find "$prefix/drive_c" -ipath '*/Start Menu/Programs/Tabulon*/*.lnk' -printf '%f\n' | LC_ALL=C sort | xargs
    }
    entries="$(installed_entries)"
    echo "  installed: $(find "$dir" -type f | wc -l) files; Start menu: $entries"
    for file in tabulon.exe tabulon-cli.exe tabulon-sim.exe demo.cmd Uninstall.exe; do
        [[ -f "$dir/$file" ]] || { echo "  the installer left no $file" >&2; status=1; }
    done
    [[ "$entries" == "Demo.lnk README.lnk Tabulon.lnk Uninstall.lnk" ]] ||
        { echo "  the Start menu entries are not Tabulon, Demo, README and Uninstall" >&2; status=1; }
    ((status == 0)) && (
        cd "$dir"
        export WINEQT_QPA_PLATFORM=offscreen WINEQT_QPA_FONTDIR='Z:\usr\share\wine\fonts'
        version="$("$wine64" ./tabulon-cli.exe --version < /dev/null | tr -d '\r')"
        echo "  installed tabulon-cli.exe --version: $version"
        [[ "$version" == "tabulon-cli "* ]] || exit 1
        grab="$build/installer-window.png"
        rm -f "$grab"
        "$wine64" ./tabulon.exe --grab "$(winepath -w "$grab")" < /dev/null
        file "$grab" | grep -q "PNG image data, 769 x 511" || exit 1
        echo "  installed tabulon.exe showed its window"
    ) || status=1
    # _?= keeps the uninstaller in the folder and waits for it, where by
    # itself it would copy itself away and return at once.
    "$wine64" "$dir/Uninstall.exe" /S '_?=C:\Program Files\Tabulon' < /dev/null || status=1
    wineserver -w
    if [[ -e "$dir/tabulon.exe" || -e "$dir/tabulon-cli.exe" || -n "$(installed_entries)" ]]; then
        echo "  the uninstaller left programs or Start menu entries behind" >&2
        status=1
    fi
    wineserver -k > /dev/null 2>&1 || true
    say "installer installed, started and uninstalled under wine in $((SECONDS - started)) s"
    return $status
}

# Qt's own Russian texts for the standard dialogs, from Debian's
# qt6-translations-l10n: the files are the same on every system.
add_qt_translations() {
    install_missing qt6-translations-l10n
    mkdir -p "$qt_prefix/translations"
    cp -u /usr/share/qt6/translations/qtbase_ru.qm /usr/share/qt6/translations/qt_ru.qm \
        "$qt_prefix/translations/"
}

# --- benchmark ------------------------------------------------------------
# 1000 goods records written at 115200 baud to a tabulon-sim that carries no
# faster than such a line: the wall time over the line time of the bytes
# exchanged, for tabulon-cli on Linux and tabulon-cli.exe under wine.
benchmark() {
    local dir="$build/benchmark" pts sim_pid start end
    say "benchmark: 1000 goods records at 115200 baud, Linux and wine"
    "$root/scripts/build.sh" tabulon-sim tabulon-cli > /dev/null
    rm -rf "$dir" && mkdir -p "$dir" && cd "$dir"
    export WINEPREFIX="$TABULON_WINEPREFIX" WINEDEBUG=-all
    mkdir -p "$WINEPREFIX"
    serve() {
        "$root/build/src/sim/tabulon-sim" --model neon "$@" > sim.txt &
        sim_pid=$!
        for _ in $(seq 50); do [[ -s sim.txt ]] && break; sleep 0.1; done
        pts="$(head -1 sim.txt)"
    }
    stop() { kill "$sim_pid" 2> /dev/null || true; wait "$sim_pid" 2> /dev/null || true; }
    serve
    "$root/build/src/cli/tabulon-cli" --port "$pts" --speed 115200 --model neon --quiet \
        --interval 1:1000:1 read-table goods goods.art > /dev/null
    stop
    serve --pace 115200
    start=$(date +%s%N)
    "$root/build/src/cli/tabulon-cli" --port "$pts" --speed 115200 --model neon --quiet \
        --interval 1:1000:1 --trace linux.trace write-table goods goods.art > /dev/null
    end=$(date +%s%N)
    stop
    local linux_ns=$((end - start))
    # Every byte of the exchange, both ways, as the trace lists them in hex.
    local bytes
    bytes=$(sed -nE 's/^ *[0-9.]+ (->|<-)  ([0-9A-F ]+)  .*/\2/p' linux.trace | wc -w)
    serve --pace 115200
    "$root/scripts/wine-run.sh" reg add 'HKLM\Software\Wine\Ports' /v COM1 /d "$pts" /f > /dev/null
    wineserver -k > /dev/null 2>&1 || true
    wineserver -w > /dev/null 2>&1 || true
    wineserver -p > /dev/null 2>&1
    "$root/scripts/wine-run.sh" cmd /c exit > /dev/null 2>&1 || true
    start=$(date +%s%N)
    "$root/scripts/wine-run.sh" "$build/src/cli/tabulon-cli.exe" --port COM1 --speed 115200 \
        --model neon --quiet --interval 1:1000:1 write-table goods goods.art > /dev/null
    end=$(date +%s%N)
    stop
    wineserver -k > /dev/null 2>&1 || true
    local wine_ns=$((end - start))
    awk -v b="$bytes" -v l="$linux_ns" -v w="$wine_ns" 'BEGIN {
        line = b * 11 / 115200
        printf "  %d bytes, line time %.2f s\n", b, line
        printf "  Linux: %.2f s, wall over line %.3f\n", l / 1e9, l / 1e9 / line
        printf "  wine:  %.2f s, wall over line %.3f\n", w / 1e9, w / 1e9 / line }'
}

build_qt
add_qt_translations
[[ "$stage" == qt ]] && exit 0
build_gtest
if [[ "$stage" == bench ]]; then benchmark; exit 0; fi
if [[ "$stage" == dist ]]; then dist; exit 0; fi
if [[ "$stage" != test && "$stage" != e2e ]]; then build_tabulon; fi
[[ "$stage" == build ]] && exit 0
# The end to end runs even when a test failed; the script fails if either did.
status=0
if [[ "$stage" != e2e ]]; then run_tests || status=$?; fi
end_to_end || status=$?
[[ "$stage" == all ]] && { dist || status=$?; }
exit $status
