#!/usr/bin/env bash
# The runtime of the shipped 32-bit build on a 64-bit Debian 12 machine whose kernel cannot run
# 32-bit code: qemu-i386 through binfmt_misc, and a Debian 12 chroot that holds wine64 beside
# wine32:i386. The host's own wine stays 64-bit only: with wine32 installed there, every new
# prefix (test, demo, open) would become a WoW64 prefix whose creation runs 32-bit code under
# emulation, minutes each. Needs root (mount, chroot).
#   wow64.sh setup            binfmt registration, chroot, wine and a prefix template (each step once)
#   wow64.sh prefix DIR       a WoW64 prefix at DIR, copied from the template (once per DIR)
#   wow64.sh run CMD [ARG...] CMD inside the chroot, with this work tree at the same path
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
root=${TWK_WOW64_ROOT:-/var/cache/tarnwick/wow64-root}
template=/opt/twk-wow64-prefix   # inside the chroot
mirror=http://deb.debian.org/debian

sudo=""
[ "$(id -u)" -eq 0 ] || sudo=sudo

log() { echo "wow64: $*" >&2; }

# The kernel opens the interpreter when the entry is written (F flag), so it also works inside
# the chroot, which holds no qemu of its own. Magic and mask: an i386 ELF executable or library.
register_binfmt() {
    local dir=/proc/sys/fs/binfmt_misc
    [ -e "$dir/register" ] || $sudo mount -t binfmt_misc binfmt_misc "$dir"
    [ -e "$dir/qemu-i386" ] && return 0
    log "registering qemu-i386-static for i386 ELF"
    printf '%s' ':qemu-i386:M::\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00:\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff:/usr/bin/qemu-i386-static:F' \
        | $sudo tee "$dir/register" >/dev/null
}

# Runs CMD in the chroot in a mount namespace of its own, so that nothing stays mounted after it.
in_chroot() {
    local binds=("$here")
    [ -n "${TWK_BUILD_DIR:-}" ] && binds+=("$TWK_BUILD_DIR")
    $sudo unshare -m --propagation private bash -euc '
        root=$1; shift; count=$1; shift
        mount -t proc proc "$root/proc"
        mount --rbind /dev "$root/dev"
        for ((i = 0; i < count; i++)); do
            mkdir -p "$root$1"; mount --bind "$1" "$root$1"; shift
        done
        exec chroot "$root" /usr/bin/env PATH=/usr/local/bin:/usr/bin:/bin:/usr/sbin:/sbin HOME=/root "$@"
    ' in_chroot "$root" "${#binds[@]}" "${binds[@]}" bash -c 'cd "$1" 2>/dev/null || cd /; shift; exec "$@"' - "$PWD" "$@"
}

make_chroot() {
    [ -f "$root/.twk-debootstrap" ] && return 0
    log "debootstrap of Debian 12 into $root (a few minutes)"
    $sudo mkdir -p "$root"
    $sudo debootstrap --variant=minbase bookworm "$root" "$mirror" >"$root.debootstrap.log" 2>&1 \
        || { log "debootstrap failed, see $root.debootstrap.log"; exit 1; }
    $sudo touch "$root/.twk-debootstrap"
}

install_wine() {
    [ -f "$root/.twk-wine" ] && return 0
    log "installing wine64 and wine32:i386 in the chroot (a few minutes)"
    in_chroot bash -euc '
        export DEBIAN_FRONTEND=noninteractive
        dpkg --add-architecture i386
        apt-get update -qq
        apt-get install -y -qq --no-install-recommends wine wine64 wine32:i386 fonts-dejavu-core procps
    ' >"$root.wine.log" 2>&1 || { log "wine install failed, see $root.wine.log"; exit 1; }
    $sudo touch "$root/.twk-wine"
}

# wineboot of a WoW64 prefix runs 32-bit setup code under emulation (several minutes), so it runs
# once, into a template that each test prefix copies. The 64-bit loader runs the setup's helpers.
make_template() {
    [ -f "$root$template/.twk-test-ready" ] && return 0
    log "creating the WoW64 prefix template (several minutes)"
    in_chroot env TWK_WINE=/usr/lib/wine/wine64 TWK_PREFIX_TIMEOUT=1500 "$here/scripts/wine-prefix.sh" test "$template"
}

case "${1:-}" in
    setup)
        "$here/scripts/setup.sh"
        register_binfmt; make_chroot; install_wine; make_template ;;
    prefix)
        dir=${2:?wow64.sh prefix DIR}
        [ -f "$dir/.twk-test-ready" ] && exit 0
        [ -f "$root$template/.twk-test-ready" ] || { log "no template: run wow64.sh setup first"; exit 1; }
        rm -rf "$dir"; mkdir -p "$(dirname "$dir")"
        cp -a "$root$template" "$dir" ;;
    run)
        shift; register_binfmt; in_chroot "$@" ;;
    *) sed -n '2,9p' "$0"; exit 2 ;;
esac
