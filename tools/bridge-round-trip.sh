#!/usr/bin/env bash
# The round trip of the JV-Link bridge under Wine: the stand-in component
# serves a replay source through COM, the Windows bridge records it, and the
# recorded folder must be the source byte for byte (the byte read, the text
# read, setup data, results); the component's failures must leave complete
# files only and exit with their code and text.
#   tools/bridge-round-trip.sh [BRIDGE_BUILD_DIR] [ORVALLE_CLI]
# Without Wine (32-bit) it says so and exits 0; ORVALLE_REQUIRE_WINE=1 makes
# that a failure. ORVALLE_CLI (default: the release build's orvalle-cli, else
# the dev build's) makes the source with the simulator when it is there.
set -uo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/bridge}
cli=${2:-}
if [ -z "$cli" ]; then
  for cli in build/release/src/cli/orvalle-cli build/dev/src/cli/orvalle-cli; do
    [ -x "$cli" ] && break
  done
fi
programs="$build/src/bridge/windows"

if ! command -v wine >/dev/null || ! dpkg-query -W -f='${Status}' wine32:i386 2>/dev/null |
    grep -q "install ok installed"; then
  echo "Wine (32-bit) is not installed: the round trip under Wine is skipped."
  [ "${ORVALLE_REQUIRE_WINE:-0}" = 1 ] && exit 1
  exit 0
fi
for program in orvalle-jvbridge.exe orvalle-jvlink-standin.dll; do
  [ -f "$programs/$program" ] || { echo "no $programs/$program (build the bridge preset)" >&2; exit 1; }
done

export WINEPREFIX="$PWD/$build/wine" WINEARCH=win32 WINEDEBUG=-all
[ -d "$WINEPREFIX" ] || wineboot -i >/dev/null 2>&1
wine regsvr32 /s "$programs/orvalle-jvlink-standin.dll" >/dev/null 2>&1 ||
  { echo "the stand-in component could not be registered" >&2; exit 1; }

scratch="$PWD/$build/round-trip"
rm -rf "$scratch"
source="$scratch/src"
mkdir -p "$source/RACEDIFF" "$source/SETUP" "$source/0B12"
export ORVALLE_JVLINK_SOURCE="Z:${source//\//\\}"
windows() { echo "Z:${1//\//\\}"; }

# The source: simulated race days when the simulator is there, and always a
# file of every CP932 lead byte with every trail byte (and none).
if [ -x "$cli" ]; then
  "$cli" simulate --out "$source" --days 2 --seed 11 >/dev/null
else
  for kind in RA SE; do
    for n in 1 2 3; do printf '%s7%-20s%02d\r\n' "$kind" 20240106 "$n"; done \
      > "$source/RACEDIFF/20240105$([ $kind = RA ] && echo 12 || echo 18)0000_$kind.txt"
  done
  printf 'HR2%-20s\r\n' 20240106 > "$source/0B12/20240106.txt"
fi
bytes="$source/RACEDIFF/20991231235959_bytes.txt"
: > "$bytes"
for lead in $(seq 129 159) $(seq 224 252); do
  hex=$(printf '\\x%02x' "$lead")
  record="LB"
  for trail in $(seq 32 255); do
    record+="$hex$(printf '\\x%02x' "$trail")"
  done
  printf "$record$hex\\r\\n" >> "$bytes"  # ending with a lead byte without its trail
done
cp "$(ls "$source"/RACEDIFF/* | head -1)" "$source/SETUP/19991231000000_setup.txt"
results_day=$(ls "$source/0B12" | head -1)
results_day=${results_day%.txt}

failures=0
check() {  # check NAME CONDITION...
  local name=$1
  shift
  if "$@"; then echo "ok - $name"; else echo "FAIL - $name"; failures=$((failures + 1)); fi
}
# bridge OUT [ARGS...]: runs the bridge; its status in $status, its output in $output.
bridge() {
  local out=$1
  shift
  output=$(wine "$programs/orvalle-jvbridge.exe" --out "$(windows "$out")" "$@" 2>&1)
  status=$?
}
same() { diff -r "$1" "$2" >/dev/null; }
data_files() { find "$1" -type f ! -name 'jvbridge-lasttime.txt' ! -name jvbridge.lock | sort; }

bridge "$scratch/bytes"
check "byte read (JVGets): exit 0" test "$status" = 0
check "byte read: RACEDIFF is the source byte for byte" same "$source/RACEDIFF" "$scratch/bytes/RACEDIFF"
bridge "$scratch/bytes"
check "a second run finds nothing new" grep -q "新しいデータはありません" <<<"$output"

bridge "$scratch/text" --text
check "text read (JVRead): every lead byte survives" same "$source/RACEDIFF" "$scratch/text/RACEDIFF"

bridge "$scratch/setup" --setup --from 19860101000000
check "setup data: SETUP is the source byte for byte" same "$source/SETUP" "$scratch/setup/SETUP"

bridge "$scratch/results" --results "$results_day"
check "results: 0B12/$results_day.txt is the source's" \
  cmp -s "$source/0B12/$results_day.txt" "$scratch/results/0B12/$results_day.txt"

printf '[emulate]\ngets=0\n' > "$source/jvlink.ini"
bridge "$scratch/nogets"
check "a component without JVGets is read as text" same "$source/RACEDIFF" "$scratch/nogets/RACEDIFF"

fails() {  # fails NAME INI MESSAGE FILES: a failing run keeps FILES complete files
  printf '[emulate]\n%b\n' "$2" > "$source/jvlink.ini"
  bridge "$scratch/$1"
  tail -n 1 <<<"$output" | sed 's/^/   /'
  check "$1: exit 2" test "$status" = 2
  check "$1: says the code and its text" grep -qF "$3" <<<"$output"
  local kept
  kept=$(data_files "$scratch/$1" | wc -l)
  check "$1: $4 complete file(s), nothing else" test "$kept" = "$4" -a \
    ! -f "$scratch/$1/jvbridge-lasttime.txt"
  for file in $(data_files "$scratch/$1"); do
    check "$1: ${file##*/} is complete" cmp -s "$file" "$source/${file#"$scratch/$1/"}"
  done
}
fails open-error "open=-504" "JVOpenエラー:サーバーがメンテナンス中です。(-504)" 0
fails setup-cancelled "open=-2" "JVOpenエラー:セットアップダイアログでキャンセルが押されました。(-2)" 0
fails status-error "download_ms=100000\nstatus_error=-502" "JVStatusエラー:ダウンロードに失敗しました。" 0
fails read-error "read_error=2:2:-403" "JVGetsエラー:ダウンロードしたファイル内容が異常です。(-403)" 1

# Two runs on one folder: the second is refused while the first downloads.
printf '[emulate]\ndownload_ms=1000\n' > "$source/jvlink.ini"
wine "$programs/orvalle-jvbridge.exe" --out "$(windows "$scratch/shared")" >/dev/null 2>&1 &
first=$!
sleep 3
bridge "$scratch/shared"
tail -n 1 <<<"$output" | sed 's/^/   /'
check "a second run on a folder in use exits 1" test "$status" = 1
check "a second run says the folder is in use" grep -q "書き込み中です" <<<"$output"
wait "$first"
check "the first run completes" test "$?" = 0
check "the first run's folder is the source" same "$source/RACEDIFF" "$scratch/shared/RACEDIFF"

# Ctrl+C (SIGINT, which Wine turns into the console's Ctrl+C) while waiting
# for the download: exit 3, nothing but complete files.
wine "$programs/orvalle-jvbridge.exe" --out "$(windows "$scratch/cancelled")" \
  >"$scratch/cancelled.txt" 2>&1 &
running=$!
sleep 3
pkill -INT -f 'orvalle-jvbridge.exe --out Z:.*cancelled' || true
wait "$running"
status=$?
tail -n 1 "$scratch/cancelled.txt" | sed 's/^/   /'
check "cancelled: exit 3" test "$status" = 3
check "cancelled: says so" grep -q "取り込みを中止しました" "$scratch/cancelled.txt"
check "cancelled: no data file, no timestamp" test -z "$(find "$scratch/cancelled" -type f ! -name jvbridge.lock)"
rm -f "$source/jvlink.ini"

if [ "$failures" -gt 0 ]; then
  echo "$failures check(s) of the round trip under Wine failed" >&2
  exit 1
fi
echo "the round trip under Wine passed"
