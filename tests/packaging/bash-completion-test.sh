#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Usage: bash-completion-test.sh BASH_COMPLETION COMPLETION RUNNER
# Calls the runner's completion function as bash would, with COMP_WORDS and
# COMP_CWORD as bash splits each command line, on a settings file whose
# preset names hold spaces (also at both ends), quotes, a command
# substitution, a backslash, ':' and '='.
set -uo pipefail
bashCompletion=$1
completion=$2
runner=$3

scratch="$(mktemp -d)"
trap 'rm -rf "$scratch"' EXIT
mkdir "$scratch/config" "$scratch/cwd" "$scratch/cwd/my dir"
touch "$scratch/cwd/run.json"
printf '%s\n' '[Application]' 'Presets=6' \
  '[Preset1]' 'Name=(Default)' '[Preset2]' 'Name=Quick check' '[Preset3]' 'Name=Quick run' \
  '[Preset4]' "Name=Card: \"x\" \$(touch PWNED) it's\\ é" '[Preset5]' 'Name=a=b c' '[Preset6]' 'Name="  spaced  "' \
  >"$scratch/config/KelTally.ini"
export XDG_CONFIG_HOME="$scratch/config"
export KELTALLY_PRESETS_FILE="$scratch/config/shipped-presets.ini"
cd "$scratch/cwd"

# shellcheck source=/dev/null
source "$bashCompletion"
# shellcheck source=/dev/null
source "$completion"
# Outside readline compopt cannot act: note what was asked of it.
compopt() { [[ "$*" == "-o filenames" ]] && quotedByReadline=yes; }

failures=0
# run LINE WORD WORDS...: completes at the end of LINE, which bash splits into
# WORDS; WORD is readline's own word, the text it replaces.
run()
{
    COMP_LINE=$1
    COMP_POINT=${#1}
    local word=$2
    shift 2
    COMP_WORDS=("$@")
    COMP_CWORD=$(($# - 1))
    COMPREPLY=()
    quotedByReadline=no
    _keltally_cli "$runner" "$word" "${COMP_WORDS[COMP_CWORD - 1]}"
}
compare()
{
    local got
    got="$(printf '%s\n' "${@:3}" | LC_ALL=C sort | paste -s -d '|')"
    if [[ $got != "$2" ]]; then
        printf '%s: [%s]\n  expected [%s]\n' "$1" "$got" "$2" >&2
        failures=$((failures + 1))
    fi
}
# check WHAT 'REPLY|REPLY...' LINE WORD WORDS...: the replies, sorted.
check()
{
    local what=$1 expected=$2
    shift 2
    run "$@"
    compare "$what" "$expected" "${COMPREPLY[@]}"
}
# checkWords WHAT 'WORD|WORD...' LINE WORD WORDS...: each reply put in place
# of readline's word, the line is read as the shell reads it; its last words.
checkWords()
{
    local what=$1 expected=$2 line=$3 word=$4 reply shellWords lastWords=()
    shift 2
    run "$@"
    for reply in "${COMPREPLY[@]}"; do
        shellWords=()
        eval "shellWords=(${line%"$word"}$reply)"
        lastWords+=("${shellWords[-1]-}")
    done
    compare "$what" "$expected" "${lastWords[@]}"
}

check "options from --help" "--preset" 'keltally-cli --pre' --pre keltally-cli --pre
check "options sharing a start" "--list-drives|--list-presets" 'keltally-cli --li' --li keltally-cli --li
checkWords "all presets" '  spaced  |(Default)|Card: "x" $(touch PWNED) it'"'"'s\ é|Quick check|Quick run|a=b c' \
  'keltally-cli --preset ' '' keltally-cli --preset ''
checkWords "preset after an escaped space" "Quick check" 'keltally-cli --preset Quick\ c' 'Quick\ c' \
  keltally-cli --preset 'Quick\ c'
checkWords "preset after --preset=" "--preset=Quick run" 'keltally-cli --preset=Quick\ r' 'Quick\ r' \
  keltally-cli --preset = 'Quick\ r'
checkWords "preset after a ':' that broke the word" 'Card: "x" $(touch PWNED) it'"'"'s\ é' \
  'keltally-cli --preset Card:' '' keltally-cli --preset Card :
checkWords "preset after an '=' that broke the word" "a=b c" 'keltally-cli --preset a=' '' \
  keltally-cli --preset a =
check "no preset matches" "" 'keltally-cli --preset Slow' Slow keltally-cli --preset Slow
# In a quote the user opened, readline quotes the names itself.
check "presets in an open quote" "Quick check|Quick run" 'keltally-cli --preset "Quick' Quick \
  keltally-cli --preset '"Quick'
if [[ $quotedByReadline != yes ]]; then
  echo "presets in an open quote: not left to readline's quoting" >&2
  failures=$((failures + 1))
fi
if [[ -e PWNED || -e "$scratch/config/PWNED" ]]; then
  echo "a preset name was run as a command" >&2
  failures=$((failures + 1))
fi

letters="$("$runner" --list-drives | awk 'NR > 1 { print $1 }' | LC_ALL=C sort | paste -s -d '|')"
check "drive letters" "$letters" 'keltally-cli --drive ' '' keltally-cli --drive ''
check "folders for --dir" "my dir" 'keltally-cli --dir ' '' keltally-cli --dir ''
check "folders for --png" "my dir" 'keltally-cli --png m' m keltally-cli --png m
check "files for --json" "my dir|run.json" 'keltally-cli --json ' '' keltally-cli --json ''
check "files for --json=" "run.json" 'keltally-cli --json=r' r keltally-cli --json = r
check "files for --metrics" "run.json" 'keltally-cli --metrics r' r keltally-cli --metrics r
check "no file after a listing's --json" "" 'keltally-cli --list-presets --json ' '' \
  keltally-cli --list-presets --json ''
check "scale" "auto" 'keltally-cli --scale ' '' keltally-cli --scale ''
check "nothing for a number" "" 'keltally-cli --files ' '' keltally-cli --files ''

[[ $failures -eq 0 ]]
