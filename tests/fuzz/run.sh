#!/usr/bin/env bash
# Builds the fuzzers of the number text and the dice notation with clang in
# build-fuzz/ (the fuzz preset) and runs each for a bounded time on a copy of the
# seed corpus, so the repository stays clean. FUZZ_SECONDS sets the time per
# fuzzer (default 45). Fails on any crash,
# sanitizer report, timeout or violated property.
set -euo pipefail
cd "$(dirname "$0")/../.."

seconds=${FUZZ_SECONDS:-45}
tree=build-fuzz

cmake --preset fuzz
cmake --build --preset fuzz

# Symbolized stack traces in the reports, when the symbolizer is installed.
if command -v llvm-symbolizer >/dev/null; then
    export ASAN_SYMBOLIZER_PATH
    ASAN_SYMBOLIZER_PATH=$(command -v llvm-symbolizer)
fi
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1

status=0
# Each fuzzer with the name of its seed corpus and dictionary.
for pair in numtext_parse_fuzz:parse numtext_format_fuzz:format dice_parse_fuzz:dice; do
    target=${pair%%:*}
    name=${pair#*:}
    fuzzer=$tree/tests/fuzz/$target
    work=$tree/fuzz-$name
    rm -rf "$work"
    mkdir -p "$work/artifacts"
    cp -R "tests/fuzz/corpus/$name" "$work/corpus"
    options=(-max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -artifact_prefix="$work/artifacts/")
    if [ -f "tests/fuzz/$name.dict" ]; then
        options+=(-dict="tests/fuzz/$name.dict")
    fi
    echo "== $target for ${seconds}s"
    if "$fuzzer" "${options[@]}" "$work/corpus" >"$work/log" 2>&1; then
        grep -E '^Done [0-9]+ runs' "$work/log" || { tail -n 20 "$work/log"; status=1; }
    else
        tail -n 60 "$work/log"
        echo "$target FAILED; inputs kept in $work/artifacts/" >&2
        status=1
    fi
done
exit $status
