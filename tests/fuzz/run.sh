#!/usr/bin/env bash
# Runs a libFuzzer target: first every committed input, whole, then a
# search. In CI the search is bounded and repeats exactly: a fixed seed and
# number of runs from a fresh work folder, with address randomisation off
# (comparisons of addresses steer the search) and no corpus reloads (which
# go by the clock). With FUZZ_SECONDS set (scripts/fuzz) it searches that
# long instead, in a work folder WORK-long that it keeps.
# Usage: run.sh FUZZER WORK RUNS CORPUS [MORE SEED FOLDERS...]
set -euo pipefail
fuzzer=$1 work=$2 runs=$3 corpus=$4
shift 4
# Each input finishes in seconds, also under the sanitizers; the limit is
# set far above that so that only a hang trips it on a busy machine.
limits=(-timeout=60 -rss_limit_mb=2048)
"$fuzzer" "${limits[@]}" "$corpus"/*
search=("${limits[@]}" -max_len=16384 -artifact_prefix="$work-" -print_final_stats=1)
# A target's dictionary, when it has one, lies beside its corpus.
if [ -f "$corpus.dict" ]; then search+=(-dict="$corpus.dict"); fi
if [ -n "${FUZZ_SECONDS:-}" ]; then
  mkdir -p "$work-long"
  exec "$fuzzer" "${search[@]}" -max_total_time="$FUZZ_SECONDS" "$work-long" "$corpus" "$@"
fi
fixed=()
if setarch "$(uname -m)" -R true 2>/dev/null; then fixed=(setarch "$(uname -m)" -R); fi
rm -rf "$work"
mkdir -p "$work"
exec "${fixed[@]}" "$fuzzer" "${search[@]}" -seed=1 -runs="$runs" -reload=0 "$work" "$corpus" "$@"
