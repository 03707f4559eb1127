#!/usr/bin/env bash
# Runs the README's two commands as a newcomer would, on a fresh Debian root of
# RELEASE (bookworm or trixie, say) that holds nothing but the minimal base and
# git: builds the root with debootstrap from the Debian mirror this machine's apt
# already uses, copies the checkout in, then runs `./build.sh run` (the program
# must start and close cleanly on SIGTERM) and `./build.sh test` inside it. The
# root is a throwaway, so the packaging check installs and removes the package
# there. Needs root; installs debootstrap here if it is missing, and removes the
# root when done. Needs the right to mount (the host, or a privileged container
# or chroot); without it, it says so and fails.
#
#   tests/fresh_root.sh RELEASE
set -euo pipefail

release=${1:?usage: $0 RELEASE}
fail() {
    echo "fresh_root: $*" >&2
    exit 1
}
[[ $(id -u) -eq 0 ]] || fail "must run as root (debootstrap, mount and chroot)"

# Everything mounted for the root lives in a mount namespace of this script's
# own and goes when the script ends, however it ends. The new root is made a
# mount point of its own first, so that mounts under it can be kept from the
# host even where / is no mount point (inside a chroot or some containers);
# that one bind mount is undone here, outside the namespace.
if [[ -z ${PIPWRIGHT_OWN_MOUNTS-} ]]; then
    root=$(mktemp -d /var/tmp/pipwright-root.XXXXXX)
    cleanup_outer() {
        if mountpoint -q "$root"; then umount -l "$root" || true; fi
        rm -rf --one-file-system "$root"
    }
    trap cleanup_outer EXIT
    error=$(mount --bind "$root" "$root" 2>&1) \
        || fail "cannot mount here, so no fresh root (needs a privileged container or the host): $error"
    status=0
    unshare --mount --propagation unchanged env PIPWRIGHT_OWN_MOUNTS=1 PIPWRIGHT_ROOT="$root" \
        "$(readlink -f "$0")" "$@" || status=$?
    exit "$status"
fi
root=${PIPWRIGHT_ROOT:?}
# Private from / down where / is a mount point; below the new root in any case.
mount --make-rprivate / 2>/dev/null || true
mount --make-rprivate "$root" || fail "cannot make $root private in this mount namespace"
cd "$(dirname "$0")/.."

# The first Debian archive named in apt's sources (deb822 or one-line form),
# not a security or other archive.
mirror=$(cat /etc/apt/sources.list /etc/apt/sources.list.d/*.list /etc/apt/sources.list.d/*.sources 2>/dev/null \
    | sed -n -e 's/^URIs:[[:space:]]*//p' -e 's/^deb[[:space:]]\+\(\[[^]]*\][[:space:]]\+\)\?//p' \
    | tr ' ' '\n' | grep -E '^https?://[^[:space:]]+/debian/?$' | head -n 1 || true)
[[ -n $mirror ]] || fail "no Debian mirror found in /etc/apt/sources.list.d"

if ! command -v debootstrap >/dev/null; then
    apt-get update
    DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends debootstrap
fi

# The root directory of a system: every user must reach what lies below it.
chmod 755 "$root"
mounted=()
cleanup() {
    local i
    for ((i = ${#mounted[@]} - 1; i >= 0; i--)); do
        umount -l "${mounted[i]}" 2>/dev/null || true
    done
}
trap cleanup EXIT

echo "== debootstrap $release from $mirror into $root"
start=$SECONDS
# A mirror reached over TLS needs the certificates, the one thing besides git.
include=git
[[ $mirror == https://* ]] && include+=,ca-certificates
debootstrap --variant=minbase --include="$include" "$release" "$root" "$mirror" >"$root.log" 2>&1 \
    || { tail -n 30 "$root.log"; rm -f "$root.log"; exit 1; }
rm -f "$root.log"
echo "root ready in $((SECONDS - start)) s"

for fs in proc sys dev dev/pts; do
    mount --bind "/$fs" "$root/$fs"
    mounted+=("$root/$fs")
done
mount -t tmpfs tmpfs "$root/dev/shm" 2>/dev/null && mounted+=("$root/dev/shm") || true
cp /etc/resolv.conf "$root/etc/resolv.conf"

# The checkout as it stands, without build trees or anything git ignores; a
# tree that is no git checkout (an unpacked archive) as it is, without its
# build folders.
mkdir -p "$root/root/pipwright"
list=$(mktemp)
if git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
    git ls-files -z --cached --others --exclude-standard >"$list" || fail "git ls-files failed"
    while IFS= read -r -d '' file; do
        if [[ -e $file ]]; then printf '%s\0' "$file"; fi
    done <"$list" | tar --null -T - -cf - | tar -xf - -C "$root/root/pipwright"
else
    echo "not a git checkout: copying the tree as it is, without .git and build folders"
    tar --exclude=./.git --exclude=./build --exclude='./build-*' --exclude=./out -cf - . \
        | tar -xf - -C "$root/root/pipwright"
fi
rm -f "$list"
[[ -x $root/root/pipwright/build.sh ]] || fail "the copied tree has no build.sh"

in_root() {
    chroot "$root" /usr/bin/env -i HOME=/root PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin \
        LANG=C.UTF-8 TERM=dumb PIPWRIGHT_THROWAWAY_ROOT=1 "$@"
}

echo "== ./build.sh run on $release"
# No display here: the program opens offscreen, must stay up, and must close with
# status 0 on SIGTERM as on logout.
in_root QT_QPA_PLATFORM=offscreen bash -c '
    cd /root/pipwright
    ./build.sh run &
    pid=$!
    until [ "$(cat /proc/$pid/comm 2>/dev/null)" = pipwright ]; do
        kill -0 "$pid" 2>/dev/null || { wait "$pid"; echo "./build.sh run ended before the program started"; exit 1; }
        sleep 1
    done
    sleep 3
    kill -0 "$pid" || { echo "the program did not stay up"; exit 1; }
    kill -TERM "$pid"
    wait "$pid" && echo "the program started and closed cleanly"'

echo "== ./build.sh test on $release"
# The test command's own time knobs, when the caller sets them, reach the root.
knobs=()
for knob in FUZZ_SECONDS PIPWRIGHT_SKIP_WEB; do
    if [[ -n ${!knob-} ]]; then knobs+=("$knob=${!knob}"); fi
done
in_root "${knobs[@]}" bash -c 'cd /root/pipwright && ./build.sh test'
echo "== $release: both commands passed in $((SECONDS - start)) s"
