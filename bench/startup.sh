#!/usr/bin/env bash
# One track as a whole process: `trk render DEMO.trk -o out.jpg` against
# `cjpeg -quality 70` compressing the same picture from a PPM file, run side
# by side (alternating, so both see the same machine load) and compared by
# their median wall times.
#   bench/startup.sh [BUILD_DIR] [RUNS]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/release}
runs=${2:-50}
trk=$build/trk
work=$(mktemp -d /tmp/ta-bench-startup-XXXXXX)
trap 'rm -rf "$work"' EXIT
track=samples/lakeside.trk

# The same picture as PPM for cjpeg: trk's exact pixels by way of PNG.
"$trk" render "$track" --format png -o "$work/picture.png" 2>/dev/null
python3 - "$work/picture.png" "$work/picture.ppm" <<'PY'
# PNG (8-bit RGB, as trk writes it) to PPM with the standard library only.
import struct, sys, zlib
data = open(sys.argv[1], "rb").read()
at, idat = 8, b""
while at < len(data):
    length, kind = struct.unpack(">I4s", data[at:at + 8])
    body = data[at + 8:at + 8 + length]
    if kind == b"IHDR":
        width, height = struct.unpack(">II", body[:8])
    elif kind == b"IDAT":
        idat += body
    at += 12 + length
raw, stride, rows, prev = zlib.decompress(idat), width * 3, [], bytearray(width * 3)
for y in range(height):
    kind, line = raw[y * (stride + 1)], bytearray(raw[y * (stride + 1) + 1:(y + 1) * (stride + 1)])
    for x in range(stride):
        a = line[x - 3] if x >= 3 else 0
        b, c = prev[x], prev[x - 3] if x >= 3 else 0
        if kind == 1: line[x] = (line[x] + a) & 255
        elif kind == 2: line[x] = (line[x] + b) & 255
        elif kind == 3: line[x] = (line[x] + (a + b) // 2) & 255
        elif kind == 4:
            p = a + b - c
            pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
            line[x] = (line[x] + (a if pa <= pb and pa <= pc else b if pb <= pc else c)) & 255
    rows.append(bytes(line))
    prev = line
open(sys.argv[2], "wb").write(b"P6\n%d %d\n255\n" % (width, height) + b"".join(rows))
PY
# One run first, so that both start from warm caches (and trk's font cache
# exists, as it does on every run after a user's first).
"$trk" render "$track" -o "$work/trk.jpg" 2>/dev/null
"$trk" render "$track" -o "$work/kept.jpg" 2>/dev/null
cjpeg -quality 70 "$work/picture.ppm" >"$work/cjpeg.jpg"

python3 - "$trk" "$track" "$work" "$runs" <<'PY'
import os, statistics, subprocess, sys, time
trk, track, work, runs = sys.argv[1], sys.argv[2], sys.argv[3], int(sys.argv[4])
# trk and cjpeg each write their file new: it is removed before each run,
# outside the timing, so that both pay the same for a file made where one was
# just deleted. When trk replaces a file that exists, the safe writer first
# flushes the new one to disk, so that a crash cannot leave the old one empty;
# cjpeg never does. "replacing" shows that cost, "-o -" the picture on stdout.
commands = {
    "trk": [trk, "render", track, "-o", work + "/trk.jpg"],
    "trk replacing": [trk, "render", track, "-o", work + "/kept.jpg"],
    "trk -o -": [trk, "render", track, "-o", "-"],
    "cjpeg": ["cjpeg", "-quality", "70", "-outfile", work + "/cjpeg.jpg", work + "/picture.ppm"],
}
times = {name: [] for name in commands}
for _ in range(runs):
    for name, command in commands.items():
        fresh = {"trk": work + "/trk.jpg", "cjpeg": work + "/cjpeg.jpg"}.get(name)
        if fresh and os.path.exists(fresh):
            os.remove(fresh)
        start = time.perf_counter()
        subprocess.run(command, check=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        times[name].append(time.perf_counter() - start)
median = {name: statistics.median(values) * 1000 for name, values in times.items()}
cjpeg = median["cjpeg"]
print(f"trk render -o out.jpg, whole process: {median['trk']:.2f} ms (median of {runs})")
print(f"  replacing out.jpg (flushed to disk): {median['trk replacing']:.2f} ms")
print(f"  to stdout (-o -):                    {median['trk -o -']:.2f} ms")
print(f"cjpeg -quality 70 on the PPM:         {cjpeg:.2f} ms")
print(f"ratio: {median['trk'] / cjpeg:.2f} (replacing: {median['trk replacing'] / cjpeg:.2f},"
      f" to stdout: {median['trk -o -'] / cjpeg:.2f})")
PY
