#!/usr/bin/env bash
# Renders the pages of the desktop program on the demo day into PNG files,
# without a display (Qt's offscreen platform):
#   tools/screenshots.sh BUILD_DIR OUT_DIR
# The demo home of `make run` is made first when BUILD_DIR has none.
set -euo pipefail
build=${1:?usage: tools/screenshots.sh BUILD_DIR OUT_DIR}
out=${2:?usage: tools/screenshots.sh BUILD_DIR OUT_DIR}
here=$(cd "$(dirname "$0")" && pwd)
cli="$build/src/cli/orvalle-cli"
gui="$build/src/gui/orvalle"
home="$build/demo-home"

if [ ! -d "$home/DATA" ]; then
  DEMO_PREPARE_ONLY=1 bash "$here/demo.sh" "$build" >/dev/null
fi
# The newest day still waits for its results; the day before it is final.
day=$("$cli" --home "$home" days | sed -n 2p)
mkdir -p "$out"
QT_QPA_PLATFORM=offscreen "$gui" --home "$home" --day "$day" --screenshots "$out"
