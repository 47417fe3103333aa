#!/usr/bin/env bash
# Runs a thumbnailer entry's Exec line as a file manager runs it: the words
# split as the desktop splits them, %i the file, %o the PNG to write, %s the
# longest side in pixels. Used by the tests of the installed entry.
#   tools/run-thumbnailer.sh ENTRY FILE OUTPUT SIZE
set -euo pipefail
entry=$1 file=$2 output=$3 size=$4
exec_line=$(sed -n 's/^Exec=//p' "$entry")
read -r -a words <<<"$exec_line"
command=()
for word in "${words[@]}"; do
  case $word in
    %i) command+=("$file") ;;
    %o) command+=("$output") ;;
    %s) command+=("$size") ;;
    *) command+=("$word") ;;
  esac
done
exec "${command[@]}"
