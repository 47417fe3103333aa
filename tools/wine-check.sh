#!/usr/bin/env bash
# The Windows build under Wine, against the Linux build on the same tracks:
#   tools/wine-check.sh LINUX_BUILD WINDOWS_BUILD [SETUP]
# - the unit tests built for Windows;
# - trk.exe info and info --json: the same bytes as Linux's trk, for the
#   samples and a set of generated tracks;
# - trk.exe car: the same bytes;
# - trk.exe render to PNG: the same pixels outside the caption band (whose
#   text comes from another rasteriser); to JPEG: 512 x 560 and close to it;
# - track-analyse.exe started with a sample track: its title, listing and
#   picture checked on a screenshot (build-windows/wine-check/screen.png;
#   TA_UPDATE_SCREENSHOT=1 puts it in docs/windows-screenshot.png), closed
#   with exit code 0;
# - the installer SETUP (dist/track-analyse-setup.exe): silent installs per
#   machine and per user, their files, start-menu entry and registry keys,
#   the window started through the .trk association, silent uninstalls that
#   give back another program's claim on .trk and leave the prefix's files
#   and registry as they were.
# Wine runs headless under Xvfb, in a prefix of its own in the build folder.
set -euo pipefail
cd "$(dirname "$0")/.."
linux=$(realpath "${1:-build/release}")
windows=$(realpath "${2:-build-windows}")
setup=$(realpath "${3:-dist/track-analyse-setup.exe}")
work="$windows/wine-check"
rm -rf "$work"
mkdir -p "$work/tracks" "$work/linux" "$work/windows"

# No winemenubuilder: it would copy the installer's start-menu entry and
# association to this machine's own desktop.
export WINEPREFIX="$windows/wineprefix" WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
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
  exec env TA_WINE_CHECK_IN_XVFB=1 xvfb-run -a -s "-screen 0 1280x800x24" "$0" "$linux" "$windows" "$setup"
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

# probe NAME [SCREENSHOT]: waits for the window with its listing and writes
# what the probe sees to $work/NAME.txt, with the listing alone in
# $work/windows/NAME-listing.txt; takes the screenshot when asked, then closes
# the window. The listing, line for line, is what trk info prints for the same
# track: $work/linux/listing.txt.
(cd "$work/tracks" && trk_linux info lakeside.trk) >"$work/linux/listing.txt"
probe() {
  wine "$windows/window_probe.exe" 2>"$work/$1.err" | tr -d '\r' >"$work/$1.txt" || true
  if [ -n "${2:-}" ]; then import -window root "$2" 2>/dev/null || true; fi
  wine "$windows/window_probe.exe" close >/dev/null 2>&1 || true
  grep -qx "title: Velocitra Track Analyse" "$work/$1.txt" || fail "$1: window title: $(head -n 1 "$work/$1.txt")"
  sed -n '/^listing:$/,/^end of listing$/p' "$work/$1.txt" | sed '1d;$d' >"$work/windows/$1-listing.txt"
  cmp -s "$work/linux/listing.txt" "$work/windows/$1-listing.txt" || fail "$1: the window's listing differs"
}

echo "== track-analyse.exe with a sample track"
track="$work/tracks/lakeside.trk"
wine "$windows/track-analyse.exe" "$(winpath "$track")" &
gui=$!
probe probe "$work/screen.png"
wait "$gui" && gui_exit=0 || gui_exit=$?

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

echo "== the installer: silent, per machine and per user, and its uninstaller"
version=$(trk_linux --version | cut -d' ' -f2)
key='Software\Microsoft\Windows\CurrentVersion\Uninstall\TrackAnalyse'
classes='Software\Classes'
prog_id=TrackAnalyse.Track
# value KEY [NAME]: a registry value's data, the key's default without NAME;
# nothing when it is missing.
value() {
  { if [ -n "${2:-}" ]; then wine reg query "$1" /v "$2"; else wine reg query "$1" /ve; fi; } 2>/dev/null |
    tr -d '\r' | sed -n 's/^ .*    REG_[A-Z_]*    //p' || true
}
# The prefix's files and the registry where an install writes, but for the
# window's memory of the last folder (%LOCALAPPDATA%\track-analyse, the
# user's own, kept as any program's user data is).
state() {
  (cd "$WINEPREFIX/drive_c" && find . | grep -Ev '/AppData/Local/track-analyse(/|$)' | sort)
  for hive in 'HKEY_LOCAL_MACHINE\Software' 'HKEY_CURRENT_USER\Software\Classes' \
      'HKEY_CURRENT_USER\Software\Microsoft'; do
    rm -f "$work/hive.reg"
    wine regedit /E "$work/hive.reg" "$hive" >/dev/null 2>&1
    iconv -f UTF-16 -t UTF-8 "$work/hive.reg" | tr -d '\r'
  done
}
# uninstall HIVE: runs the uninstaller as Windows' "Apps" does, by the
# registry's QuietUninstallString, and waits for the copy of itself that it
# runs from %TEMP% (and deletes at the next restart).
uninstall() {
  local quiet command=()
  quiet=$(value "$1\\$key" QuietUninstallString)
  [ -n "$quiet" ] || { fail "$1: no QuietUninstallString"; return; }
  eval "command=($quiet)"
  wine "${command[@]}" || fail "$1: the uninstaller failed"
  for _ in $(seq 120); do
    pgrep -f '\\Temp\\~nsu' >/dev/null || return 0
    sleep 0.5
  done
  fail "$1: the uninstaller did not end"
}

# Another program's claim on .trk, which the installer takes and the
# uninstaller gives back; and the per-user classes, which Windows always has.
wine reg add "HKLM\\$classes\\.trk" /ve /d Other.Track /f >/dev/null 2>&1
wine reg add "HKCU\\$classes" /f >/dev/null 2>&1
state >"$work/before-install.txt"
for mode in AllUsers CurrentUser; do
  if [ "$mode" = AllUsers ]; then hive=HKLM; else hive=HKCU; fi
  wine "$setup" /S "/$mode" || fail "$mode: setup.exe /S exit code $?"
  folder=$(value "$hive\\$key" InstallLocation)
  [ -n "$folder" ] || { fail "$mode: no uninstall entry in $hive"; continue; }
  unix=$(winepath -u "$folder" 2>/dev/null || true)
  for file in track-analyse.exe trk.exe README.txt uninstall.exe; do
    [ -f "$unix/$file" ] || fail "$mode: $file not installed"
  done
  if [ "$mode" = AllUsers ]; then
    menu=$WINEPREFIX/drive_c/ProgramData
  else
    menu=$(echo "$WINEPREFIX"/drive_c/users/*/AppData/Roaming)
    [[ $folder == *'\AppData\Local\Programs\Track Analyse' ]] || fail "$mode: installed in $folder"
  fi
  [ -f "$menu/Microsoft/Windows/Start Menu/Programs/Velocitra Track Analyse.lnk" ] ||
    fail "$mode: no start-menu entry"
  [ "$(value "$hive\\$key" DisplayVersion)" = "$version" ] || fail "$mode: DisplayVersion"
  [ "$(wine "$unix/trk.exe" --version | tr -d '\r')" = "trk $version" ] || fail "$mode: installed trk.exe"
  [ "$(value "$hive\\$classes\\.trk")" = $prog_id ] || fail "$mode: .trk is not $prog_id's"
  [ "$(value "$hive\\$classes\\$prog_id\\shell\\open\\command")" = "\"$folder\\track-analyse.exe\" \"%1\"" ] ||
    fail "$mode: the open command"
  [ "$(value "$hive\\$classes\\$prog_id\\DefaultIcon")" = "\"$folder\\track-analyse.exe\",0" ] ||
    fail "$mode: the track's icon"
  # Wine's HKEY_CLASSES_ROOT shows the machine's classes alone, so only the
  # install per machine can open a track by its association here.
  if [ "$mode" = AllUsers ]; then
    [ "$(value "$hive\\$key" PreviousTrackClass)" = Other.Track ] || fail "$mode: the earlier claim on .trk is not kept"
    wine start /unix "$work/tracks/lakeside.trk"
    probe association
    for _ in $(seq 60); do pgrep -f 'Track Analyse.track-analyse\.exe' >/dev/null || break; sleep 0.5; done
  fi
  uninstall "$hive"
done
[ "$(value "HKLM\\$classes\\.trk")" = Other.Track ] || fail "the earlier claim on .trk is not given back"
wineboot -r >/dev/null 2>&1 # the restart that takes the uninstallers' copies away
state >"$work/after-uninstall.txt"
if ! diff "$work/before-install.txt" "$work/after-uninstall.txt" >"$work/left-behind.txt"; then
  fail "the uninstallers left behind (>) or took away (<):"
  head -n 20 "$work/left-behind.txt" >&2
fi
wine reg delete "HKLM\\$classes\\.trk" /f >/dev/null 2>&1

wineserver -k 2>/dev/null || true
if [ "$failures" -gt 0 ]; then
  echo "wine-check: $failures failures" >&2
  exit 1
fi
echo "wine-check: all passed"
