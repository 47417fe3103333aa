#!/usr/bin/env bash
# `cmake --install` into a staging prefix puts everything where a Linux
# desktop finds it, and each piece passes the desktop's own validators:
# desktop-file-validate, appstreamcli, xmllint, update-mime-database with
# xdg-mime (a track without its extension is known by its first bytes).
# The manual pages and the shell completions tell the options of --help.
#   install_test.sh BUILD-DIR MAKE-DEMO-TRACK
set -euo pipefail
build=$1
make_demo=$2
# shellcheck source-path=SCRIPTDIR source=harness.sh
source "$(dirname "$0")/harness.sh"
install_staged "$build"

for f in bin/track-analyse bin/trk share/applications/track-analyse.desktop \
         share/metainfo/io.github.trackanalyse.TrackAnalyse.metainfo.xml \
         share/icons/hicolor/scalable/apps/track-analyse.svg \
         share/mime/packages/track-analyse.xml share/thumbnailers/track-analyse.thumbnailer \
         share/man/man1/trk.1 share/man/man1/track-analyse.1 \
         share/bash-completion/completions/trk share/zsh/site-functions/_trk \
         share/fish/vendor_completions.d/trk.fish; do
  [ -f "$prefix/$f" ] || fail "$f not installed"
done
for size in 16 24 32 48 64 128 256; do
  icon=$share/icons/hicolor/${size}x${size}/apps/track-analyse.png
  [ -f "$icon" ] || fail "no ${size}px icon"
  [ "$(identify -format '%wx%h' "$icon")" = "${size}x${size}" ] || fail "${size}px icon has another size"
done

# The menu entry: valid without a single hint, one main category, and tied
# to the window by its class.
desktop=$share/applications/track-analyse.desktop
verdict=$(desktop-file-validate "$desktop" 2>&1) || fail "desktop-file-validate: $verdict"
[ -z "$verdict" ] || fail "desktop-file-validate: $verdict"
grep -qx "Exec=track-analyse %f" "$desktop" || fail "Exec line"
grep -qx "MimeType=application/x-velocitra-track;" "$desktop" || fail "MimeType line"
grep -qx "StartupWMClass=track-analyse" "$desktop" || fail "StartupWMClass line"
grep -qx "Categories=Game;" "$desktop" || fail "Categories line"

metainfo=$share/metainfo/io.github.trackanalyse.TrackAnalyse.metainfo.xml
verdict=$(appstreamcli validate --no-net "$metainfo" 2>&1) || fail "appstreamcli: $verdict"
grep -q "<launchable type=\"desktop-id\">track-analyse.desktop</launchable>" "$metainfo" ||
  fail "metainfo names no desktop entry"
grep -q "/docs/screenshot.png</image>" "$metainfo" || fail "metainfo has not the README's screenshot"
# The release it names is the one --version tells, with its day.
version=$("$prefix/bin/trk" --version | cut -d' ' -f2)
grep -Eq "<release version=\"$version\" date=\"[0-9]{4}-[0-9]{2}-[0-9]{2}\"/>" "$metainfo" ||
  fail "metainfo's release is not $version"
for xml in "$metainfo" "$share/mime/packages/track-analyse.xml" \
           "$share/icons/hicolor/scalable/apps/track-analyse.svg"; do
  xmllint --noout "$xml" || fail "xmllint refused $xml"
done

# The MIME type: by name, and by the first bytes 05 01 "VT" without a name.
update-mime-database "$share/mime" >/dev/null 2>&1 || fail "update-mime-database refused the package"
grep -qx "50:application/x-velocitra-track:\*.trk" "$share/mime/globs2" || fail "no glob for *.trk"
tracks=$prefix/tracks
mkdir -p "$tracks" "$prefix/home"
"$make_demo" "$tracks/lakeside" >/dev/null
printf '\x05\x01V\x00 not quite a track' >"$tracks/almost"
printf '\x01\x05VT swapped version bytes' >"$tracks/swapped"
query() {
  env -u XDG_CURRENT_DESKTOP -u DESKTOP_SESSION XDG_DATA_HOME="$prefix/home" \
    XDG_DATA_DIRS="$share" xdg-mime query filetype "$1"
}
[ "$(query "$tracks/lakeside")" = "application/x-velocitra-track" ] ||
  fail "a track without extension is $(query "$tracks/lakeside")"
for other in almost swapped; do
  [ "$(query "$tracks/$other")" != "application/x-velocitra-track" ] || fail "$other taken for a track"
done

# The manual pages are the programs' own --help, options and all.
for program in trk track-analyse; do
  page=$(MANWIDTH=200 man -l "$share/man/man1/$program.1" 2>/dev/null)
  for option in $("$prefix/bin/$program" --help | grep -oE -- '(^|[ ,])--?[A-Za-z][-A-Za-z]*' |
                  tr -d ' ,' | sort -u); do
    grep -qF -- "$option" <<<"$page" || fail "$program.1 does not tell $option"
  done
  "$prefix/bin/$program" --version | grep -q "^$program [0-9]" || fail "$program --version"
done
for command in info render car lap compare; do
  grep -qF "trk $command" "$share/man/man1/trk.1" || fail "trk.1 lacks the command $command"
done

# Every option of every trk command is completed in bash, zsh and fish.
bash_file=$share/bash-completion/completions/trk
zsh_file=$share/zsh/site-functions/_trk
fish_file=$share/fish/vendor_completions.d/trk.fish
for command in "" info render car lap compare; do
  for option in $("$prefix/bin/trk" $command --help |
                  grep -oE -- '^ +-[-A-Za-z]+(,--[-A-Za-z]+)?' | tr ',' '\n' | tr -d ' '); do
    grep -qF -- "$option" "$bash_file" || fail "bash completion lacks trk $command $option"
    grep -qF -- "$option" "$zsh_file" || fail "zsh completion lacks trk $command $option"
    case $option in
      --*) fish_option="-l ${option#--}" ;;
      *) fish_option="-s ${option#-}" ;;
    esac
    grep -qF -- "$fish_option" "$fish_file" || fail "fish completion lacks trk $command $option"
  done
done
bash -n "$bash_file" || fail "bash completion does not parse"
if command -v zsh >/dev/null; then zsh -n "$zsh_file" || fail "zsh completion does not parse"; fi
if command -v fish >/dev/null; then fish -n "$fish_file" || fail "fish completion does not parse"; fi
complete_bash() {
  (cd "$tracks" && bash -c 'source "$1"; shift; COMP_WORDS=("$@"); COMP_CWORD=$(($# - 1))
    _trk; printf "%s\n" "${COMPREPLY[@]}"' _ "$bash_file" "$@")
}
touch "$tracks/monza.trk" "$tracks/notes.txt"
[ "$(complete_bash trk re)" = "render" ] || fail "bash: trk re"
[ "$(complete_bash trk render --wa)" = "--water" ] || fail "bash: trk render --wa"
[ "$(complete_bash trk info "")" = "monza.trk" ] ||
  fail "bash: trk info offers $(complete_bash trk info "")"
echo ok
