#!/usr/bin/env bash
# Runs the README's two commands as a newcomer would, on a fresh Debian root of
# RELEASE (bookworm or trixie, say) that holds nothing but the minimal base and
# git: builds the root with debootstrap from the Debian mirror this machine's apt
# already uses, copies the checkout in, then runs `./build.sh run` (the program
# must start and close cleanly on SIGTERM) and `./build.sh test` inside it. The
# root is a throwaway, so the packaging check installs and removes the package
# there. Needs root; installs debootstrap here if it is missing, and removes the
# root when done.
#
#   tests/fresh_root.sh RELEASE
set -euo pipefail

release=${1:?usage: $0 RELEASE}
[[ $(id -u) -eq 0 ]] || { echo "$0 must run as root (debootstrap and chroot)" >&2; exit 1; }
# Everything mounted for the root lives in a mount namespace of this script's
# own, so none of it reaches the host's mounts, and all of it goes when the
# script ends, however it ends.
if [[ -z ${PIPWRIGHT_OWN_MOUNTS-} ]]; then
    exec unshare --mount --propagation private env PIPWRIGHT_OWN_MOUNTS=1 "$(readlink -f "$0")" "$@"
fi
cd "$(dirname "$0")/.."

# The first Debian archive named in apt's sources (deb822 or one-line form),
# not a security or other archive.
mirror=$(cat /etc/apt/sources.list /etc/apt/sources.list.d/*.list /etc/apt/sources.list.d/*.sources 2>/dev/null \
    | sed -n -e 's/^URIs:[[:space:]]*//p' -e 's/^deb[[:space:]]\+\(\[[^]]*\][[:space:]]\+\)\?//p' \
    | tr ' ' '\n' | grep -E '^https?://[^[:space:]]+/debian/?$' | head -n 1 || true)
[[ -n $mirror ]] || { echo "no Debian mirror found in /etc/apt/sources.list.d" >&2; exit 1; }

if ! command -v debootstrap >/dev/null; then
    apt-get update
    DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends debootstrap
fi

root=$(mktemp -d /var/tmp/pipwright-root.XXXXXX)
# The root directory of a system: every user must reach what lies below it.
chmod 755 "$root"
mounted=()
cleanup() {
    local i
    for ((i = ${#mounted[@]} - 1; i >= 0; i--)); do
        umount -l "${mounted[i]}" 2>/dev/null || true
    done
    rm -rf --one-file-system "$root"
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

# The checkout as it stands, without build trees or anything git ignores.
mkdir -p "$root/root/pipwright"
while IFS= read -r -d '' file; do
    if [[ -e $file ]]; then printf '%s\0' "$file"; fi
done < <(git ls-files -z --cached --others --exclude-standard) | tar --null -T - -cf - | tar -xf - -C "$root/root/pipwright"

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
in_root bash -c 'cd /root/pipwright && ./build.sh test'
echo "== $release: both commands passed in $((SECONDS - start)) s"
