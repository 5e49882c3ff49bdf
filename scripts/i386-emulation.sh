# Sourced helper: 32-bit Wine on machines whose kernel refuses 32-bit programs.
#
# The i686 suite then runs under qemu's user-mode i386 emulator: a Debian root of the project's
# own in the build tree ($I386_ROOT, amd64 with wine32:i386), qemu's static emulator from the
# release's backports suite registered in binfmt_misc for i386 programs, and the project tree
# and build tree mounted into the root at the same paths. Only the 32-bit Wine processes are
# emulated: ctest, Xvfb and the wine server (the root's wineserver64) run natively.
#
# Everything machine-wide lives only while one i686 test phase runs (emulation_enter and
# emulation_leave, in a private mount namespace): the mounts vanish with the namespace, and the
# binfmt_misc entry is removed on exit, failure or interrupt.
#
# Package sources come from the machine's own apt sources, never from a written host name.
# Expects ROOT, BUILD_ROOT and a log function.

I386_ROOT="$BUILD_ROOT/i386-root"
I386_LOG="$BUILD_ROOT/i386-root.log"
# The X extensions Wine opens when present, as the host's 64-bit Wine finds them; the locale
# data and fonts of the Japanese and Chinese window tests.
I386_PACKAGES=(wine32:i386 wine64 gcc-multilib libxrandr2:i386 libxrender1:i386 libxi6:i386
    libxcursor1:i386 libxinerama1:i386 libxcomposite1:i386 libxfixes3:i386 libxxf86vm1:i386
    locales fonts-ipafont-gothic fonts-wqy-microhei)
BINFMT_DIR=/proc/sys/fs/binfmt_misc

# The release this machine runs (bookworm).
debian_codename() {
    (. /etc/os-release 2>/dev/null && echo "${VERSION_CODENAME:-}")
}

# The machine's apt entries of type deb, one a line: URIs <tab> suites <tab> components <tab>
# signed-by (a key file or empty), from one-line (.list) and deb822 (.sources) files.
apt_deb_entries() {
    local files=() f
    for f in /etc/apt/sources.list /etc/apt/sources.list.d/*.list /etc/apt/sources.list.d/*.sources; do
        [ ! -f "$f" ] || files+=("$f")
    done
    [ ${#files[@]} -gt 0 ] || return 0
    awk '
        function flush() {
            if (types ~ /(^|[ \t])deb([ \t]|$)/ && tolower(enabled) != "no" && uris != "")
                print uris "\t" suites "\t" comps "\t" signed
            types = uris = suites = comps = signed = enabled = ""
        }
        FNR == 1 { flush(); deb822 = (FILENAME ~ /\.sources$/) }
        deb822 {
            if ($0 ~ /^[ \t]*#/ || $0 ~ /^[ \t]/) next   # comments, continued (inline key) lines
            if ($0 ~ /^[ \t]*$/) { flush(); next }
            colon = index($0, ":")
            field = tolower(substr($0, 1, colon - 1))
            value = substr($0, colon + 1)
            gsub(/^[ \t]+|[ \t]+$/, "", value)
            if (field == "types") types = value
            else if (field == "uris") uris = value
            else if (field == "suites") suites = value
            else if (field == "components") comps = value
            else if (field == "enabled") enabled = value
            else if (field == "signed-by" && value ~ /^\//) signed = value
            next
        }
        {
            line = $0
            sub(/#.*/, "", line)
            sub(/[ \t]+$/, "", line)
            if ($1 != "deb") next
            signed = ""
            if (match(line, /\[[^]]*\]/)) {
                n = split(substr(line, RSTART + 1, RLENGTH - 2), opts, /[ \t]+/)
                for (i = 1; i <= n; i++)
                    if (opts[i] ~ /^signed-by=/) signed = substr(opts[i], 11)
                line = substr(line, 1, RSTART - 1) " " substr(line, RSTART + RLENGTH)
            }
            n = split(line, w, /[ \t]+/)
            k = (w[1] == "") ? 2 : 1   # a leading blank gives an empty first field
            c = ""
            for (i = k + 3; i <= n; i++) c = c (c == "" ? "" : " ") w[i]
            print w[k + 1] "\t" w[k + 2] "\t" c "\t" signed
        }
        END { flush() }
    ' "${files[@]}"
}

# The entries of this Debian release (its own suite and <codename>-*), as deb822 paragraphs of
# the given type (deb or deb-src).
release_sources() {
    local type="$1" codename uris suites comps signed s mine
    codename="$(debian_codename)"
    [ -n "$codename" ] || return 0
    while IFS=$'\t' read -r uris suites comps signed; do
        mine=
        for s in $suites; do
            case "$s" in "$codename" | "$codename"-*) mine=1 ;; esac
        done
        [ -n "$mine" ] || continue
        printf 'Types: %s\nURIs: %s\nSuites: %s\nComponents: %s\n' "$type" "$uris" "$suites" "$comps"
        [ -z "$signed" ] || printf 'Signed-By: %s\n' "$signed"
        echo
    done < <(apt_deb_entries)
}

# "<URI> <key file or empty>" of the entry that serves the release's own suite.
release_mirror() {
    local codename uris suites comps signed s
    codename="$(debian_codename)"
    while IFS=$'\t' read -r uris suites comps signed; do
        for s in $suites; do
            if [ "$s" = "$codename" ]; then
                echo "${uris%% *} $signed"
                return 0
            fi
        done
    done < <(apt_deb_entries)
    return 1
}

# Why this machine cannot run 32-bit programs under emulation (empty when it can).
emulation_unavailable() {
    if [ "$(uname -m)" != x86_64 ]; then
        echo "the emulation is set up for x86_64 machines only"
    elif [ "$(id -u)" != 0 ]; then
        echo "setting up the emulation needs root"
    elif ! grep -qw binfmt_misc /proc/filesystems && ! modprobe binfmt_misc 2>/dev/null; then
        echo "the kernel has no binfmt_misc"
    elif ! command -v apt-get >/dev/null || ! release_mirror >/dev/null; then
        echo "no Debian release in this machine's apt sources to build the i386 root from"
    fi
}

# Enabled binfmt_misc entries, one a line: offset, magic and mask in hex (mask may be empty).
# Where binfmt_misc is not mounted it is read through a private mount that no one else sees.
binfmt_entries() {
    local list='for e in '"$BINFMT_DIR"'/*; do
            case "${e##*/}" in register | status) continue ;; esac
            grep -qx enabled "$e" || continue
            echo "$(sed -n "s/^offset //p" "$e") $(sed -n "s/^magic //p" "$e") $(sed -n "s/^mask //p" "$e")"
        done'
    if [ -e "$BINFMT_DIR/status" ]; then
        bash -c "$list"
    elif [ "$(id -u)" = 0 ] && grep -qw binfmt_misc /proc/filesystems; then
        unshare --mount --propagation private -- \
            bash -c "mount -t binfmt_misc binfmt_misc $BINFMT_DIR && $list" 2>/dev/null || true
    fi
}

# Whether a binfmt_misc entry hands the given file to an interpreter (an emulator).
binfmt_claims() {
    local bytes offset magic mask i p m k
    bytes="$(od -An -v -tx1 -N 256 "$1" | tr -d ' \n')"
    while read -r offset magic mask; do
        [ -n "$magic" ] || continue   # entries by file name extension
        for ((i = 0; i < ${#magic} / 2; i++)); do
            p="${bytes:(offset + i) * 2:2}"
            m="${mask:i * 2:2}"
            (((16#${p:-00} ^ 16#${magic:i * 2:2}) & 16#${m:-ff})) && continue 2
        done
        return 0
    done < <(binfmt_entries)
    return 1
}

# Runs a command inside the root, with proc and dev mounted, in a private mount namespace.
in_i386_root() {
    unshare --mount --propagation private -- bash -c '
        r="$1"; shift
        mount -t proc proc "$r/proc" && mount --rbind /dev "$r/dev" && exec chroot "$r" "$@"
    ' _ "$I386_ROOT" "$@"
}

# What the set-up installs and how; a change makes the next run bring the root up to date.
emulation_recipe() {
    echo "${I386_PACKAGES[*]}"
    echo "${TEST_LOCALES[*]}"
    declare -f emulation_setup
    cat "$ROOT/scripts/i386-trapno.c"
}

# Builds the i386 root once per build tree (idempotent: a ready root costs nothing).
emulation_setup() {
    local codename mirror keyring want
    want="$(emulation_recipe | md5sum | cut -d' ' -f1)"
    [ "$(cat "$I386_ROOT/.nimbrel-ready" 2>/dev/null)" = "$want" ] && return 0
    codename="$(debian_codename)"
    read -r mirror keyring < <(release_mirror)
    if ! command -v debootstrap >/dev/null; then
        log "installing debootstrap"
        apt-get update -q
        DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends debootstrap
    fi
    : >"$I386_LOG"
    if [ ! -f "$I386_ROOT/.debootstrap-done" ]; then
        log "creating the i386 root $I386_ROOT ($codename from $mirror; log: $I386_LOG)"
        rm -rf "$I386_ROOT"
        # A private namespace: debootstrap's own mounts cannot outlive it.
        unshare --mount --propagation private -- debootstrap --variant=minbase --arch=amd64 \
            ${keyring:+--keyring="$keyring"} "$codename" "$I386_ROOT" "$mirror" >>"$I386_LOG" 2>&1 ||
            { log "debootstrap failed, see $I386_LOG"; return 1; }
        touch "$I386_ROOT/.debootstrap-done"
    fi
    log "installing 32-bit Wine and the emulator into the i386 root"
    rm -f "$I386_ROOT/etc/apt/sources.list"
    {
        release_sources deb
        printf 'Types: deb\nURIs: %s\nSuites: %s-backports\nComponents: main\n' "$mirror" "$codename"
        [ -z "$keyring" ] || printf 'Signed-By: %s\n' "$keyring"
    } >"$I386_ROOT/etc/apt/sources.list.d/nimbrel.sources"
    local k
    for k in $(sed -n 's/^Signed-By: //p' "$I386_ROOT/etc/apt/sources.list.d/nimbrel.sources" | sort -u); do
        [ -f "$I386_ROOT$k" ] || install -D -m 644 "$k" "$I386_ROOT$k"
    done
    cp /etc/resolv.conf "$I386_ROOT/etc/resolv.conf" 2>/dev/null || true
    mkdir -p "$I386_ROOT/usr/local/src"
    cp "$ROOT/scripts/i386-trapno.c" "$I386_ROOT/usr/local/src/nimbrel-trapno.c"
    # qemu 10 from backports: the release's own qemu spends most of a minute starting each
    # Wine process. Unpacked only, so that its packaging registers nothing.
    in_i386_root /bin/bash -euc '
        codename="$1" locales="$2"; shift 2
        export DEBIAN_FRONTEND=noninteractive
        dpkg --print-foreign-architectures | grep -qx i386 || dpkg --add-architecture i386
        apt-get update -q
        apt-get install -y -q --no-install-recommends "$@"
        for l in $locales; do
            grep -qx "$l UTF-8" /etc/locale.gen || echo "$l UTF-8" >>/etc/locale.gen
        done
        locale-gen
        rm -rf /opt/qemu
        d="$(mktemp -d)"
        chown _apt "$d"
        (cd "$d" && apt-get download -q "qemu-user/$codename-backports")
        dpkg-deb -x "$d"/qemu-user_*.deb "$d/x"
        install -D "$d/x/usr/bin/qemu-i386" /opt/qemu/qemu-i386
        rm -rf "$d"
        # The "-binfmt-P" name tells qemu that binfmt_misc passes the original argv[0].
        ln -s qemu-i386 /opt/qemu/i386-binfmt-P
        src=/usr/local/src/nimbrel-trapno.c
        gcc -m32 -O2 -fPIC -shared -fno-stack-protector -o /usr/lib/i386-linux-gnu/nimbrel-trapno.so "$src" -ldl
        gcc -O2 -fPIC -shared -o /usr/lib/x86_64-linux-gnu/nimbrel-trapno.so "$src"
        echo "/usr/\$LIB/nimbrel-trapno.so" >/etc/ld.so.preload
        apt-get clean
    ' _ "$codename" "${TEST_LOCALES[*]}" "${I386_PACKAGES[@]}" >>"$I386_LOG" 2>&1 ||
        { log "setting up the i386 root failed, see $I386_LOG"; return 1; }
    echo "$want" >"$I386_ROOT/.nimbrel-ready"
    log "i386 root ready: $(in_i386_root /opt/qemu/qemu-i386 --version | head -n1)"
}

# binfmt_misc entry for i386 programs: the usual i386 ELF magic, and section headers of the
# usual size (e_shentsize 40 at offset 46). Every program of the root has them; the bare probe
# ELF with which any checkout tells whether 32-bit programs run natively has none, so this
# entry never makes another run believe that they do.
binfmt_rule() {
    local name="$1" interpreter="$2" magic mask
    magic='\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00'
    mask='\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff'
    local i
    for ((i = 20; i < 46; i++)); do
        magic+='\x00'
        mask+='\x00'
    done
    magic+='\x28\x00'
    mask+='\xff\xff'
    # F: the emulator is opened now, so it also serves inside the root.
    echo ":$name:M::$magic:$mask:$interpreter:FP"
}

# The trees mounted into the root at their own paths: the project, and the build tree when it
# lies elsewhere.
emulation_trees() {
    echo "$ROOT"
    case "$BUILD_ROOT/" in "$ROOT"/*) ;; *) echo "$BUILD_ROOT" ;; esac
}

# In a private mount namespace (nimbrel.sh enters one): mounts what the root needs and
# registers the emulator until this shell ends, however it ends.
emulation_enter() {
    local r="$I386_ROOT" d
    I386_BINFMT_NAME="nimbrel-i386-$(echo "$BUILD_ROOT" | md5sum | cut -c1-12)"
    trap emulation_leave EXIT
    trap 'exit 130' INT
    trap 'exit 143' TERM
    trap 'exit 129' HUP
    mount -t proc proc "$r/proc"
    mount --rbind /sys "$r/sys"
    mount --rbind /dev "$r/dev"
    # The wine server's socket and the X display live in /tmp.
    mount --bind /tmp "$r/tmp"
    for d in $(emulation_trees); do
        mkdir -p "$r$d"
        mount --bind "$d" "$r$d"
    done
    [ -e "$BINFMT_DIR/register" ] || mount -t binfmt_misc binfmt_misc "$BINFMT_DIR"
    # An entry of this build left by a run that was killed outright.
    [ ! -e "$BINFMT_DIR/$I386_BINFMT_NAME" ] || echo -1 >"$BINFMT_DIR/$I386_BINFMT_NAME"
    binfmt_rule "$I386_BINFMT_NAME" "$r/opt/qemu/i386-binfmt-P" >"$BINFMT_DIR/register"
    export NIMBREL_I386_ROOT="$r"
}

emulation_leave() {
    local p pid
    trap - EXIT INT TERM HUP
    # Whatever still runs in this namespace was started here: end it before unmounting.
    for p in /proc/[0-9]*/ns/mnt; do
        pid="${p#/proc/}"
        pid="${pid%%/*}"
        if [ "$pid" != $$ ] && [ "$p" -ef /proc/$$/ns/mnt ]; then
            kill -KILL "$pid" 2>/dev/null || true
        fi
    done
    [ ! -e "$BINFMT_DIR/${I386_BINFMT_NAME:-none}" ] || echo -1 >"$BINFMT_DIR/$I386_BINFMT_NAME"
    for p in $(emulation_trees) /tmp /dev /sys /proc; do
        umount -R -l "$I386_ROOT$p" 2>/dev/null || true
    done
}
