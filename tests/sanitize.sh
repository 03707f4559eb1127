#!/usr/bin/env bash
# Builds everything, the Qt window tests included, with g++ under
# AddressSanitizer (leaks included) and UndefinedBehaviorSanitizer in build-asan/,
# then runs the whole test suite there. Any report fails the run.
set -euo pipefail
cd "$(dirname "$0")/.."

tree=build-asan
sanitize="-fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer"

# RelWithDebInfo: optimised enough for the tests over every admitted roll,
# with line numbers in the reports.
cmake -S . -B "$tree" -G Ninja \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_CXX_COMPILER=g++ \
    -DCMAKE_COMPILE_WARNING_AS_ERROR=ON \
    -DCMAKE_CXX_FLAGS="$sanitize" \
    -DCMAKE_EXE_LINKER_FLAGS="-fsanitize=address,undefined" \
    -DCMAKE_SHARED_LINKER_FLAGS="-fsanitize=address,undefined"
cmake --build "$tree"

export ASAN_OPTIONS=detect_leaks=1:strict_string_checks=1:detect_stack_use_after_return=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
export QT_QPA_PLATFORM=offscreen
ctest --test-dir "$tree" --output-on-failure -j "$(nproc)"
