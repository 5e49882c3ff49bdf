# Sourced helper: a private Xvfb display, a 32-bit Wine prefix in the build tree
# and a wine server kept alive for the length of a test run.
# Everything started here is stopped by pid or by prefix in wine_session_stop.

wine_env() {
    local build="$1"
    export WINEPREFIX="$build/wineprefix"
    export WINEARCH=win32
    export WINEDEBUG=-all
    export WINEDLLOVERRIDES="mscoree,mshtml="
    if [ -z "${HOME:-}" ] || [ ! -w "${HOME:-/nonexistent}" ]; then
        export HOME="$build/home"
        mkdir -p "$HOME"
    fi
}

# Prefix layout: Z: (the host root) is a network drive, so code that looks for
# the fixed drive with the most room only ever sees C: inside the prefix.
wine_prefix_config() {
    cat <<'REG'
REGEDIT4

[HKEY_CURRENT_USER\Software\Wine\Explorer]
"Desktop"="ci"

[HKEY_CURRENT_USER\Software\Wine\Explorer\Desktops]
"ci"="1024x768"

[HKEY_LOCAL_MACHINE\Software\Wine\Drives]
"z:"="network"
REG
}

wine_prefix_ensure() {
    local build="$1" stamp="$WINEPREFIX/.nimbrel-config" want
    want="$(wine_prefix_config | md5sum | cut -d' ' -f1)"
    if [ ! -f "$WINEPREFIX/system.reg" ]; then
        echo "[nimbrel] creating the wine prefix $WINEPREFIX"
        mkdir -p "$WINEPREFIX"
        wineboot -i >/dev/null 2>&1
        wineserver -w
    fi
    if [ "$(cat "$stamp" 2>/dev/null)" != "$want" ]; then
        wine_prefix_config > "$build/prefix-config.reg"
        wine regedit /S "$(winepath -w "$build/prefix-config.reg" 2>/dev/null)" >/dev/null 2>&1
        wineserver -w
        echo "$want" > "$stamp"
    fi
}

wine_session_start() {
    local build="$1" dfile
    wine_env "$build"
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
    wineserver -p
    if [ -f "$build/bin/wine_keepalive.exe" ]; then
        wine "$build/bin/wine_keepalive.exe" </dev/null >/dev/null 2>&1 &
        WINE_SESSION_KEEPALIVE=$!
        sleep 0.5
    fi
}

wine_session_stop() {
    [ -n "${WINEPREFIX:-}" ] && wineserver -k >/dev/null 2>&1 || true
    if [ -n "${WINE_SESSION_KEEPALIVE:-}" ]; then
        wait "$WINE_SESSION_KEEPALIVE" 2>/dev/null || true
    fi
    if [ -n "${WINE_SESSION_XVFB:-}" ]; then
        kill "$WINE_SESSION_XVFB" 2>/dev/null || true
        wait "$WINE_SESSION_XVFB" 2>/dev/null || true
    fi
}
