#!/usr/bin/env bash
# Puts the generator's speed next to a yardstick everybody has: mawk printing the same
# million copy commands. Builds the benchmark in build/bench (Release) if needed.
# Last line of output: vormix_ns_per_command=<n> mawk_ns_per_command=<n> speedup=<n>
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="$root/build/bench"
commands=1000000  # as many as the benchmark's batch and the awk program below
repetitions=5

if [[ ! -f "$build/CMakeCache.txt" ]]; then
    cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release -DVORMIX_BUILD_TESTS=OFF >&2
fi
cmake --build "$build" --target vormix_bench -j"$(nproc)" >&2

# The best of several runs on both sides: the slower runs measure the machine, not the code.
json="$("$build/bench/vormix_bench" --benchmark_filter='^BM_GenerateCommands$' \
    --benchmark_repetitions="$repetitions" --benchmark_format=json)"
vormix_ns="$(printf '%s\n' "$json" | awk '
    /"run_type":/      { iteration = ($0 ~ /"iteration"/) }
    /"ns_per_command":/ && iteration {
        value = $2; sub(/,$/, "", value); value += 0
        if (best == "" || value < best) best = value
    }
    END { if (best == "") exit 1; print best }')" || {
    echo "compare.sh: no ns_per_command in the benchmark output" >&2
    exit 1
}

if ! command -v mawk >/dev/null 2>&1; then
    if [[ "$(id -u)" -eq 0 ]] && command -v apt-get >/dev/null 2>&1; then
        apt-get install -y mawk >&2 || true
    fi
fi
if command -v mawk >/dev/null 2>&1; then
    awk_tool=mawk
else
    awk_tool=awk
    echo "compare.sh: mawk is not installed, timing $(command -v awk) instead" >&2
fi

tmpfile="$(mktemp)"
trap 'rm -f "$tmpfile"' EXIT
best_awk_ns=""
for ((run = 0; run < repetitions; ++run)); do
    start=$(date +%s%N)
    "$awk_tool" 'BEGIN{for(k=0;k<1000000;k++) printf "copy a%d.txt b%d.txt\r\n", k, 100+5*k}' >"$tmpfile"
    end=$(date +%s%N)
    elapsed=$((end - start))
    if [[ -z "$best_awk_ns" || "$elapsed" -lt "$best_awk_ns" ]]; then
        best_awk_ns=$elapsed
    fi
done

awk -v v="$vormix_ns" -v total="$best_awk_ns" -v n="$commands" 'BEGIN {
    m = total / n
    printf "vormix_ns_per_command=%.2f mawk_ns_per_command=%.2f speedup=%.2f\n", v, m, m / v
}'
