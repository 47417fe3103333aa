#!/usr/bin/env python3
"""Reads trk's JSON Lines (argument "json") or CSV ("csv") from stdin with
Python's own parsers and prints each record's file, author and damaged
fields, and the record's field count (CSV) or schema (JSON), as one JSON
array in plain ASCII, so the C++ test compares exact characters without
trusting a decoder of its own. Bad UTF-8 makes it fail."""
import csv
import io
import json
import sys

data = sys.stdin.buffer.read().decode("utf-8")
if sys.argv[1] == "json":
    for line in data.splitlines():
        r = json.loads(line)
        print(json.dumps([r["file"], r["author"], r["damaged"], r["schema"]]))
else:
    for r in csv.DictReader(io.StringIO(data, newline="")):
        print(json.dumps([r["file"], r["author"], r["damaged"], len(r)]))
