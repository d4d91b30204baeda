"""Parts of the program's window found in a screenshot by how they look: the
black field view with its grid, the status bar at the window's foot, the tool
panel at its right edge, the statistics chart by its grid colours, the tool
bar's items in reading order."""

from collections import Counter

from desktop import Geometry

FINE_CHART_GRID = 0x000066
COARSE_CHART_GRID = 0x005500
CHART_LIVE_CURVE = 0xFFFFFF


def is_field_colour(colour):
    """The field's black and its dark-red grid lines."""
    r, g, b = colour >> 16, (colour >> 8) & 0xFF, colour & 0xFF
    return r < 0x80 and g < 0x20 and b < 0x20


def longest_run(values):
    """(start, length) of the longest run of true values."""
    best, start = (0, 0), None
    for i, v in enumerate(list(values) + [False]):
        if v and start is None:
            start = i
        elif not v and start is not None:
            if i - start > best[1]:
                best = (start, i - start)
            start = None
    return best


def field_view(image, window):
    """The field view: the largest dark area of the window, found along the
    window's middle row and then down the middle of that run."""
    y = window.y + window.height // 2
    start, length = longest_run(
        is_field_colour(image.pixel(x, y)) for x in range(window.x, window.right)
    )
    if length < 50:
        raise AssertionError("no field view in the window")
    left, width = window.x + start, length
    x = left + width // 2
    start, length = longest_run(
        is_field_colour(image.pixel(x, y)) for y in range(window.y, window.bottom)
    )
    return Geometry(left, window.y + start, width, length)


def grid_lines(image, view, vertical=True):
    """Positions of the field's grid lines: the columns (or rows) of the view's
    middle third that are lit in most of its rows (or columns)."""
    if vertical:
        across = range(view.y + view.height // 3, view.y + 2 * view.height // 3)
        along = range(view.x, view.right)
        lit = lambda a, b: image.pixel(a, b)
    else:
        across = range(view.x + view.width // 3, view.x + 2 * view.width // 3)
        along = range(view.y, view.bottom)
        lit = lambda a, b: image.pixel(b, a)
    counts = Counter(a for b in across for a in along if lit(a, b) != 0)
    return [a for a in along if counts[a] >= 0.7 * len(across)]


def grid_pitch(image, view):
    """The distance between neighbouring grid lines that occurs most: the cell size."""
    lines = grid_lines(image, view)
    steps = Counter(b - a for a, b in zip(lines, lines[1:]))
    if not steps:
        raise AssertionError("no grid in the field view")
    return steps.most_common(1)[0][0]


def status_bar(image, window):
    """Everything between the field view and the window's foot: the status
    bar, however many rows it takes."""
    view = field_view(image, window)
    return Geometry(window.x, view.bottom, window.width, window.bottom - view.bottom)


def chart(image):
    """The statistics chart's image: the rows and columns that its grid lines
    run along (a stray pixel of the grid's colours elsewhere does not count)."""
    points = image.find(FINE_CHART_GRID) + image.find(COARSE_CHART_GRID)
    rows = [y for y, n in Counter(y for _, y in points).items() if n >= 20]
    columns = [x for x, n in Counter(x for x, _ in points).items() if n >= 20]
    if not rows or not columns:
        return None
    return Geometry(min(columns), min(rows), max(columns) - min(columns) + 1,
                    max(rows) - min(rows) + 1)


def curve_columns(image, area):
    """Columns of the chart that hold pixels of the live curve, leaving out the
    labels at the chart's top and left edges."""
    points = image.find(CHART_LIVE_CURVE, area.x + 30, area.right, area.y + 16, area.bottom)
    return sorted({x for x, _ in points})


def difference(a, b):
    """The bounds of the pixels in which two equal-sized pictures differ, or None."""
    rows = [y for y in range(a.height) if a.row(a.top + y) != b.row(b.top + y)]
    if not rows:
        return None
    left, right = a.width, 0
    for y in rows:
        ra, rb = a.row(a.top + y), b.row(b.top + y)
        first = next(i for i in range(0, len(ra), 3) if ra[i : i + 3] != rb[i : i + 3])
        last = next(i for i in range(len(ra) - 3, -1, -3) if ra[i : i + 3] != rb[i : i + 3])
        left, right = min(left, first // 3), max(right, last // 3 + 1)
    return Geometry(a.left + left, a.top + rows[0], right - left, rows[-1] - rows[0] + 1)


def vertical_shift(before, after, least_rows=10):
    """How far the content of a picture moved up, found as the smallest shift
    under which the rows of the later picture repeat those of the earlier one
    (plain rows of one colour do not count), or None."""
    plain = lambda row: row == row[:3] * (len(row) // 3)
    rows_a = [before.row(before.top + y) for y in range(before.height)]
    rows_b = [after.row(after.top + y) for y in range(after.height)]
    for dy in range(1, before.height - least_rows):
        pairs = list(zip(rows_b, rows_a[dy:]))
        same = sum(1 for b, a in pairs if a == b)
        telling = sum(1 for b, a in pairs if a == b and not plain(a))
        if same >= 0.9 * len(pairs) and telling >= least_rows:
            return dy
    return None


FLAG_BLUE, FLAG_YELLOW = 0x0057B7, 0xFFD700


def is_content(colour, background):
    return any(abs(((colour >> s) & 0xFF) - ((background >> s) & 0xFF)) > 40 for s in (0, 8, 16))


def tool_bar_items(image, window, below):
    """The items above a line (menus, tool bars) in reading order, as bounds:
    rows that hold anything but their own background form bands, and within a
    band the columns that hold something, gaps of a few pixels bridged, form
    items."""
    backgrounds, bands, overall = {}, [], Counter()
    rows = {}
    for y in range(window.y, below):
        line = image.row(y, window.x, window.right)
        rows[y] = Counter(line[i : i + 3] for i in range(0, len(line), 3))
        overall.update(rows[y])
    for y, colours in rows.items():
        # A row where a line of button edges outnumbers the bar's own colour
        # keeps the bar's colour as its background.
        common, count = colours.most_common(1)[0]
        if 2 * count < window.width:
            common = overall.most_common(1)[0][0]
        background = int.from_bytes(common, "big")
        backgrounds[y] = background
        if any(is_content(int.from_bytes(c, "big"), background) for c in colours):
            if bands and bands[-1][1] == y - 1:
                bands[-1][1] = y
            else:
                bands.append([y, y])
    items = []
    for top, bottom in bands:
        busy = [
            any(is_content(image.pixel(x, y), backgrounds[y]) for y in range(top, bottom + 1))
            for x in range(window.x, window.right)
        ]
        start = end = None
        for x, filled in enumerate(busy + [False] * 6):
            if filled:
                start = x if start is None else start
                end = x
            elif start is not None and x - end >= 6:
                items.append(Geometry(window.x + start, top, end - start + 1, bottom - top + 1))
                start = None
    return items


def holds_flag(image, item):
    """Whether an item shows the blue over yellow flag of the language button."""
    colours = {
        image.pixel(x, y) for x in range(item.x, item.right) for y in range(item.y, item.bottom)
    }
    return FLAG_BLUE in colours and FLAG_YELLOW in colours
