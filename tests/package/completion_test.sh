#!/usr/bin/env bash
# The bash completion of orvalle-cli against the program itself:
#   completion_test.sh ORVALLE_CLI COMPLETION_FILE
# Every command and option that `--help` lists is completed, and nothing
# else; the day arguments complete to the days of the home.
set -uo pipefail
cli=$(realpath "$1")
completion=$2
failures=0

# shellcheck disable=SC1091
source /usr/share/bash-completion/bash_completion
# shellcheck disable=SC1090
source "$completion"
PATH=$(dirname "$cli"):$PATH

# The completions of the last word of a command line, one a line, sorted.
complete_line() {
  COMP_WORDS=("$@")
  COMP_CWORD=$(($# - 1))
  COMP_LINE="$*"
  COMP_POINT=${#COMP_LINE}
  COMPREPLY=()
  _orvalle_cli
  printf '%s\n' "${COMPREPLY[@]}" | sort -u | sed '/^$/d'
}

# The options of a --help text ("  -h,--help", "  --home TEXT").
help_options() {
  sed -n 's/^ \{1,\}\(-[a-zA-Z],\)\{0,1\}\(--[a-z][a-z-]*\).*/\2/p' | sort -u
}

# The commands of a --help text (the section "コマンド:").
help_commands() {
  sed -n '/^コマンド:/,/^$/{/^  [a-z]/s/^  \([a-z][a-z-]*\).*/\1/p}' | sort -u
}

expect_same() {  # name, expected, got
  if [ "$2" != "$3" ]; then
    echo "FAIL $1"
    diff <(echo "$2") <(echo "$3") | sed 's/^/  /'
    failures=$((failures + 1))
  else
    echo "ok   $1"
  fi
}

commands=$("$cli" --help | help_commands)
[ -n "$commands" ] || { echo "FAIL no commands in orvalle-cli --help"; exit 1; }
expect_same "commands" "$commands" "$(complete_line orvalle-cli '')"
expect_same "commands after --home" "$commands" "$(complete_line orvalle-cli --home /tmp '')"
expect_same "options" "$("$cli" --help | help_options)" "$(complete_line orvalle-cli -)"

for command in $commands; do
  if [ "$command" = kaime ]; then
    actions=$("$cli" kaime --help | help_commands)
    expect_same "kaime actions" "$actions" "$(complete_line orvalle-cli kaime '')"
    for action in $actions; do
      expect_same "kaime $action options" "$("$cli" kaime "$action" --help | help_options)" \
        "$(complete_line orvalle-cli kaime "$action" -)"
    done
    continue
  fi
  expect_same "$command options" "$("$cli" "$command" --help | help_options)" \
    "$(complete_line orvalle-cli "$command" -)"
done

# Days: a home with two simulated race days.
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$cli" simulate --out "$work/source" --days 2 --seed 1 >/dev/null
"$cli" --home "$work/home" acquire --source "$work/source" --from "2020/01/01 00:00:00" >/dev/null
days=$("$cli" --home "$work/home" days | sort -u)
[ "$(echo "$days" | wc -l)" -eq 2 ] || { echo "FAIL the home has no two days: $days"; exit 1; }
for command in analyze card races results; do
  expect_same "$command DAY" "$days" "$(complete_line orvalle-cli --home "$work/home" "$command" '')"
done
expect_same "backtest --from DAY" "$days" \
  "$(complete_line orvalle-cli --home "$work/home" backtest --from '')"
sort_keys=$("$cli" card --help | sed -n 's/.*--sort.*(または \([a-z ]*\)).*/\1/p' | tr ' ' '\n' | sort -u)
[ -n "$sort_keys" ] || { echo "FAIL no sort keys in orvalle-cli card --help"; exit 1; }
expect_same "card --sort KEY" "$sort_keys" \
  "$(complete_line orvalle-cli card 20240106 1 --sort '')"

echo "$failures failed"
[ "$failures" -eq 0 ]
