#!/usr/bin/env bash
# tools/fresh-check.sh against stand-ins for mmdebstrap: it skips with one
# line only when Debian's packages cannot be reached, fails naming the step
# otherwise, and leaves no root behind either way.
#   fresh_check_test.sh SOURCE-DIR
set -uo pipefail
source_dir=$(realpath "$1")
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
fail=0
if [ "$(id -u)" -ne 0 ]; then
  echo "SKIP: the check needs root"
  exit 77
fi

# A copy of the script in a folder of its own, so that its logs and roots
# land here and not in the source tree.
mkdir -p "$tmp/repo/tools" "$tmp/bin" "$tmp/roots"
cp "$source_dir/tools/fresh-check.sh" "$tmp/repo/tools/"

# check NAME EXPECTED-EXIT PATTERN MMDEBSTRAP-BODY [LINES]: runs the script
# with a stand-in mmdebstrap; PATTERN must match its output (as one text), which
# must have LINES lines when given.
check() {
  printf '#!/bin/sh\n%s\n' "$4" >"$tmp/bin/mmdebstrap"
  chmod +x "$tmp/bin/mmdebstrap"
  out=$(PATH="$tmp/bin:$PATH" TMPDIR="$tmp/roots" "$tmp/repo/tools/fresh-check.sh" 2>&1)
  rc=$?
  if [ "$rc" -ne "$2" ] || ! grep -qzE "$3" <<<"$out" ||
    { [ -n "${5:-}" ] && [ "$(wc -l <<<"$out")" -ne "$5" ]; }; then
    echo "FAIL $1: exit $rc, output:"
    echo "$out"
    fail=1
  fi
  if [ -n "$(ls -A "$tmp/roots")" ]; then
    echo "FAIL $1: left behind: $(ls "$tmp/roots")"
    fail=1
    rm -rf "${tmp:?}/roots/"*
  fi
}

export FRESH_CHECK_SKIPPED_FILE=$tmp/skipped
check "no route" 0 \
  "^fresh-check: skipped, no Debian 12 root can be made: Debian's packages cannot be reached \(Failed to fetch .*Could not resolve 'mirror'\)" \
  "echo \"E: Failed to fetch http://mirror/debian/dists/bookworm/InRelease  Could not resolve 'mirror'\"; exit 1" 1

[ -e "$tmp/skipped" ] || { echo "FAIL: a skip made no FRESH_CHECK_SKIPPED_FILE"; fail=1; }
rm -f "$tmp/skipped"
check "broken root" 1 \
  "Debian 12 root \(minbase\): FAILED \(exit 3 after [0-9]+ s\).*no space left.*FAILED at step 'Debian 12 root \(minbase\)'" \
  "echo 'E: no space left on device'; exit 3"

# A root that is made but holds no repository: the clone fails and the root,
# with a file in it, is still removed.
# shellcheck disable=SC2016 # expanded by the stand-in
check "failed clone" 1 \
  "Debian 12 root \(minbase\): ok.*FAILED at step 'clone'" \
  'mkdir -p "$3/etc" "$3/root" && echo made >"$3/etc/made"'

[ -e "$tmp/skipped" ] && { echo "FAIL: a failure made FRESH_CHECK_SKIPPED_FILE"; fail=1; }
[ -f "$tmp/repo/build/fresh-check/root.log" ] || { echo "FAIL: no log of the root step"; fail=1; }
exit $fail
