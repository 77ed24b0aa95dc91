# Shared by the scripts: where things are, and the Wine and Xvfb helpers.
# Sourced, not run.

ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
BUILD="$ROOT/build"

find_wine() {
    local candidate
    for candidate in "$(command -v wine 2>/dev/null)" "$(command -v wine64 2>/dev/null)" /usr/lib/wine/wine64; do
        if [ -n "$candidate" ] && [ -x "$candidate" ]; then
            echo "$candidate"
            return 0
        fi
    done
    return 1
}

find_wineserver() {
    local candidate
    for candidate in "$(command -v wineserver 2>/dev/null)" /usr/lib/wine/wineserver64 /usr/lib/wine/wineserver; do
        if [ -n "$candidate" ] && [ -x "$candidate" ]; then
            echo "$candidate"
            return 0
        fi
    done
    return 1
}

# The environment of every Wine run of the tests: a prefix of their own, with
# its home folder under build/ so that nothing links into the user's home.
test_wine_env() {
    export WINEPREFIX="${QUENMAR_WINEPREFIX:-$BUILD/wineprefix}"
    export HOME="$BUILD/winehome"
    export WINEDEBUG=-all
    export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
    export WINEARCH=win64
    # An English session unless a test asks for another language
    # (QUENMAR_TEST_LOCALE); the locales are the ones scripts/bootstrap generates.
    export LOCPATH="$BUILD/locales"
    # (bash itself cannot take a locale from LOCPATH, and would say so.)
    { export LC_ALL="${QUENMAR_TEST_LOCALE:-en_US.UTF-8}"; } 2>/dev/null
    unset LANGUAGE
    mkdir -p "$HOME"
}

# Initialises the tests' prefix once; does nothing when it is ready.
ensure_test_prefix() {
    test_wine_env
    local marker="$WINEPREFIX/.quenmar-prefix-ready"
    # A prefix made before 32-bit Wine was installed cannot start 32-bit
    # programs ("could not load kernel32.dll"): it is made again.
    if [ -f "$marker" ]; then
        [ -f "$WINEPREFIX/drive_c/windows/syswow64/kernel32.dll" ] && return 0
        [ -x /usr/lib/wine/wine ] || return 0
    fi
    local wine
    wine=$(find_wine) || { echo "wine not found" >&2; return 1; }
    echo "-- initialising the tests' Wine prefix in $WINEPREFIX"
    rm -rf "$WINEPREFIX"
    "$wine" wineboot -i </dev/null >/dev/null 2>&1 || true
    "$wine" reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f </dev/null >/dev/null 2>&1
    "$wine" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f </dev/null >/dev/null 2>&1
    "$wine" reg add 'HKCU\Software\Wine\X11 Driver' /v Decorated /t REG_SZ /d Y /f </dev/null >/dev/null 2>&1
    # Chinese names in the pictures: the dialogs' fonts fall back to the
    # distribution's CJK font (bootstrap installs it) before Wine's own list.
    local face
    for face in Tahoma "MS Sans Serif" "Microsoft Sans Serif"; do
        "$wine" reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontLink\SystemLink' /v "$face" \
            /t REG_MULTI_SZ /d 'wqy-microhei.ttc,WenQuanYi Micro Hei\0MSGOTHIC.TTC,MS UI Gothic\0SIMSUN.TTC,SimSun' /f \
            </dev/null >/dev/null 2>&1
    done
    "$(find_wineserver)" -w
    [ -f "$WINEPREFIX/system.reg" ] || { echo "wineboot did not create the prefix" >&2; return 1; }
    touch "$marker"
}

XVFB_PID=""

# Starts a private Xvfb on a free display number and exports DISPLAY.
start_xvfb() {
    local n
    for n in $(seq 90 140); do
        if [ ! -e "/tmp/.X$n-lock" ] && [ ! -e "/tmp/.X11-unix/X$n" ]; then
            Xvfb ":$n" -screen 0 1920x1200x24 -nolisten tcp -dpi "${QUENMAR_DPI:-96}" >/dev/null 2>&1 &
            XVFB_PID=$!
            local i
            for i in $(seq 1 50); do
                [ -e "/tmp/.X11-unix/X$n" ] && break
                kill -0 "$XVFB_PID" 2>/dev/null || break
                sleep 0.1
            done
            if [ -e "/tmp/.X11-unix/X$n" ] && kill -0 "$XVFB_PID" 2>/dev/null; then
                export DISPLAY=":$n"
                return 0
            fi
        fi
    done
    echo "could not start Xvfb" >&2
    return 1
}

stop_xvfb() {
    if [ -n "$XVFB_PID" ]; then
        kill "$XVFB_PID" 2>/dev/null
        wait "$XVFB_PID" 2>/dev/null
        XVFB_PID=""
    fi
}

# The fuzz tree: clang with libFuzzer and the sanitizers.
build_fuzz_tree() {
    cmake -S "$ROOT" -B "$BUILD/fuzz" -DQUENMAR_FUZZ=ON -DCMAKE_BUILD_TYPE=Debug \
        -DCMAKE_C_COMPILER=clang-14 -DCMAKE_CXX_COMPILER=clang++-14 >/dev/null &&
        cmake --build "$BUILD/fuzz" -j "$(nproc 2>/dev/null || echo 2)"
}
