#!/usr/bin/env bash
# Makes a program's manual page from its own --help and --version, so that
# the two cannot tell different things. Each SUBCOMMAND's --help becomes a
# part of a COMMANDS section.
#   make-man.sh PROGRAM "WHAT IT DOES" OUTPUT [SUBCOMMAND...]
set -euo pipefail
program=$1
name=$2
output=$3
shift 3

include=$(mktemp)
trap 'rm -f "$include"' EXIT
options=()
if [ $# -gt 0 ]; then
  options+=(--include="$include")
  echo "[COMMANDS]" >"$include"
  for command in "$@"; do
    echo ".SS \"$(basename "$program") $command\""
    echo ".nf"
    # roff: a backslash is \e, a line may not begin with a dot or a quote.
    "$program" "$command" --help | sed -e 's/\\/\\e/g' -e "s/^\([.']\)/\\\\\&\1/"
    echo ".fi"
  done >>"$include"
fi
help2man --no-info --no-discard-stderr --name="$name" "${options[@]}" \
  --output="$output" "$program"
