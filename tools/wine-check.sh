#!/usr/bin/env bash
# The Windows build under Wine, against the Linux build on the same tracks:
#   tools/wine-check.sh LINUX_BUILD WINDOWS_BUILD
# - the unit tests built for Windows;
# - trk.exe info and info --json: the same bytes as Linux's trk, for the
#   samples and a set of generated tracks;
# - trk.exe car: the same bytes;
# - trk.exe render to PNG: the same pixels outside the caption band (whose
#   text comes from another rasteriser); to JPEG: 512 x 560 and close to it;
# - track-analyse.exe started with a sample track: its title, listing and
#   picture checked on a screenshot (build-windows/wine-check/screen.png;
#   TA_UPDATE_SCREENSHOT=1 puts it in docs/windows-screenshot.png), closed
#   with exit code 0.
# Wine runs headless under Xvfb, in a prefix of its own in the build folder.
set -euo pipefail
cd "$(dirname "$0")/.."
linux=$(realpath "${1:-build/release}")
windows=$(realpath "${2:-build-windows}")
work="$windows/wine-check"
rm -rf "$work"
mkdir -p "$work/tracks" "$work/linux" "$work/windows"

export WINEPREFIX="$windows/wineprefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  wineboot -i >/dev/null 2>&1 || true
  # Windows in a desktop of Wine's own, with frames and titles drawn as
  # Windows draws them: Xvfb has no window manager to draw them.
  wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f >/dev/null 2>&1
  wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 1280x800 /f >/dev/null 2>&1
  wineserver -w
fi

failures=0
fail() {
  echo "FAIL: $*" >&2
  failures=$((failures + 1))
}

# Every test step runs inside one virtual display, so that Wine starts its
# server and display once.
if [ -z "${TA_WINE_CHECK_IN_XVFB:-}" ]; then
  exec env TA_WINE_CHECK_IN_XVFB=1 xvfb-run -a -s "-screen 0 1280x800x24" "$0" "$linux" "$windows"
fi
wineserver -p 60 2>/dev/null || true

echo "== unit tests under Wine"
# Not through ctest: Wine's desktop process, started by the first window,
# keeps the output pipe open, and ctest would wait for it to its time-out.
if wine "$windows/tests/unit_tests.exe" >"$work/unit_tests.log" 2>&1; then
  grep -E '^\[  PASSED  \]' "$work/unit_tests.log" | sed 's/^/   /'
else
  grep -E 'Failure|FAILED|Which is|Expected' "$work/unit_tests.log" >&2 || tail -n 20 "$work/unit_tests.log" >&2
  fail "unit tests"
fi

cp samples/*.trk "$work/tracks/"
for seed in 1 2 3 5 8 13 21 34; do
  "$linux/trackgen" --seed "$seed" --name "Gen $seed" -o "$work/tracks/gen-$seed.trk" >/dev/null
done

# Wine hands Windows programs the host's files through drive Z:.
winpath() {
  echo "Z:${1//\//\\}"
}
trk_linux() { "$linux/trk" "$@"; }
trk_windows() { wine "$windows/trk.exe" "$@"; }

echo "== trk.exe info, --json, car and render against Linux"
for track in "$work"/tracks/*.trk; do
  name=$(basename "$track" .trk)
  # The same relative name on both sides, so that listings that show it agree.
  (cd "$work/tracks" && trk_linux info "$name.trk") >"$work/linux/$name.txt" || true
  (cd "$work/tracks" && trk_windows info "$name.trk") >"$work/windows/$name.txt" || true
  # Two empty outputs would compare equal.
  [ -s "$work/windows/$name.txt" ] || fail "info $name: no output"
  cmp -s "$work/linux/$name.txt" "$work/windows/$name.txt" || fail "info $name differs"
  (cd "$work/tracks" && trk_linux info --json "$name.trk") >"$work/linux/$name.json" || true
  (cd "$work/tracks" && trk_windows info --json "$name.trk") >"$work/windows/$name.json" || true
  cmp -s "$work/linux/$name.json" "$work/windows/$name.json" || fail "info --json $name differs"

  for k in 0 3 6; do
    trk_linux car "$track" "$k" -o "$work/linux/$name-$k.car" >/dev/null 2>&1 || true
    trk_windows car "$(winpath "$track")" "$k" -o "$(winpath "$work/windows/$name-$k.car")" \
      >/dev/null 2>&1 || true
    [ -s "$work/windows/$name-$k.car" ] || fail "car $k of $name: no file"
    cmp -s "$work/linux/$name-$k.car" "$work/windows/$name-$k.car" || fail "car $k of $name differs"
  done

  trk_linux render "$track" --water --objects --ghost -o "$work/linux/$name.png" 2>/dev/null
  trk_windows render "$(winpath "$track")" --water --objects --ghost \
    -o "$(winpath "$work/windows/$name.png")" 2>/dev/null || true
  trk_windows render "$(winpath "$track")" --water --objects --ghost \
    -o "$(winpath "$work/windows/$name.jpg")" 2>/dev/null || true
  if [ ! -s "$work/windows/$name.png" ]; then
    fail "render $name: no PNG"
    continue
  fi
  map=$(compare -metric AE -crop 512x512+0+0 "$work/linux/$name.png" "$work/windows/$name.png" \
    null: 2>&1 || true)
  [ "$map" = "0" ] || fail "render $name: $map pixels of the map differ"
  size=$(identify -format '%wx%h' "$work/windows/$name.jpg" 2>/dev/null || echo none)
  [ "$size" = "512x560" ] || fail "render $name: the JPEG is $size"
  psnr=$(compare -metric PSNR "$work/windows/$name.png" "$work/windows/$name.jpg" null: 2>&1 || true)
  # Linux's own JPEG of such a picture is about 28 dB from its PNG.
  awk -v p="${psnr%% *}" 'BEGIN { exit !(p == "inf" || p + 0 >= 25) }' ||
    fail "render $name: the JPEG is far from the PNG (PSNR $psnr dB)"
done
echo "   $(ls "$work"/tracks/*.trk | wc -l) tracks compared"

echo "== trk.exe on a whole folder, and on a name beyond the ANSI code page"
(cd "$work" && trk_linux info --csv tracks) >"$work/linux/all.csv" 2>/dev/null || true
(cd "$work" && trk_windows info --csv tracks) >"$work/windows/all.csv" 2>/dev/null || true
cmp -s "$work/linux/all.csv" "$work/windows/all.csv" || fail "info --csv of the folder differs"
wide="Łódź-東京.trk"
mkdir -p "$work/wide"
cp "$work/tracks/lakeside.trk" "$work/wide/$wide"
(cd "$work/wide" && trk_linux info "$wide") >"$work/linux/wide.txt" 2>&1 || true
(cd "$work/wide" && trk_windows info "$wide") >"$work/windows/wide.txt" 2>&1 || true
cmp -s "$work/linux/wide.txt" "$work/windows/wide.txt" || fail "info of $wide differs"
(cd "$work/wide" && trk_windows car "$wide" 2 -o "$wide.car") >/dev/null 2>&1 || true
[ -s "$work/wide/$wide.car" ] || fail "car of $wide: no file $wide.car"

echo "== track-analyse.exe with a sample track"
track="$work/tracks/lakeside.trk"
wine "$windows/track-analyse.exe" "$(winpath "$track")" &
gui=$!
wine "$windows/window_probe.exe" 2>"$work/probe.err" | tr -d '\r' >"$work/probe.txt" || true
import -window root "$work/screen.png" 2>/dev/null || true
wine "$windows/window_probe.exe" close >/dev/null 2>&1 || true
wait "$gui" && gui_exit=0 || gui_exit=$?

grep -qx "title: Velocitra Track Analyse" "$work/probe.txt" || fail "window title: $(head -n 1 "$work/probe.txt")"
# The listing, line for line, is what trk info prints for the same track.
(cd "$work/tracks" && trk_linux info lakeside.trk) >"$work/linux/listing.txt"
sed -n '/^listing:$/,/^end of listing$/p' "$work/probe.txt" | sed '1d;$d' >"$work/windows/listing.txt"
cmp -s "$work/linux/listing.txt" "$work/windows/listing.txt" || fail "the window's listing differs"
grep -q "^picture: 512x560" "$work/probe.txt" || fail "picture control: $(grep '^picture' "$work/probe.txt")"
[ "$gui_exit" = 0 ] || fail "track-analyse.exe exit code $gui_exit"
# The window's picture on the screen is the Linux render of the same track
# without overlays, outside the caption band.
trk_linux render "$track" -o "$work/linux/plain.png" 2>/dev/null
origin=$(sed -n 's/^picture on screen: //p' "$work/probe.txt")
if [ -n "$origin" ] && [ -s "$work/screen.png" ]; then
  convert "$work/screen.png" -crop "512x512+${origin%,*}+${origin#*,}" +repage "$work/shown.png"
  convert "$work/linux/plain.png" -crop 512x512+0+0 +repage "$work/linux/plain-map.png"
  shown=$(compare -metric AE "$work/shown.png" "$work/linux/plain-map.png" null: 2>&1 || true)
  [ "$shown" = "0" ] || fail "the picture on the screen differs in $shown pixels"
  # docs/ changes only on request, so that a run leaves the checkout as it was.
  if [ -n "${TA_UPDATE_SCREENSHOT:-}" ]; then
    convert "$work/screen.png" -strip docs/windows-screenshot.png
  fi
else
  fail "no screenshot of the window"
fi

wineserver -k 2>/dev/null || true
if [ "$failures" -gt 0 ]; then
  echo "wine-check: $failures failures" >&2
  exit 1
fi
echo "wine-check: all passed"
