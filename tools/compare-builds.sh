#!/usr/bin/env bash
# Compares every output of two trk builds over tracks of our own, sound and
# damaged: info text, --json, --csv, pictures (JPEG and PNG, overlays in
# several orders, --size, -o -), cars (one and --all), batch names,
# summaries, exit codes and error lines.
#
#   tools/compare-builds.sh OLD_TRK NEW_TRK [TRACKGEN] [COUNT]
#
# A file named just ".trk" is left out: batches took it as a track before
# and no longer do, as the window never did (the one rule for track names).
# Car numbers written "$6" or "%110" are shown apart, as intended changes.
# TRACKGEN defaults to the trackgen beside NEW_TRK, COUNT to 1000. Prints
# each difference and exits 1 if there is any. The one intended difference
# of output, "Image saved" on stderr after -o FILE.png, is counted apart.
set -u

old=$(realpath "${1:?usage: compare-builds.sh OLD_TRK NEW_TRK [TRACKGEN] [COUNT]}")
new=$(realpath "${2:?usage: compare-builds.sh OLD_TRK NEW_TRK [TRACKGEN] [COUNT]}")
trackgen=$(realpath "${3:-$(dirname "$new")/trackgen}")
count=${4:-1000}
work=$(mktemp -d /tmp/compare-builds.XXXXXX)
trap 'rm -rf "$work"' EXIT

# Tracks: names repeat (batch names get -2, -3), some hold characters no
# file name takes, and a share of them are damaged.
tracks="$work/tracks"
mkdir -p "$tracks/a/deep" "$tracks/b"
patch() {  # FILE OFFSET HEX-BYTES
    printf "$(sed 's/\(..\)/\\x\1/g' <<<"$3")" | dd of="$1" bs=1 seek="$2" conv=notrunc status=none
}
for ((i = 0; i < count; ++i)); do
    case $((i % 3)) in 0) dir=$tracks ;; 1) dir=$tracks/a ;; *) dir=$tracks/b ;; esac
    ((i % 7 == 0)) && dir=$tracks/a/deep
    name="t$((i % 400))"
    ((i % 97 == 5)) && name="odd?name*$i"
    file="$dir/$name.trk"
    [[ -e $file ]] && file="$dir/${name}_$i.trk"
    "$trackgen" --seed "$i" --name "$name" -o "$file" 2>/dev/null || exit 1
    size=$(stat -c %s "$file")
    case $((i % 20)) in
        1) truncate -s $(((i * 7919) % size)) "$file" ;;         # cut anywhere
        3) patch "$file" 16 ffffff7f ;;                          # landmap count beyond the end
        5) patch "$file" 0 0401 ;;                               # refused version (1.04)
        7) truncate -s 0 "$file" ;;                              # empty
        9) patch "$file" 4 ffffff00 ;;                           # trailer beyond the end
        11) truncate -s $((size - 9000 - i % 3000)) "$file" ;;  # cars and ghost cut off
        13) truncate -s 19 "$file" ;;                            # less than a header
    esac
done
cp "$tracks/t3.trk" "$tracks/UPPER.TRK"
echo "not a track" >"$tracks/b/readme.txt"
mapfile -t files < <(find "$tracks" -type f -name '*.trk' -o -type f -name '*.TRK' | sort)

# run BUILD TAG DIR ARGS...: runs trk in DIR (made fresh), keeping stdout,
# stderr and the exit code under out/BUILD/TAG.
run() {
    local build=$1 tag=$2 dir=$3
    shift 3
    local bin=$new out="$work/out/$build/$tag"
    [[ $build == old ]] && bin=$old
    [[ $build == j1 ]] && out="$work/j1/$tag"
    mkdir -p "$out" "$dir"
    (cd "$dir" && "$bin" "$@" >"$out/stdout" 2>"$out/stderr"; echo $? >"$out/rc")
}

sweep() {  # BUILD JOBS
    # Both builds write under the same folder, as messages name it.
    local b=$1 j=$2 o="$work/files/run"
    run "$b" info "$o/x" info -r -j "$j" "$tracks"
    run "$b" json "$o/x" info --json -r -j "$j" "$tracks"
    run "$b" csv "$o/x" info --csv -r -j "$j" "$tracks"
    run "$b" render-plain "$o/x" render -r -j "$j" -d "$o/plain" "$tracks"
    run "$b" render-wog "$o/x" render -r -j "$j" --water --objects --ghost -d "$o/wog" "$tracks"
    run "$b" render-gow "$o/x" render -r -j "$j" --ghost --objects --water --format png -d "$o/gow" "$tracks"
    run "$b" render-ow "$o/x" render -r -j "$j" --objects --water --size 200 --quality 85 -d "$o/ow" "$tracks"
    run "$b" cars "$o/x" car --all -r -j "$j" -d "$o/cars" "$tracks"
    run "$b" stdin-batch "$o/x" info - "$tracks/b" <"${files[2]}"
    local n=0 f
    for f in "${files[@]}"; do
        n=$((n + 1))
        run "$b" "one/$n/info" "$o/one" info "$f"
        ((n % 5 == 0)) || continue
        run "$b" "one/$n/json" "$o/one" info --json "$f"
        run "$b" "one/$n/csv" "$o/one" info --csv "$f"
        run "$b" "one/$n/jpg" "$o/one/$n" render --ghost --water "$f" -o a.jpg
        run "$b" "one/$n/png" "$o/one/$n" render --objects --size 97 "$f" -o a.png
        run "$b" "one/$n/named" "$o/one/$n" render --water "$f"
        run "$b" "one/$n/stdout" "$o/one/$n" render --water --objects --format png -o - - <"$f"
        run "$b" "one/$n/car" "$o/one/$n" car "$f" $((n % 7))
        run "$b" "one/$n/car-o" "$o/one/$n" car "$f" 0 -o best.car
        run "$b" "one/$n/car-all" "$o/one/$n" car --all "$f"
    done
    # Usage errors: bad car numbers, qualities, sizes, formats, no tracks.
    local k=0 args
    for args in "car ${files[0]} 7" "car ${files[0]} -1" "car ${files[0]} 2x" "car ${files[0]} 0x3" \
        "car ${files[0]} abc" "render ${files[0]} --quality 0" "render ${files[0]} --size 0" \
        "render ${files[0]} --format gif -o -" "render ${files[0]} -o a.bmp" "info" \
        "info $work/missing.trk" "render $tracks -o one.jpg" "car ${files[0]}" \
        "car ${files[0]} +2 -o c.car" \
        "render ${files[0]} --quality +3 -o q.jpg" "render ${files[0]} --quality \$3 -o q.jpg" \
        "render ${files[0]} --size %11 -o q.jpg" "info -j 99999999999999999999 ${files[0]}" \
        "info -j 3x ${files[0]}"; do
        k=$((k + 1))
        # shellcheck disable=SC2086
        run "$b" "usage/$k" "$o/usage" $args
    done
    mv "$o" "$work/files/$b"
}

echo "compare-builds: ${#files[@]} tracks; old $old, new $new" >&2
sweep old 2
sweep new 2
# The same bytes whatever the number of workers.
run j1 info "$work/files/j1/x" info -r -j 1 "$tracks"
run j1 render "$work/files/j1/x" render -r -j 1 --water --objects --ghost -d "$work/files/j1/wog" "$tracks"

# The intended change: -o FILE.png now says "Image saved" as -o FILE.jpg does.
intended=0
for f in "$work"/out/new/one/*/png/stderr; do
    o=${f/\/new\//\/old\/}
    if ! cmp -s "$f" "$o" && cmp -s <(grep -vx 'Image saved' "$f") "$o"; then
        intended=$((intended + 1))
        cp "$o" "$f"
    fi
done

# The other intended change: car numbers as the window's input dialog reads
# them ("$6", "%110"), which the commit before the one-digit-parser refused.
for number in '$6' '%110'; do
    for b in old new; do
        run "$b" "dialog-number" "$work/files/dialog-$b" car "$tracks/t3.trk" "$number" -o c.car
        mv "$work/out/$b/dialog-number" "$work/dialog-$b-${number:0:1}"
    done
    echo "compare-builds: car $number: exit code $(cat "$work/dialog-old-${number:0:1}/rc") before," \
        "$(cat "$work/dialog-new-${number:0:1}/rc") now"
done

status=0
diff -r "$work/out/old" "$work/out/new" >"$work/out.diff" || status=1
diff -r "$work/files/old" "$work/files/new" >>"$work/out.diff" || status=1
diff "$work/out/new/info/stdout" "$work/j1/info/stdout" >>"$work/out.diff" || status=1
diff -r "$work/files/new/wog" "$work/files/j1/wog" >>"$work/out.diff" || status=1
checked=$(find "$work/out/old" -type f | wc -l)
pictures=$(find "$work/files/old" -type f | wc -l)
echo "compare-builds: $checked outputs and $pictures written files compared;" \
    "$intended intended differences (\"Image saved\" after -o FILE.png)"
if ((status)); then
    head -n 200 "$work/out.diff"
    echo "compare-builds: DIFFERENCES ($(grep -c '^[<>]\|^Only\|^Binary' "$work/out.diff") lines)"
else
    echo "compare-builds: identical"
fi
exit $status
