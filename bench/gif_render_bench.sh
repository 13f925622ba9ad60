#!/usr/bin/env bash
# Frame rendering of the GIF unit (gif_render_bench.exe under Wine) beside
# ImageMagick's decoding of the same frames, in milliseconds per megapixel,
# on the largest frames of the real GIF files that fetch_gifs.sh fetches
# and a few small ones. Build the Windows tree first (scripts/test or
# cmake --build build/win64). Usage: gif_render_bench.sh [FRAMES]
set -euo pipefail
source "$(dirname "$0")/../scripts/lib.sh"
count=${1:-12}
choose_wine_arch
files=$NATIVE_BUILD/bench_gifs # shared with gif_bench
[ -d "$files/files" ] || "$ROOT/bench/fetch_gifs.sh" "$files" >/dev/null
# The largest frames, then as many from the middle of the sizes.
mapfile -t frames < <(/usr/bin/identify -format '%i %s %w %h\n' "$files"/files/*.gif 2>/dev/null |
  awk '{print $3 * $4, $1 ":" $2}' | sort -rn | awk -v n="$count" 'NR <= n {print $2} {all[NR] = $2} END {
    for (i = int(NR / 2); i < int(NR / 2) + n / 2 && i <= NR; i++) print all[i] }')

ours=$(mktemp)
trap 'rm -f "$ours"' EXIT
"$ROOT/scripts/wine-run" "$WINE_ARCH" "$WIN_BUILD/bench/gif_render_bench.exe" "${frames[@]/#/Z:}" 2>/dev/null |
  tr -d '\r' > "$ours"
printf '%-58s %5s %9s %18s %18s\n' file frame size "ours: render" "ImageMagick: decode"
tail -n +2 "$ours" | while read -r name index size ms; do
  [[ "$ms" =~ ^[0-9.]+$ ]] || continue
  w=${size%x*} h=${size#*x}
  ips=$(/usr/bin/convert -bench 20 "$files/files/$name[$index]" null: 2>&1 | awk '/Performance\[1\]/ {sub("ips", "", $3); print $3}')
  theirs=$(awk -v ips="$ips" -v w="$w" -v h="$h" 'BEGIN {printf "%.2f", 1000 / ips / (w * h / 1e6)}')
  printf '%-58.58s %5s %9s %12s ms/MP %12s ms/MP\n' "$name" "$index" "$size" "$ms" "$theirs"
done
