#!/usr/bin/env bash
# Fetches real GIF files for gif_bench from Debian packages, without
# installing them: photographs and drawings, diagrams, tile sets, icons and
# small animations that other programs wrote. Each distinct file is kept
# once, named after its package and path. Usage: fetch_gifs.sh OUTDIR
set -euo pipefail
mkdir -p "$1"
out=$(cd "$1" && pwd)
packages=(perl-tk tk8.6-doc xmahjongg libxml2-doc imagemagick-6-doc xfig-doc
          apache2-data docbook-xsl bwidget tklib latex2html)

debs=$out/debs
mkdir -p "$debs" "$out/files"
cd "$debs"
if ! apt-get download "${packages[@]}" >/dev/null 2>&1; then
  apt-get update -qq # lists may be missing or stale on a fresh machine
  apt-get download "${packages[@]}" >/dev/null
fi

tree=$(mktemp -d)
trap 'rm -rf "$tree"' EXIT
declare -A seen
for p in "${packages[@]}"; do
  rm -rf "${tree:?}"/*
  deb=("$debs/${p}"_*.deb)
  dpkg-deb -x "${deb[0]}" "$tree"
  while IFS= read -r -d '' f; do
    sum=$(md5sum < "$f" | cut -d' ' -f1)
    [ -n "${seen[$sum]:-}" ] && continue
    seen[$sum]=1
    rel=${f#"$tree"/}
    cp "$f" "$out/files/$p--${rel//\//_}"
  done < <(find "$tree" -iname '*.gif' -type f -print0 | sort -z)
done
echo "$(ls "$out/files" | wc -l) GIF files in $out/files"
