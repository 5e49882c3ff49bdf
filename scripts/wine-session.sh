# Sourced helper: Wine for one architecture of the build (i686 or x86_64), a private Xvfb
# display, a prefix in the build tree and a wine server kept alive for a test run.
# Everything started here is stopped by pid or by prefix in wine_session_stop.
#
# Programs are started through the loader of the architecture ($WINELOADER), never through
# the `wine` script, which picks the 32-bit loader whenever it is installed. With
# NIMBREL_I386_ROOT set (i686 under emulation, scripts/i386-emulation.sh), 32-bit Wine and its
# server are those of that root: wine_in and wine_exec run them there.

# wine_env <build dir> <arch>
wine_env() {
    local build="$1" arch="$2"
    export WINEPREFIX="$build/wineprefix"
    export WINEDEBUG="${WINEDEBUG:--all}"
    export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
    case "$arch" in
    x86_64)
        export WINEARCH=win64
        export WINELOADER=/usr/lib/wine/wine64
        export WINESERVER=/usr/lib/wine/wineserver64
        ;;
    i686)
        export WINEARCH=win32
        export WINELOADER=/usr/lib/wine/wine
        export WINESERVER=/usr/lib/wine/wineserver32
        # The 64-bit server serves 32-bit clients too; under emulation it runs natively.
        if [ -n "${NIMBREL_I386_ROOT:-}" ] || [ ! -x "$WINESERVER" ]; then
            WINESERVER=/usr/lib/wine/wineserver64
        fi
        ;;
    *)
        echo "unknown architecture: $arch" >&2
        return 2
        ;;
    esac
    if [ -z "${HOME:-}" ] || [ ! -w "${HOME:-/nonexistent}" ]; then
        export HOME="$build/home"
        mkdir -p "$HOME"
    fi
}

# wine_in <command...>: runs a command of this session's Wine (its loader or server), inside
# the i386 root when 32-bit Wine is emulated, in the same working directory.
wine_in() {
    if [ "$WINEARCH" = win32 ] && [ -n "${NIMBREL_I386_ROOT:-}" ]; then
        chroot "$NIMBREL_I386_ROOT" /usr/bin/env -C "$PWD" "$@"
    else
        "$@"
    fi
}

# wine_exec <command...>: the same, replacing this shell.
wine_exec() {
    if [ "$WINEARCH" = win32 ] && [ -n "${NIMBREL_I386_ROOT:-}" ]; then
        exec chroot "$NIMBREL_I386_ROOT" /usr/bin/env -C "$PWD" "$@"
    fi
    exec "$@"
}

# Prefix layout: Z: (the host root) is a network drive, so code that looks for the fixed
# drive with the most room only ever sees C: inside the prefix. A crashing program ends at
# once with a failing exit code: no crash dialog, and no debugger attached on a crash (with
# winedbg attached, a crashed program now and then ended with exit code 0).
wine_prefix_config() {
    cat <<'REG'
REGEDIT4

[HKEY_CURRENT_USER\Software\Wine\Explorer]
"Desktop"="ci"

[HKEY_CURRENT_USER\Software\Wine\Explorer\Desktops]
"ci"="1024x768"

[HKEY_CURRENT_USER\Software\Wine\WineDbg]
"ShowCrashDialog"=dword:00000000

[HKEY_LOCAL_MACHINE\Software\Microsoft\Windows NT\CurrentVersion\AeDebug]
"Debugger"=""

[HKEY_LOCAL_MACHINE\Software\Wine\Drives]
"z:"="network"
REG
}

wine_prefix_ensure() {
    local build="$1" stamp="$WINEPREFIX/.nimbrel-config" want
    want="$(wine_prefix_config | md5sum | cut -d' ' -f1)"
    if [ ! -f "$WINEPREFIX/system.reg" ]; then
        echo "[nimbrel] creating the $WINEARCH wine prefix $WINEPREFIX"
        mkdir -p "$WINEPREFIX"
        wine_in "$WINELOADER" wineboot.exe -i >/dev/null 2>&1
        wine_in "$WINESERVER" -w
    fi
    if [ "$(cat "$stamp" 2>/dev/null)" != "$want" ]; then
        wine_prefix_config > "$build/prefix-config.reg"
        wine_in "$WINELOADER" regedit.exe /S \
            "$(wine_in "$WINELOADER" winepath.exe -w "$build/prefix-config.reg" 2>/dev/null)" \
            >/dev/null 2>&1
        wine_in "$WINESERVER" -w
        echo "$want" > "$stamp"
    fi
}

# wine_session_start <build dir> <arch>
wine_session_start() {
    local build="$1" arch="$2" dfile
    wine_env "$build" "$arch"
    WINE_SESSION_XVFB=
    WINE_SESSION_KEEPALIVE=
    # The first wine process of a server session must see the display.
    dfile="$(mktemp)"
    Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$dfile" >/dev/null 2>&1 &
    WINE_SESSION_XVFB=$!
    for _ in $(seq 100); do
        [ -s "$dfile" ] && break
        sleep 0.1
    done
    export DISPLAY=":$(head -n1 "$dfile")"
    rm -f "$dfile"
    wine_prefix_ensure "$build"
    wine_in "$WINESERVER" -p
    if [ -f "$build/bin/wine_keepalive.exe" ]; then
        wine_in "$WINELOADER" "$build/bin/wine_keepalive.exe" </dev/null >/dev/null 2>&1 &
        WINE_SESSION_KEEPALIVE=$!
        sleep 0.5
    fi
}

wine_session_stop() {
    [ -n "${WINEPREFIX:-}" ] && wine_in "$WINESERVER" -k >/dev/null 2>&1 || true
    if [ -n "${WINE_SESSION_KEEPALIVE:-}" ]; then
        wait "$WINE_SESSION_KEEPALIVE" 2>/dev/null || true
    fi
    if [ -n "${WINE_SESSION_XVFB:-}" ]; then
        kill "$WINE_SESSION_XVFB" 2>/dev/null || true
        wait "$WINE_SESSION_XVFB" 2>/dev/null || true
    fi
    WINE_SESSION_KEEPALIVE=
    WINE_SESSION_XVFB=
}
