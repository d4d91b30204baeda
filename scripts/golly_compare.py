#!/usr/bin/env python3
"""Compares how zentorix-cli and bgolly read and run pattern files.

For each .rle, .lif and .mcl file under the given folders (default: the
patterns that come with golly) whose pattern fits 400 by 400 cells:
  1. cells: bgolly's reading (-m 0 -o) against ours (zentorix-cli convert to
     RLE), both moved to their bounding box, state by state;
  2. populations over N generations on the torus (bgolly ":T<W+1>,<H+1>",
     our cells 0..W) and on the bounded plane (":P<W>,<H>", our cells 1..W,
     the pattern put where we placed it), with golly's own reading of the rule.
Not run by CI; prints one line per file and a summary.

usage: golly_compare.py [--cli build/bin/zentorix-cli] [--gens 100] [folders...]
"""
import argparse
import os
import re
import subprocess
import sys
import tempfile

MAX_SIDE = 400


def run(cmd, timeout=120):
    return subprocess.run(cmd, capture_output=True, text=True, timeout=timeout)


def parse_rle(path):
    """Cells {(x, y): state}, the rule text and the XRLE place of an RLE file."""
    rule, pos, cells = "", (0, 0), {}
    data = []
    with open(path, encoding="utf-8", errors="replace") as f:
        for line in f:
            line = line.rstrip("\r\n")
            if line.startswith("#CXRLE"):
                m = re.search(r"Pos=(-?\d+),(-?\d+)", line)
                if m:
                    pos = (int(m.group(1)), int(m.group(2)))
            elif line.startswith("#"):
                continue
            elif re.match(r"\s*x\s*=", line):
                m = re.search(r"rule\s*=\s*(\S+)", line)
                rule = m.group(1) if m else ""
            else:
                data.append(line)
    x = y = 0
    count = ""
    prefix = 0
    for c in "".join(data):
        if c.isdigit():
            count += c
            continue
        n = int(count) if count else 1
        count = ""
        if c == "!":
            break
        if c == "$":
            y += n
            x = 0
        elif c in "b.":
            x += n
        elif c == "o":
            for i in range(n):
                cells[(x + i, y)] = 1
            x += n
        elif "p" <= c <= "y":
            prefix = 24 * (ord(c) - ord("p") + 1)
            pcount = n
            continue
        elif "A" <= c <= "X":
            if prefix:
                n = pcount
            for i in range(n):
                cells[(x + i, y)] = prefix + ord(c) - ord("A") + 1
            x += n
        prefix = 0
    return cells, rule, pos


def normalised(cells):
    if not cells:
        return {}
    x0 = min(x for x, _ in cells)
    y0 = min(y for _, y in cells)
    return {(x - x0, y - y0): s for (x, y), s in cells.items()}


def golly_pops(path, gens, algo):
    cmd = ["bgolly", "-m", str(gens), "-i", "1", path]
    if algo:
        cmd[1:1] = ["-a", algo]
    r = run(cmd)
    pops = {}
    for line in r.stdout.splitlines():
        m = re.match(r"(\d+): ([\d,]+)$", line.strip())
        if m:
            pops[int(m.group(1))] = int(m.group(2).replace(",", ""))
    return pops


def our_run(cli, path, gens, torus):
    r = run([cli, "run", "--generations", str(gens), "--torus" if torus else "--plane", path])
    head = re.match(r"field (\d+)x(\d+) \w+ live (\d+)", r.stdout)
    if not head:
        return None, None, {}
    w, h = int(head.group(1)), int(head.group(2))
    pops = {0: int(head.group(3))}
    for line in r.stdout.splitlines()[1:]:
        parts = line.split()
        if len(parts) == 5:
            pops[int(parts[0])] = int(parts[1])
    return w, h, pops


def write_rle(path, cells, rule, pos):
    x0 = min((x for x, _ in cells), default=0)
    y0 = min((y for _, y in cells), default=0)
    multi = any(s > 1 for s in cells.values()) or "/" in rule and rule.count("/") == 2 \
        or "C" in rule.upper().split("/")[-1]
    rows = {}
    for (x, y), s in cells.items():
        rows.setdefault(y - y0, {})[x - x0] = s
    out = []
    for y in range(max(rows, default=-1) + 1):
        row = rows.get(y, {})
        line = ""
        for x in range(max(row, default=-1) + 1):
            s = row.get(x, 0)
            if not multi:
                line += "o" if s else "b"
            elif s == 0:
                line += "."
            elif s <= 24:
                line += chr(ord("A") + s - 1)
            else:
                line += chr(ord("p") + (s - 25) // 24) + chr(ord("A") + (s - 25) % 24)
        out.append(line)
    with open(path, "w") as f:
        f.write("#CXRLE Pos=%d,%d\n" % pos)
        f.write("x = 0, y = 0, rule = %s\n" % rule)
        f.write("$".join(out) + "!\n")


def first_difference(a, b, gens):
    for g in range(gens + 1):
        if a.get(g) != b.get(g):
            return g, a.get(g), b.get(g)
    return None


def compare(cli, path, gens, tmp):
    grle = os.path.join(tmp, "golly.rle")
    zrle = os.path.join(tmp, "ours.rle")
    algo = ""
    for algo in ("", "Generations"):
        if os.path.exists(grle):
            os.remove(grle)
        cmd = ["bgolly", "-m", "0", "-o", grle, path]
        if algo:
            cmd[1:1] = ["-a", algo]
        run(cmd)
        if os.path.exists(grle):
            break
    if not os.path.exists(grle):
        return "skip", "bgolly cannot read it"
    gcells, grule, _ = parse_rle(grle)
    g = normalised(gcells)
    if g and (max(x for x, _ in g) >= MAX_SIDE or max(y for _, y in g) >= MAX_SIDE):
        return "skip", "larger than %d" % MAX_SIDE
    if os.path.exists(zrle):
        os.remove(zrle)
    r = run([cli, "convert", path, zrle])
    problems = r.stderr.strip().replace("\n", " ")
    if not os.path.exists(zrle):
        return "fail", "not opened: " + problems
    zcells, _, zpos = parse_rle(zrle)
    z = normalised(zcells)
    if problems:
        return "problem", "%s (golly rule %s)" % (problems, grule)
    if z != g:
        diff = set(z.items()) ^ set(g.items())
        return "cells", "%d cells differ (ours %d, golly %d), e.g. %s" % (
            len(diff), len(z), len(g), sorted(diff)[:3])

    notes = []
    base = grule.split(":")[0]
    for torus in (True, False):
        w, h, ours = our_run(cli, path, gens, torus)
        if w is None:
            return "fail", "run gave no output"
        if torus:
            # Golly drops cells outside a bounded grid: the pattern goes where
            # we placed it, our column 0 being the grid's left edge.
            suffix = ":T%d,%d" % (w + 1, h + 1)
            place = (zpos[0] - (w + 1) // 2, zpos[1] - (h + 1) // 2)
        else:
            suffix = ":P%d,%d" % (w, h)
            place = (zpos[0] - 1 - w // 2, zpos[1] - 1 - h // 2)
        trip = os.path.join(tmp, "trip.rle")
        write_rle(trip, gcells, base + suffix, place)
        theirs = golly_pops(trip, gens, algo)
        d = first_difference(ours, theirs, gens)
        if d:
            notes.append("%s: generation %d ours %s golly %s" %
                         ("torus" if torus else "plane", d[0], d[1], d[2]))
    if notes:
        return "run", "; ".join(notes)
    return "same", "%d cells, %d generations torus and plane" % (len(z), gens)


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("--cli", default="build/bin/zentorix-cli")
    ap.add_argument("--gens", type=int, default=100)
    ap.add_argument("folders", nargs="*", default=["/usr/share/golly/Patterns"])
    a = ap.parse_args()
    files = []
    for folder in a.folders:
        for root, _, names in os.walk(folder):
            files += [os.path.join(root, n) for n in names
                      if n.lower().endswith((".rle", ".lif", ".mcl"))]
    tally = {}
    with tempfile.TemporaryDirectory() as tmp:
        for path in sorted(files):
            try:
                kind, text = compare(a.cli, path, a.gens, tmp)
            except subprocess.TimeoutExpired:
                kind, text = "fail", "timeout"
            tally[kind] = tally.get(kind, 0) + 1
            print("%-8s %s: %s" % (kind, os.path.relpath(path, a.folders[0]), text), flush=True)
    print("summary:", ", ".join("%s %d" % kv for kv in sorted(tally.items())))


if __name__ == "__main__":
    sys.exit(main())
