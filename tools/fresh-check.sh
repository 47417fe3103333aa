#!/usr/bin/env bash
# Runs the README's two commands on a machine that has never seen the project:
# a minimal Debian 12 root (mmdebstrap, variant minbase), the repository's
# committed HEAD cloned into it, then tools/run.sh and tools/test.sh inside it
# through chroot, as root, with a clean environment. There tools/build-deb.sh
# then makes the Debian package, and tools/deb-check.sh installs, uses and
# removes it in a copy of the root as it was before the README's commands,
# where apt must bring every library it needs. Exits non-zero and names the
# step that failed. When no root can be made because Debian's packages
# cannot be reached, it says so in one line and exits 0: an outage of the
# package mirror should not block every change.
#
# Needs root. Each step's output goes to build/fresh-check/NAME.log; the root
# is made under $TMPDIR (or /tmp) and removed afterwards, also on failure.
# FRESH_CHECK_MIRROR names another Debian mirror than mmdebstrap's default.
# FRESH_CHECK_SKIPPED_FILE, when set, names a file made only on a skip, so
# that CI can then run the tests on this machine instead.
set -euo pipefail

path=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin

# Inside its own mount and process namespaces: the mounts a running system
# has, then one command in the root's /root/track-analyse. Leaving the
# namespaces drops every mount and ends every process the command left
# behind, even when this script is killed, so the root can be removed safely
# afterwards.
if [ "${1:-}" = --inside ]; then
  root=$2
  shift 2
  unmount() {
    for m in dev/shm dev/pts dev sys proc; do
      mountpoint -q "$root/$m" && { umount "$root/$m" || umount -l "$root/$m"; }
    done
    return 0
  }
  trap unmount EXIT
  mount -t proc proc "$root/proc"
  mount -t sysfs sysfs "$root/sys"
  # The host's device nodes, but a terminal and shared-memory folder of the
  # root's own, as a booted machine has them (Xvfb and the tests use both).
  mount --bind /dev "$root/dev"
  mount -t devpts -o newinstance,ptmxmode=0666,mode=0620,gid=5 devpts "$root/dev/pts"
  mount -t tmpfs -o mode=1777,nosuid,nodev tmpfs "$root/dev/shm"
  status=0
  timeout --kill-after=30s 30m \
    env -i HOME=/root USER=root LOGNAME=root SHELL=/bin/bash PATH="$path" \
    chroot "$root" /bin/sh -c 'cd /root/track-analyse && exec "$@"' sh "$@" \
    </dev/null || status=$?
  [ "$status" -eq 124 ] && echo "fresh-check: $1 did not end within 30 minutes"
  exit "$status"
fi

[ "$(id -u)" -eq 0 ] || { echo "fresh-check: needs root (mmdebstrap, mounts and chroot)"; exit 1; }
self=$(realpath "$0")
repo=$(cd "$(dirname "$self")/.." && pwd)
logs=$repo/build/fresh-check
rm -rf "$logs"
mkdir -p "$logs"
tmp=$(mktemp -d "${TMPDIR:-/tmp}/fresh-check.XXXXXX")
root=$tmp/root
# The root as mmdebstrap made it, for the package's check.
bare=$tmp/bare
# Ending the namespaces first ends every process that might still write into
# the root: unshare ignores INT and TERM, and when it is killed, its
# --kill-child takes the whole namespace with it. Nothing is mounted under the
# root outside them, and --one-file-system guards the host's folders should
# that ever change.
inside=""
remove_all() {
  if [ -n "$inside" ]; then
    kill -KILL "$inside" 2>/dev/null || true
    wait "$inside" 2>/dev/null || true # the kill's status; set -e still acts here
  fi
  rm -rf --one-file-system "$tmp"
}
trap remove_all EXIT
trap 'exit 130' INT TERM
started=$SECONDS

span() {
  local s=$1
  if [ "$s" -ge 60 ]; then echo "$((s / 60)) min $((s % 60)) s"; else echo "$s s"; fi
}

# step NAME LOG COMMAND...: runs COMMAND with its output in LOG and reports
# how long it took; on failure returns its exit status and leaves the report
# to fail or skip_when_unreachable.
step() {
  local name=$1 log=$logs/$2 began=$SECONDS
  shift 2
  status=0
  "$@" >"$log" 2>&1 </dev/null || status=$?
  took=$(span $((SECONDS - began)))
  [ "$status" -eq 0 ] && echo "fresh-check: $name: ok, $took"
  return "$status"
}

fail() { # LOG NAME [WHY]: the failing log's tail, then the line CI shows
  echo "fresh-check: $2: FAILED (${3:-exit $status after $took})"
  echo "---- last 40 lines of $1 ----"
  tail -n 40 "$1"
  echo "----"
  echo "fresh-check: FAILED at step '$2' (whole log: $1)"
  exit 1
}

# A failed root is a skip only when the mirror could not be reached at all.
skip_when_unreachable() { # LOG NAME
  local why
  why=$(grep -m1 -oE "(Could not resolve|Temporary failure resolving|Failed to fetch|Could not connect|Unable to connect|Network is unreachable|No route to host|Connection timed out|Connection refused).*" "$1" || true)
  if [ -n "$why" ]; then
    echo "fresh-check: skipped, no Debian 12 root can be made: Debian's packages cannot be reached ($why)"
    [ -z "${FRESH_CHECK_SKIPPED_FILE:-}" ] || : >"$FRESH_CHECK_SKIPPED_FILE"
    exit 0
  fi
  fail "$1" "$2"
}

# These run under step's "||", where set -e does not act: hence the "&&".
install_mmdebstrap() {
  apt-get update && DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends mmdebstrap
}
make_root() {
  mmdebstrap --variant=minbase bookworm "$root" ${FRESH_CHECK_MIRROR:+"$FRESH_CHECK_MIRROR"} &&
    rm -f "$root/etc/resolv.conf" && cp -L /etc/resolv.conf "$root/etc/resolv.conf" &&
    # An installed system has the hosts file its installer wrote; a minbase
    # root has none, and without it "localhost" (where the browser tests
    # reach chromedriver) does not resolve.
    printf '127.0.0.1\tlocalhost\n::1\tlocalhost ip6-localhost ip6-loopback\n' >"$root/etc/hosts" &&
    cp -a --one-file-system "$root" "$bare"
}
clone_head() { # as a user who cloned the repository into their home folder
  local sha clone=$root/root/track-analyse
  sha=$(git -C "$repo" rev-parse HEAD) &&
    git clone --no-checkout "$repo" "$clone" &&
    git -C "$clone" fetch "$repo" "$sha" &&
    git -C "$clone" checkout --detach "$sha" &&
    git -C "$clone" log --oneline -1
}
in_root() { # ROOT COMMAND...: in the background, so that a signal to this script acts at once
  local status=0
  unshare --mount --pid --fork --kill-child --propagation private -- "$self" --inside "$@" &
  inside=$!
  wait "$inside" || status=$?
  inside=""
  return "$status"
}

if ! command -v mmdebstrap >/dev/null; then
  step "install mmdebstrap" mmdebstrap.log install_mmdebstrap ||
    skip_when_unreachable "$logs/mmdebstrap.log" "install mmdebstrap"
fi
step "Debian 12 root (minbase)" root.log make_root ||
  skip_when_unreachable "$logs/root.log" "Debian 12 root (minbase)"
step "clone of HEAD $(git -C "$repo" rev-parse --short HEAD)" clone.log clone_head || fail "$logs/clone.log" clone
[ -z "$(git -C "$repo" status --porcelain)" ] ||
  echo "fresh-check: note: uncommitted changes in $repo are not part of this check"

for command in tools/run.sh tools/test.sh; do
  log=$logs/$(basename "$command" .sh).log
  step "$command" "$(basename "$log")" in_root "$root" "$command" || fail "$log" "$command"
  tail -n 2 "$log" | sed 's/^/    /'
done
# Here tools/install-deps.sh has installed everything, so a test that skips
# itself (the desktop tests do without Xvfb) hides a gap on fresh machines.
if grep -q "tests did not run" "$logs/test.log"; then
  sed -n '/tests did not run/,/^$/p' "$logs/test.log"
  fail "$logs/test.log" tools/test.sh "tests were skipped on a machine that has all it needs"
fi

step tools/build-deb.sh build-deb.log in_root "$root" tools/build-deb.sh || fail "$logs/build-deb.log" tools/build-deb.sh
sed -n '/^lintian:/,$p' "$logs/build-deb.log" | sed 's/^/    /'
# The package, its check and a sample into the bare root, as the clone has them.
clone=$root/root/track-analyse
deb=$(cd "$clone" && ls dist/track-analyse_*_amd64.deb)
mkdir -p "$bare/root/track-analyse/tools" "$bare/root/track-analyse/dist" "$bare/root/track-analyse/samples"
cp "$clone/tools/deb-check.sh" "$clone/tools/run-thumbnailer.sh" "$bare/root/track-analyse/tools/"
cp "$clone/$deb" "$bare/root/track-analyse/dist/"
cp "$clone/samples/lakeside.trk" "$bare/root/track-analyse/samples/"
step "tools/deb-check.sh in a bare root" deb-check.log \
  in_root "$bare" tools/deb-check.sh --throwaway "$deb" samples/lakeside.trk ||
  fail "$logs/deb-check.log" tools/deb-check.sh
grep -E "packages installed|all passed" "$logs/deb-check.log" | sed 's/^ */    /'
step "remove the roots" remove.log rm -rf --one-file-system "$root" "$bare"
echo "fresh-check: both README commands and the Debian package passed in fresh Debian 12 roots, $(span $((SECONDS - started))) in all"
