#!/usr/bin/env bash
# Runs orvalle-cli on a fresh demo home: start-up and the list of days.
set -euo pipefail
build=${1:-build/release}
cli="$build/src/cli/orvalle-cli"
home="$build/demo-home"

echo "== Orvalle demo: a fresh home folder at $home"
rm -rf "$home"
"$cli" --home "$home" init
echo "== Days with data (none yet: the sample-data generator comes with acquisition)"
"$cli" --home "$home" days
echo "== Settings: past-run period and odds ceiling"
"$cli" --home "$home" get DataSpan period
"$cli" --home "$home" get OddsSpan ceil
