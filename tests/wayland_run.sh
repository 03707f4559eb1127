#!/usr/bin/env bash
# Runs the calculator on Wayland, as Debian's default desktop session does:
# starts a headless Weston compositor in a runtime folder of its own, then
# with QT_QPA_PLATFORM=wayland runs tests/tools/wayland_check (the window shows
# with its menu bar, a Compute works, the chart opens, it closes with status 0)
# and starts the program itself, which must be running after two seconds and
# end with status 0 on SIGTERM. The compositor is stopped however this ends.
# Usage: tests/wayland_run.sh BUILD_DIR
set -euo pipefail

fail() {
    echo "wayland_run: $*" >&2
    exit 1
}

[[ $# -eq 1 ]] || { echo "usage: $0 BUILD_DIR" >&2; exit 2; }
build=$(cd "$1" && pwd) || fail "no build directory $1"
check=$build/tests/wayland_check
program=$build/window/pipwright
[[ -x $check && -x $program ]] || fail "build $build first (wayland_check and pipwright are missing)"
command -v weston >/dev/null || fail "weston not found (Debian package weston)"

runtime=$(mktemp -d)
chmod 0700 "$runtime"
weston_pid=
program_pid=
cleanup() {
    [[ -z $program_pid ]] || kill -KILL "$program_pid" 2>/dev/null || true
    if [[ -n $weston_pid ]]; then
        kill "$weston_pid" 2>/dev/null || true
        wait "$weston_pid" 2>/dev/null || true
    fi
    rm -rf "$runtime"
}
trap cleanup EXIT
trap 'exit 1' INT TERM HUP

# Weston 10 (Debian 12) names a backend by its module, later ones by name.
weston_major=$(weston --version | sed -n 's/^weston \([0-9]*\)\..*/\1/p')
[[ -n $weston_major ]] || fail "cannot read the version of weston: $(weston --version 2>&1)"
if ((weston_major < 11)); then backend=headless-backend.so; else backend=headless; fi
socket=wayland-pipwright
echo "== weston $weston_major, --backend=$backend, XDG_RUNTIME_DIR=$runtime"
XDG_RUNTIME_DIR=$runtime weston --backend="$backend" --socket="$socket" --idle-time=0 \
    >"$runtime/weston.log" 2>&1 &
weston_pid=$!
for _ in $(seq 100); do
    [[ -S $runtime/$socket ]] && break
    kill -0 "$weston_pid" 2>/dev/null || { cat "$runtime/weston.log" >&2; fail "weston ended at start"; }
    sleep 0.1
done
[[ -S $runtime/$socket ]] || { cat "$runtime/weston.log" >&2; fail "weston made no socket in 10 s"; }

run_env=(env -u DISPLAY XDG_RUNTIME_DIR="$runtime" WAYLAND_DISPLAY="$socket" QT_QPA_PLATFORM=wayland)

echo "== wayland_check"
status=0
"${run_env[@]}" timeout 60 "$check" || status=$?
[[ $status -eq 0 ]] || fail "wayland_check ended with status $status"

echo "== pipwright"
"${run_env[@]}" "$program" &
program_pid=$!
sleep 2
kill -0 "$program_pid" 2>/dev/null || { wait "$program_pid" || true; program_pid=; fail "pipwright ended before 2 s"; }
kill -TERM "$program_pid"
status=0
for _ in $(seq 100); do
    kill -0 "$program_pid" 2>/dev/null || break
    sleep 0.1
done
kill -0 "$program_pid" 2>/dev/null && fail "pipwright still running 10 s after SIGTERM"
wait "$program_pid" || status=$?
program_pid=
[[ $status -eq 0 ]] || fail "pipwright ended with status $status after SIGTERM"
echo "pipwright ran and closed with status 0"
echo "== Wayland run passed"
