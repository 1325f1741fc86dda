#!/usr/bin/env python3
"""Loads korvalen-tool's CSV with the csv module and its JSON Lines with json, and compares
both with the records of the data file, cut into fields from the format line here.

usage: LoadExport.py FILE.FMT FORMAT DATA.DAT OUT.csv OUT.jsonl"""
import csv
import decimal
import json
import sys

NUMERIC = set("NRDYB")


def pairs_of(fmt_path, name):
    lines = open(fmt_path, encoding="latin-1").read().splitlines()
    at = next(i for i, l in enumerate(lines) if l.strip().split("/")[0].upper() == name)
    count = int(lines[at].split("/")[1]) if "/" in lines[at] else 1
    rest = [l for l in lines[at + 1:]]
    pairs = []
    i = 0
    while len(pairs) < count:
        while len(rest[i]) < 5:
            i += 1
        pairs.append(rest[i])
        i += 2
    return pairs


def fields_of(line):
    """(start, end, type) of each field but the last position's letter."""
    starts = [i for i, c in enumerate(line) if c not in "-."]
    bounds = list(zip(starts, starts[1:] + [len(line)]))
    return [(s, e, line[s]) for s, e in bounds[:-1]]


def expected(value, typ):
    if typ in NUMERIC:
        if not value.strip():
            return None
        return decimal.Decimal(value.strip())
    return value.rstrip(" ")


def same(cell, want):
    if isinstance(want, decimal.Decimal):
        return decimal.Decimal(str(cell)) == want and (str(cell).count(".") == str(want).count("."))
    return cell == want


def main():
    fmt, name, data, out_csv, out_jsonl = sys.argv[1:]
    pairs = [fields_of(p) for p in pairs_of(fmt, name)]
    raw = open(data, "rb").read().decode("latin-1")
    records = [r for r in raw.split("\r\n") if r]
    several = len(pairs) > 1
    with open(out_csv, newline="", encoding="utf-8") as f:
        rows = list(csv.reader(f, strict=True))
    objects = [json.loads(l, parse_float=decimal.Decimal)
               for l in open(out_jsonl, encoding="utf-8")]
    width = max(len(p) for p in pairs) + (1 if several else 0)
    faults = []
    if len(rows) != len(records) + 1 or len(objects) != len(records):
        faults.append(f"{len(records)} records, {len(rows)} CSV rows, {len(objects)} JSON lines")
    if any(len(r) != width for r in rows):
        faults.append("CSV rows of different widths")
    for n, (rec, row, obj) in enumerate(zip(records, rows[1:], objects), 1):
        fields = pairs[ord(rec[-1]) - ord("a")]
        cells = row[1:] if several else row
        values = list(obj.values())[1:] if several else list(obj.values())
        for k, (s, e, typ) in enumerate(fields):
            want = expected(rec[s:e], typ)
            csv_want = "" if want is None else want
            if not same(cells[k], csv_want) or not (values[k] is None and want is None or same(values[k], want)):
                faults.append(f"record {n}, field {k + 1}: {rec[s:e]!r} gave {cells[k]!r} / {values[k]!r}")
    for f in faults:
        print(f, file=sys.stderr)
    print(f"{len(records)} records loaded from CSV and JSON Lines, {len(faults)} faults")
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main())
