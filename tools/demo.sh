#!/usr/bin/env bash
# The README's run command: simulates a small replay source of JRA race days
# (once, kept in the build folder), acquires it into a fresh demo home and
# shows what is there.
set -euo pipefail
build=${1:-build/release}
cli="$build/src/cli/orvalle-cli"
source_dir="$build/demo-source"
home="$build/demo-home"
days=24

if [ ! -d "$source_dir/RACEDIFF" ]; then
  echo "== Simulating $days race days of JRA racing into $source_dir"
  rm -rf "$source_dir"
  "$cli" simulate --out "$source_dir" --days "$days"
fi

echo "== A fresh home folder: $home"
rm -rf "$home"
"$cli" --home "$home" init >/dev/null

echo "== Acquiring the source through the emulated JV-Link"
"$cli" --home "$home" acquire --source "$source_dir" --from "2020/01/01 00:00:00"

echo "== Days with data (newest first)"
"$cli" --home "$home" days

count() { LC_ALL=C cat "$home"/DATA/*"$1" 2>/dev/null | LC_ALL=C grep -c -v -E '^ *\r?$' || true; }
echo "== Stored records: RA $(count .jvRA), SE $(count .jvSEr), HR $(count .jvHR);" \
     "past-run files: $(find "$home/SEI" -name '*.kak' | wc -l)"

# The newest day still waits for its results (they come through the results
# command); the day before it is the newest day with final results.
day=$("$cli" --home "$home" days | sed -n 2p)
if [ -n "${DEMO_PREPARE_ONLY:-}" ]; then exit 0; fi

gui="$build/src/gui/orvalle"
if [ -x "$gui" ] && { [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; }; then
  echo "== Opening the desktop program on $day"
  exec "$gui" --home "$home" --day "$day"
fi
echo "== Analysis of $day: the race list with the three best runners by point win rate"
"$cli" --home "$home" analyze "$day"
echo "== Race card of the first race of $day, sorted by Pt勝率"
if command -v column >/dev/null; then
  "$cli" --home "$home" card "$day" 1 --sort Pt勝率 | column -t -s $'\t'
else
  "$cli" --home "$home" card "$day" 1 --sort Pt勝率
fi
echo
echo "== No display here. On a desktop, open the window on this day with:"
echo "   $gui --home $home --day $day"
echo "   (or render its pages to PNG files: tools/screenshots.sh $build OUT_DIR)"
