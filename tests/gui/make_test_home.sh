#!/usr/bin/env bash
# Makes the home the GUI tests copy: twelve simulated race days acquired
# through the emulated JV-Link, the replay source beside it (the results
# command fetches from it). Made once; a later run finds it ready.
set -euo pipefail
cli=$1
out=$2
if [ -f "$out/ready" ]; then exit 0; fi
rm -rf "$out"
mkdir -p "$out"
"$cli" simulate --out "$out/source" --days 12 --seed 7 >/dev/null
"$cli" --home "$out/home" init >/dev/null
"$cli" --home "$out/home" set JvLink source "$out/source" >/dev/null
"$cli" --home "$out/home" acquire --source "$out/source" --from "2020/01/01 00:00:00" >/dev/null
touch "$out/ready"
