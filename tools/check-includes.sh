#!/usr/bin/env bash
# The front ends reach the core through its app layer only: src/cli and
# src/gui may include app/*.h, the CP932 conversion, the error and progress
# types and the view headers whose data they show. Any other include of a
# core header is listed (file:line: text) and the check fails.
set -euo pipefail
cd "$(dirname "$0")/.."

allowed=(
  'app/[A-Za-z0-9_]+\.h'
  'store/cp932\.h'
  'store/error\.h'
  'store/progress\.h'
  'model/grid_view\.h'
  'model/colours\.h'
  'model/race_card\.h'
  'model/detailed_race_card\.h'
  'analysis/comparison_tables\.h'
  'analysis/grid6_cells\.h'
  'betting/combination_grids\.h'
  'output/results_panel\.h'
  'output/analysis_sheet\.h'
)

# The core's layers are its folders.
layers=$(find src/core -mindepth 1 -maxdepth 1 -type d -printf '%f\n' | paste -sd '|' -)
allowed_pattern=$(printf '%s|' "${allowed[@]}")
allowed_pattern="^(${allowed_pattern%|})$"

status=0
for folder in src/cli src/gui; do
  [ -d "$folder" ] || continue
  while IFS= read -r hit; do
    header=$(sed -E 's/^[^:]*:[0-9]+:[[:space:]]*#[[:space:]]*include[[:space:]]*[<"]([^>"]+)[>"].*$/\1/' \
      <<<"$hit")
    if ! [[ "$header" =~ $allowed_pattern ]]; then
      echo "$hit"
      status=1
    fi
  done < <(grep -rnE --include='*.h' --include='*.cpp' \
    "^[[:space:]]*#[[:space:]]*include[[:space:]]*[<\"](${layers})/" "$folder" || true)
done

if [ "$status" -ne 0 ]; then
  echo "src/cli and src/gui include core headers other than app/ and the view headers" >&2
fi
exit "$status"
