#!/usr/bin/env bash
# Sets up a Debian 12 machine for Pipwright, builds it and then either opens
# the calculator (./build.sh run) or runs every test (./build.sh test).
# Missing Debian packages are installed first, as root or through sudo.
set -euo pipefail
cd "$(dirname "$0")"

build_packages=(cmake ninja-build g++ pkg-config qt6-base-dev libgtest-dev libbenchmark-dev)
run_packages=(libqt6widgets6 fonts-dejavu-core)
# Validators, the resource compiler and the Debian package tools (file included, which
# dpkg-shlibdeps needs) for packaging/check.sh;
# clang with its fuzzing and sanitizer run-time for tests/fuzz/run.sh; clang-format.
test_packages=(desktop-file-utils appstream binutils-mingw-w64-x86-64 dpkg-dev file clang libclang-rt-14-dev llvm-14
    clang-format)

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

build() {
    cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_COMPILE_WARNING_AS_ERROR=ON
    cmake --build build
}

case "${1:-}" in
run)
    install_missing "${build_packages[@]}" "${run_packages[@]}"
    build
    exec build/window/pipwright
    ;;
test)
    install_missing "${build_packages[@]}" "${run_packages[@]}" "${test_packages[@]}"
    find runtime rollstats numtext window tests bench \( -name '*.cpp' -o -name '*.h' \) -print0 \
        | xargs -0 clang-format --dry-run --Werror
    build
    ctest --test-dir build --output-on-failure
    tests/sanitize.sh
    tests/fuzz/run.sh
    as_root packaging/check.sh build
    ;;
*)
    echo "usage: $0 run|test" >&2
    exit 2
    ;;
esac
