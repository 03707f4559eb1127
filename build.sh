#!/usr/bin/env bash
# Sets up a Debian 12 or 13 machine for Pipwright, builds it and then either
# opens the calculator (./build.sh run), builds the web page and serves it
# (./build.sh web) or runs every test (./build.sh test).
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
# The web page: Emscripten compiles the engine to WebAssembly (and brings the
# node it runs on); autoconf, automake and libtool regenerate the scripts of
# Debian's GMP source, which leaves out its manual, before GMP is built for
# WebAssembly; dpkg-dev unpacks that source; Python bundles the page and
# serves it; Chromium runs the page's tests, headless.
web_packages=(emscripten autoconf automake libtool dpkg-dev python3)
web_test_packages=(chromium)

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

# npm installs the browser tests' driver. Debian's nodejs leaves it to the
# npm package; a Node.js from elsewhere may bring its own, which stays.
install_npm() {
    command -v npm >/dev/null || install_missing npm
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
    find runtime rollstats numtext dice compare cli window tests bench web/glue \( -name '*.cpp' -o -name '*.h' \) -print0 \
        | xargs -0 clang-format --dry-run --Werror
    timed cmake --preset ci
    timed cmake --build --preset ci
    timed ctest --preset ci -j "$(nproc)"
    timed tests/wayland_run.sh build-ci
    timed tests/sanitize.sh
    timed tests/fuzz/run.sh
    timed packaging/check.sh build-ci
    # CI's fresh root of the second release leaves the page out, to stay
    # within its time; the first release builds and drives it.
    if [ "${PIPWRIGHT_SKIP_WEB:-}" != 1 ]; then
        install_missing "${web_packages[@]}"
        timed web/build.sh
        install_missing "${web_test_packages[@]}"
        install_npm
        (cd web && npm ci --no-audit --no-fund)
        timed node web/tests/browser_test.mjs build-web/site build-ci/cli/pipwright-cli
    fi
    ;;
web)
    install_missing "${web_packages[@]}"
    web/build.sh
    echo "Serving the page at http://127.0.0.1:8000/ (Ctrl+C stops)"
    exec python3 -m http.server 8000 --bind 127.0.0.1 --directory build-web/site
    ;;
*)
    echo "usage: $0 run|web|test" >&2
    exit 2
    ;;
esac
