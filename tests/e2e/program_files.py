"""The files the program reads and writes, as a user (or another program) sees
them: the settings file "Zentorix.ini" and an RLE pattern."""

import random

VALUE_COLUMN = 22  # a key line: the key padded with blanks, the value from here on


def key_line(key, value):
    return key.ljust(VALUE_COLUMN) + str(value)


def write_settings(path, keys, extra_lines=()):
    """A settings file holding only the given keys; the program keeps its
    defaults for every other one."""
    lines = ["#Zentorix configuration file", "#FileType ini"]
    lines += [key_line(k, v) for k, v in keys.items()]
    lines += list(extra_lines)
    with open(path, "w", newline="") as out:
        out.write("".join(line + "\r\n" for line in lines))


class Settings:
    """A settings file as the program wrote it."""

    def __init__(self, path):
        with open(path, "rb") as f:
            self.lines = f.read().decode("utf-8", errors="replace").splitlines()

    def value(self, key):
        for line in self.lines:
            if line.startswith(key) and (len(line) == len(key) or line[len(key)] in " :"):
                return line[VALUE_COLUMN:].strip()
        raise AssertionError(f"the settings file has no {key}")

    def number(self, key):
        return int(self.value(key))

    def lines_starting(self, prefix):
        return [line for line in self.lines if line.startswith(prefix)]

    def live_cells(self, prefix="#L "):
        """The cells of a layer above state 0, as {(column, row): state}, from
        its run-length lines: "." empty, "A".."X" states 1..24 (after a block
        letter "a".."j", 24 more per letter), "$" next row, counts before."""
        cells, x, y, count, base = {}, 0, 0, "", 0
        for line in self.lines_starting(prefix):
            for ch in line[len(prefix) :]:
                if ch.isdigit():
                    count += ch
                    continue
                if "a" <= ch <= "j":
                    base = 24 * (ord(ch) - ord("a") + 1)
                    continue
                n = max(int(count or "1"), 1)
                count = ""
                if ch == ".":
                    x += n
                elif ch == "$":
                    x, y = 0, y + n
                elif "A" <= ch <= "X":
                    for _ in range(n):
                        cells[(x, y)] = base + ord(ch) - ord("A") + 1
                        x += 1
                base = 0
        return cells


def write_soup(path, width, height, seed, density=0.35):
    """A random field in RLE, the same for the same seed."""
    rng = random.Random(seed)
    rows = []
    for _ in range(height):
        cells = "".join("o" if rng.random() < density else "b" for _ in range(width))
        rows.append(cells.rstrip("b"))
    body = "$".join(rows) + "!"
    lines = [f"x = {width}, y = {height}, rule = B3/S23"]
    lines += [body[i : i + 70] for i in range(0, len(body), 70)]
    with open(path, "w") as out:
        out.write("\n".join(lines) + "\n")
