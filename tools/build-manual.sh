#!/usr/bin/env bash
# Builds the HTML manual from the Markdown chapters of the manual folder:
#   tools/build-manual.sh MANUAL_DIR OUT_DIR
# Every MANUAL_DIR/*.md becomes OUT_DIR/manual/<name>.html (links to other
# chapters' .md rewritten to .html, a link back to the table of contents atop
# each chapter), with manual.css beside them; the images the chapters show
# (../images/... from MANUAL_DIR) are copied to the same place under OUT_DIR.
# OUT_DIR is made anew.
set -euo pipefail

manual=$(cd "$1" && pwd)
out=$2
packaging=$(cd "$(dirname "$0")/../packaging" && pwd)
docs=$(dirname "$manual")

rm -rf "$out"
mkdir -p "$out/manual"
cp "$packaging/manual.css" "$out/manual/manual.css"
nav=$(mktemp)
trap 'rm -f "$nav"' EXIT
echo '<nav class="manual"><a href="index.html">目次</a></nav>' > "$nav"

shopt -s nullglob
chapters=("$manual"/*.md)
if [ ${#chapters[@]} -eq 0 ]; then
  echo "build-manual.sh: no chapters in $manual" >&2
  exit 1
fi
for chapter in "${chapters[@]}"; do
  name=$(basename "$chapter" .md)
  # The page's title is its first heading.
  title=$(sed -n 's/^# \{1,\}//p' "$chapter" | head -n 1)
  before=()
  [ "$name" = index ] || before=(--include-before-body="$nav")
  pandoc --from=gfm --to=html5 --standalone \
    --metadata=pagetitle:"${title:-Orvalle}" --variable=lang:ja \
    --css=manual.css --lua-filter="$packaging/manual-links.lua" "${before[@]}" \
    --output="$out/manual/$name.html" "$chapter"
  # The local images of the page, copied to the same place relative to it.
  { grep -o '<img [^>]*src="[^"]*"' "$out/manual/$name.html" || true; } | sed 's/.*src="\([^"]*\)"/\1/' |
    while read -r source; do
      case $source in *:*) continue ;; esac
      file=$(realpath -m "$manual/$source")
      case $file in "$docs"/*) ;; *) echo "$chapter: image outside docs/: $source" >&2; exit 1 ;; esac
      if [ ! -f "$file" ]; then
        echo "$chapter: missing image $source" >&2
        exit 1
      fi
      target=$(realpath -m "$out/manual/$source")
      mkdir -p "$(dirname "$target")"
      cp "$file" "$target"
    done
done
