#!/usr/bin/env bash
# Builds everything, the Qt window tests included, with g++ under
# AddressSanitizer (leaks included) and UndefinedBehaviorSanitizer in build-asan/
# (the asan preset), then runs the whole test suite there. Any report fails the run.
set -euo pipefail
cd "$(dirname "$0")/.."

cmake --preset asan
cmake --build --preset asan
ctest --preset asan -j "$(nproc)"
