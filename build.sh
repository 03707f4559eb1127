#!/usr/bin/env bash
# Sets up a Debian 12 or 13 machine for Pipwright, builds it and then either
# opens the calculator (./build.sh run) or runs every test (./build.sh test).
# Missing Debian packages are installed first, as root or through sudo; nothing
# already installed is replaced or removed.
set -euo pipefail
cd "$(dirname "$0")"

# The program alone: Qt's development package brings the libraries and the
# platform plugins the window needs; qt6-wayland lets it open a native window
# on a Wayland desktop rather than going through XWayland; Qt SVG saves the
# compared rolls' plot; Qt Print Support, which qt6-base-dev holds, prints them;
# Qt's Linguist tools (lupdate, lrelease and their CMake
# functions) build the window's translations into it; GMP's the exact counts of
# the dice engine; nlohmann's JSON headers the command line's --json, built
# here too.
app_packages=(cmake ninja-build g++ pkg-config qt6-base-dev qt6-wayland qt6-svg-dev
    qt6-tools-dev qt6-tools-dev-tools qt6-l10n-tools fonts-dejavu-core libgmp-dev nlohmann-json3-dev)
# The tests and benchmarks; the validators, the resource compiler and the Debian
# package tools for packaging/check.sh, shared-mime-info among them for the type
# of a .rolls file; poppler-utils' pdftotext reads back the PDF that Compare
# Rolls exports; clang with the sanitizer and fuzzer
# run-time for tests/fuzz/run.sh, and clang-format. The unversioned clang,
# libclang-rt-dev and llvm all follow the release's default LLVM, so the
# run-time always matches the compiler. Weston's headless compositor runs the
# window once on Wayland (tests/wayland_run.sh).
test_packages=(libgtest-dev libbenchmark-dev
    desktop-file-utils shared-mime-info appstream binutils-mingw-w64-x86-64 dpkg-dev file lintian poppler-utils
    clang libclang-rt-dev llvm clang-format weston)

as_root() {
    if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}

install_missing() {
    local missing=() package
    for package in "$@"; do
        dpkg-query -W -f='${db:Status-Status}' "$package" 2>/dev/null | grep -qx installed || missing+=("$package")
    done
    if [ ${#missing[@]} -gt 0 ]; then
        echo "Installing ${missing[*]}"
        as_root apt-get update
        as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends "${missing[@]}"
    fi
}

# Runs a step and says how long it took, so that a slow test run shows where.
timed() {
    local start=$SECONDS
    "$@"
    echo "== $* took $((SECONDS - start)) s"
}

case "${1:-}" in
run)
    install_missing "${app_packages[@]}"
    cmake --preset app
    cmake --build --preset app
    exec build-app/window/pipwright
    ;;
test)
    install_missing "${app_packages[@]}" "${test_packages[@]}"
    find runtime rollstats numtext dice compare cli window tests bench \( -name '*.cpp' -o -name '*.h' \) -print0 \
        | xargs -0 clang-format --dry-run --Werror
    timed cmake --preset ci
    timed cmake --build --preset ci
    timed ctest --preset ci -j "$(nproc)"
    timed tests/wayland_run.sh build-ci
    timed tests/sanitize.sh
    timed tests/fuzz/run.sh
    timed packaging/check.sh build-ci
    ;;
*)
    echo "usage: $0 run|test" >&2
    exit 2
    ;;
esac
