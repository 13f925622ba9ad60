#!/usr/bin/env bash
# The utility's CPU while its status animation plays, shown and hidden:
# runs animation_cpu_bench.exe, which drives Vantra.exe through its phases,
# and reads the CPU time of Vantra.exe's process from /proc at each mark.
# Usage: bench/animation_cpu_bench.sh [win64|win32]   (after scripts/test)
set -euo pipefail
source "$(dirname "$0")/../scripts/lib.sh"
arch=${1:-win64}
wine_env "$arch"
ensure_display
ticks_per_second=$(getconf CLK_TCK)

pid_of_vantra() { pgrep -f 'vantra-e2e-animation-cpu.Vantra\.exe' | head -n 1; }
cpu_ticks() { awk '{ print $14 + $15 }' "/proc/$1/stat"; } # user + system

declare -A start_ticks start_time
cd "$BUILD/$arch/bench"
"$WINE" ./animation_cpu_bench.exe 2>/dev/null | while read -r word name mark; do
  mark=${mark%$'\r'}
  [ "$word" = phase ] || continue
  pid=$(pid_of_vantra)
  now=$(date +%s.%N)
  if [ "$mark" = begins ]; then
    start_ticks[$name]=$(cpu_ticks "$pid")
    start_time[$name]=$now
  else
    awk -v t0="${start_ticks[$name]}" -v t1="$(cpu_ticks "$pid")" -v s0="${start_time[$name]}" -v s1="$now" \
        -v hz="$ticks_per_second" -v name="$name" \
        'BEGIN { printf "%-16s %6.2f %% of one core\n", name, (t1 - t0) / hz / (s1 - s0) * 100 }'
  fi
done
