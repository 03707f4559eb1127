#!/usr/bin/env bash
# Times a whole pipwright-cli process on the crit against /bin/true, both in
# one hyperfine run so that they share the machine's load, and prints each
# median and how far apart they are (target: within 2 ms).
#
#     bench/process_time.sh [PIPWRIGHT_CLI] [RUNS]
#
# PIPWRIGHT_CLI defaults to the one in build-ci/ or else build/. hyperfine is
# Debian's package of that name (apt-get install --no-install-recommends hyperfine).
set -euo pipefail
cd "$(dirname "$0")/.."

cli=${1:-}
if [ -z "$cli" ]; then
    for candidate in build-ci/cli/pipwright-cli build/cli/pipwright-cli; do
        if [ -x "$candidate" ]; then
            cli=$candidate
            break
        fi
    done
fi
if [ -z "$cli" ] || [ ! -x "$cli" ]; then
    echo "process_time.sh: no pipwright-cli built; build the ci or release preset first" >&2
    exit 2
fi
if ! command -v hyperfine >/dev/null; then
    echo "process_time.sh: hyperfine is missing (apt-get install --no-install-recommends hyperfine)" >&2
    exit 2
fi
runs=${2:-500}

crit='let atk = 1d20 in if atk = 20 then 2d8+3 else if atk + 5 >= 15 then 1d8+3 else 0'
results=$(mktemp)
trap 'rm -f "$results"' EXIT
# -N runs each command without a shell in between, as a script would.
hyperfine -N --style basic --warmup 50 --runs "$runs" --export-json "$results" \
    --command-name crit "$cli '$crit'" \
    --command-name /bin/true /bin/true >&2

python3 - "$results" <<'EOF'
import json
import sys

results = {r["command"]: r for r in json.load(open(sys.argv[1]))["results"]}
crit = results["crit"]["median"] * 1000
true = results["/bin/true"]["median"] * 1000
print(f"pipwright-cli on the crit: {crit:.2f} ms median")
print(f"/bin/true:                 {true:.2f} ms median")
print(f"difference:                {crit - true:.2f} ms (target: at most 2 ms)")
EOF
