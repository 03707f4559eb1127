#!/usr/bin/env bash
# Builds the page into build-web/site: GMP for WebAssembly, the engine with
# Debian's Emscripten, then the static files.
set -euo pipefail
cd "$(dirname "$0")/.."
out=$PWD/build-web
web/build_gmp.sh "$out"
# Debian's Emscripten runs its JavaScript tools with the machine's node,
# which finds Debian's node-acorn only where Debian's node would look.
export NODE_PATH=${NODE_PATH:+$NODE_PATH:}/usr/share/nodejs
# Only nlohmann's headers, not the rest of the machine's /usr/include, whose
# GMP is the native one.
mkdir -p "$out/include"
ln -sfn /usr/include/nlohmann "$out/include/nlohmann"
launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
emcmake cmake -S web -B "$out/engine" -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_COMPILE_WARNING_AS_ERROR=ON \
    -DPIPWRIGHT_GMP="$out/gmp" -DPIPWRIGHT_JSON_INCLUDE="$out/include" "${launcher[@]}"
cmake --build "$out/engine" -j "$(nproc)"
python3 web/bundle.py "$out/engine/engine.js" web "$out/site"
echo "The page is in $out/site"
