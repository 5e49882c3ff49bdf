#!/bin/bash
# One entry point for a fresh Debian 12 machine (run as root):
#   scripts/nimbrel.sh test    install what is missing, build, run every test through ctest
#   scripts/nimbrel.sh build   install what is missing and build only
#   scripts/nimbrel.sh ctest [ctest arguments]   run ctest on an existing build, in a wine session
# Idempotent: a second run installs nothing and rebuilds only what changed.
set -euo pipefail

ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
BUILD="${NIMBREL_BUILD:-$ROOT/build}"
JOBS="${JOBS:-$(nproc)}"

# shellcheck source=scripts/wine-session.sh
. "$ROOT/scripts/wine-session.sh"

PACKAGES=(cmake make g++-mingw-w64-i686-posix googletest wine wine32:i386 xvfb imagemagick)

log() { echo "[nimbrel] $*"; }

ensure_packages() {
    local missing=() p
    if ! dpkg --print-foreign-architectures | grep -qx i386; then
        log "adding the i386 architecture"
        dpkg --add-architecture i386
        APT_UPDATED=
    fi
    for p in "${PACKAGES[@]}"; do
        if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
            missing+=("$p")
        fi
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    log "installing: ${missing[*]}"
    export DEBIAN_FRONTEND=noninteractive
    apt-get update -q
    apt-get install -y -q --no-install-recommends "${missing[@]}"
}

configure_and_build() {
    if [ ! -f "$BUILD/CMakeCache.txt" ]; then
        cmake -S "$ROOT" -B "$BUILD" -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/mingw-i686.cmake" \
            -DCMAKE_BUILD_TYPE=Release
    fi
    cmake --build "$BUILD" -j "$JOBS"
}

run_ctest() {
    wine_session_start "$BUILD"
    local rc=0
    (cd "$BUILD" && ctest --output-on-failure -j "$JOBS" --timeout 300 "$@") || rc=$?
    wine_session_stop
    return $rc
}

cmd="${1:-test}"
case "$cmd" in
build)
    ensure_packages
    configure_and_build
    ;;
test)
    ensure_packages
    configure_and_build
    run_ctest
    ;;
ctest)
    shift
    run_ctest "$@"
    ;;
*)
    echo "usage: $0 {test|build|ctest [args]}" >&2
    exit 2
    ;;
esac
