#!/usr/bin/env bash
# The Debian package as a user meets it, on a Debian 12 machine that is thrown
# away afterwards (tools/fresh-check.sh runs it in a fresh minimal root):
#   tools/deb-check.sh --throwaway PACKAGE.deb TRACK.trk
# apt installs the package with all it depends on; then trk and track-analyse
# tell the package's version, trk renders the track, `man trk` shows the
# manual, xdg-mime knows a track by its name and by its first bytes and opens
# it with the window, and the thumbnailer's own Exec line makes a thumbnail.
# Last, `apt-get remove --purge` of the package and of what it pulled in must
# leave every file of the system as it was before.
# It installs and removes system packages as root: hence --throwaway.
set -euo pipefail
if [ "${1:-}" != --throwaway ] || [ $# -ne 3 ]; then
  echo "usage: tools/deb-check.sh --throwaway PACKAGE.deb TRACK.trk (as root, on a machine to throw away)" >&2
  exit 2
fi
tools=$(dirname "$(realpath "$0")")
deb=$(realpath "$2")
track=$(realpath "$3")
work=$(mktemp -d)
failures=0
fail() {
  echo "FAIL: $*" >&2
  failures=$((failures + 1))
}
# apt's output goes to $work/apt.log, shown when it fails.
apt_get() {
  DEBIAN_FRONTEND=noninteractive apt-get -y -q "$@" >>"$work/apt.log" 2>&1 ||
    { tail -n 30 "$work/apt.log" >&2; echo "deb-check: apt-get $* failed" >&2; exit 1; }
}
# Every file and folder of the system, but for what apt, dpkg, the manual's
# index and running the tool change in any case, and the backups of the user
# database that adding a system user leaves (D-Bus comes with GTK).
files() {
  find / -xdev \( -path /proc -o -path /sys -o -path /dev -o -path /run -o -path /tmp \
    -o -path /root -o -path /var/lib/dpkg -o -path /var/lib/apt -o -path /var/cache/apt \
    -o -path /var/cache/debconf -o -path /var/cache/man -o -path /var/log \
    -o -path /etc/shadow- -o -path /etc/gshadow- -o -path /etc/passwd- -o -path /etc/group- \) \
    -prune -o -print | sort
}

# What a desktop has and a minimal root lacks: the MIME database and its
# reader, the menu's database, the manual reader.
apt_get update
apt_get install --no-install-recommends xdg-utils libfile-mimeinfo-perl shared-mime-info \
  desktop-file-utils man-db
files >"$work/before"

echo "== apt-get install ./$(basename "$deb")"
before=$(dpkg-query -W -f='${Package}\n' | wc -l)
apt_get install "$deb"
echo "   $(($(dpkg-query -W -f='${Package}\n' | wc -l) - before)) packages installed"
version=$(dpkg-query -W -f='${Version}' track-analyse)

echo "== the programs, the manual, the MIME type, the thumbnailer"
for program in trk track-analyse; do
  [ "$($program --version)" = "$program $version" ] || fail "$program --version: $($program --version)"
done
cd "$work"
trk render "$track" --water --objects --ghost -o picture.jpg >/dev/null 2>&1 || fail "trk render"
[ "$(head -c 3 picture.jpg | od -An -tx1 | tr -d ' ')" = ffd8ff ] || fail "trk render wrote no JPEG"
man trk 2>/dev/null | grep -q "trk render" || fail "man trk shows no 'trk render'"
cp "$track" "$work/track.trk"
cp "$track" "$work/no-extension"
for file in track.trk no-extension; do
  type=$(xdg-mime query filetype "$work/$file")
  [ "$type" = application/x-velocitra-track ] || fail "xdg-mime takes $file for $type"
done
opener=$(xdg-mime query default application/x-velocitra-track)
[ "$opener" = track-analyse.desktop ] || fail "tracks open with '$opener'"

"$tools/run-thumbnailer.sh" /usr/share/thumbnailers/track-analyse.thumbnailer "$work/track.trk" \
  "$work/thumbnail.png" 128 >/dev/null 2>&1 || fail "the thumbnailer's Exec line failed"
# The PNG's signature, then its width and height in the IHDR chunk.
read -r width height <<<"$(od -An -tu1 -j16 -N8 thumbnail.png |
  awk '{ print $1 * 16777216 + $2 * 65536 + $3 * 256 + $4, $5 * 16777216 + $6 * 65536 + $7 * 256 + $8 }')"
[ "$(head -c 8 thumbnail.png | od -An -tx1 | tr -d ' ')" = 89504e470d0a1a0a ] ||
  fail "the thumbnail is no PNG"
[ "$width" = 128 ] || [ "$height" = 128 ] || fail "the thumbnail is ${width}x$height, not 128 on its longer side"
if [ "$width" -gt 128 ] || [ "$height" -gt 128 ]; then fail "the thumbnail is ${width}x$height"; fi

echo "== apt-get remove --purge"
dpkg -L track-analyse >"$work/package-files"
apt_get remove --purge track-analyse
apt_get autoremove --purge
while read -r path; do
  if [ -f "$path" ]; then fail "$path is still there"; fi
done <"$work/package-files"
[ "$(xdg-mime query filetype "$work/no-extension")" != application/x-velocitra-track ] ||
  fail "the MIME type outlives the package"
files >"$work/after"
if ! diff "$work/before" "$work/after" >"$work/left"; then
  fail "the system differs from before the install:"
  sed 's/^/   /' "$work/left" | head -n 40 >&2
fi
rm -rf "$work"
if [ "$failures" -gt 0 ]; then
  echo "deb-check: $failures failures" >&2
  exit 1
fi
echo "deb-check: all passed"
