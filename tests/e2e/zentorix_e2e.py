#!/usr/bin/env python3
"""Zentorix end to end: the built program on a real X server, driven by real
key and pointer events, judged by what a user can see (screenshots, the
window's title and size) and by the files the program writes.

    zentorix_e2e.py --program build/bin --artifacts DIR SCENARIO...
    zentorix_e2e.py --list

Run it inside an X server of 1280x720 (xvfb-run -s "-screen 0 1280x720x24");
it starts openbox itself. Every scenario starts the program on a fresh copy of
the program folder and keeps its screenshots in DIR/SCENARIO."""

import argparse
import os
import re
import shutil
import sys
import tempfile
import time
import traceback

sys.dont_write_bytecode = True  # no __pycache__ in the source tree

import desktop
import screen_parts as parts
from desktop import key, click, wheel, move, wait_for
from program import TITLE_END, Program
from program_files import write_soup

SCENARIOS = {}


def scenario(function):
    SCENARIOS[function.__name__] = function
    return function


class Run:
    """One scenario: its folders, its program, the checks it made."""

    def __init__(self, name, bin_dir, artifacts):
        self.name, self.bin_dir = name, bin_dir
        self.shots = os.path.join(artifacts, name)
        shutil.rmtree(self.shots, ignore_errors=True)
        os.makedirs(self.shots)
        self.work = tempfile.mkdtemp(prefix=f"zentorix-e2e-{name}-")
        self.failures = []
        self.programs = []

    def start(self, **options):
        work = os.path.join(self.work, str(len(self.programs)))
        os.makedirs(work)
        program = Program(self.bin_dir, work, self.shots, **options)
        self.programs.append(program)
        return program

    def check(self, condition, what):
        print(("ok   " if condition else "FAIL ") + what, flush=True)
        if not condition:
            self.failures.append(what)
        return condition

    def finish(self):
        for program in self.programs:
            program.stop()
        shutil.rmtree(self.work, ignore_errors=True)


# ---------------------------------------------------------------- scenarios


def crop(image, area):
    return image.crop(area.x, area.y, area.width, area.height)


def screen_where(what, condition, timeout=15):
    """The first screenshot for which condition(screenshot) holds; one in which
    the condition cannot be judged (a part not found while the window
    repaints) is passed over."""

    def look():
        image = desktop.screenshot()
        try:
            return image if condition(image) else None
        except AssertionError:
            return None

    return wait_for(what, look, timeout, interval=0.2)


def changed(area, reference, what, timeout=15):
    """The first screenshot in which the area differs from the reference."""
    return screen_where(what, lambda image: crop(image, area) != reference, timeout)


def check_settings(run, settings, expected):
    """The values Zentorix.ini holds after the program closed."""
    for name, value in expected.items():
        seen = settings.number(name)
        run.check(seen == value, f"{name} is {value} (written: {seen})")


def still(area, what, seconds=1, timeout=15):
    """A screenshot after which the area stayed as it was for some seconds."""
    last = [crop(desktop.screenshot(), area)]

    def look():
        time.sleep(seconds)
        now = crop(desktop.screenshot(), area)
        same, last[0] = now == last[0], now
        return now if same else None

    return wait_for(what, look, timeout, interval=0)


@scenario
def enter_starts_and_stops_the_run(run):
    """Enter starts the run: the generation counter on the status bar moves;
    a second Enter stops it: the status bar stays as it is."""
    program = run.start(settings={"#SpeedMain": 20})
    image = program.shot("before")
    bar = parts.status_bar(image, program.geometry())
    before = crop(image, bar)
    key("Return")
    running = program.shot("running", changed(bar, before, "Enter to start the run"))
    moved = changed(bar, crop(running, bar), "the generation counter to move on", timeout=10)
    program.shot("running-on", moved)
    key("Return")
    stopped = still(bar, "the second Enter to stop the run")
    program.shot("stopped", stopped)
    run.check(True, "Enter started the run, the counter moved, a second Enter stopped it")


@scenario
def escape_hides_the_panel_then_closes(run):
    """At the first start (no settings file) the language panel shows; Escape
    hides it and leaves the window open; a second Escape closes the window,
    which writes Zentorix.ini."""
    program = run.start()
    window = program.geometry()
    shown = program.shot("language-panel")
    key("Escape")
    changed(window, crop(shown, window), "the first Escape to change the window")
    hidden = program.shot("panel-hidden", program.settle())
    gone = parts.difference(shown, hidden)
    run.check(gone is not None and gone.width > 150 and gone.height > 150,
              f"the first Escape hides a panel (the window changed in {gone})")
    run.check(program.running() and program.window.mapped(), "the window stays open")
    run.check(not os.path.exists(program.settings_path), "no settings file yet")
    key("Escape")
    try:
        program.wait_closed(timeout=20)
    except AssertionError as e:
        program.shot("not-closed")
        run.check(False, f"the second Escape closes the window: {e}")
        return
    run.check(os.path.exists(program.settings_path), "closing wrote Zentorix.ini")


@scenario
def keys_change_speed_layers_and_zoom(run):
    """"+" twice and "-" once: the speed 100 becomes 95; F2 switches Eternal
    Life on, Ctrl+F2 its paint target; number pad "*" zooms in: the grid's
    cells grow by a pixel and the status bar shows the new size."""
    program = run.start(settings={
        "#SpeedMain": 100, "#EternalLifeOn": 0, "#EternalDeadOn": 0,
        "#MainLifePaint": 1, "#EternalLifePaint": 0,
    })
    window = program.geometry()
    before = program.shot("before")
    bar = parts.status_bar(before, window)
    pitch = parts.grid_pitch(before, parts.field_view(before, window))
    key("plus", "plus", "minus", "F2")
    # Ctrl held round F2 (xdotool's "ctrl+F2" lets go of Ctrl first).
    desktop.xdotool("keydown", "Control_L")
    key("F2")
    desktop.xdotool("keyup", "Control_L")
    key("KP_Multiply")
    # The keys act in turn: once the zoom shows, the others have acted.
    grown = lambda image: parts.grid_pitch(image, parts.field_view(image, window)) == pitch + 1
    try:
        zoomed = program.shot("zoomed", screen_where("number pad * to zoom in", grown))
        run.check(True, f"number pad * makes the cells {pitch} + 1 pixels wide")
        run.check(crop(zoomed, bar) != crop(before, bar), "the status bar shows the new size")
    except desktop.Timeout as e:
        program.shot("not-zoomed")
        run.check(False, str(e))
    check_settings(run, program.close(), {
        "#SpeedMain": 95, "#EternalLifeOn": 1, "#EternalDeadOn": 0, "#MainLifePaint": 1,
        "#EternalLifePaint": 1,
    })


@scenario
def key_table_reaches_the_window(run):
    """The rest of the key table, as X delivers it: number pad "." (NumLock
    off) steps; F3, F4 switch the Eternal Dead and Other Reality layers,
    Ctrl+F1, Ctrl+F3, Ctrl+F4 their paint targets; F6 takes the select tool,
    "-" slows the run, number pad 5 keeps the cell size and number pad "/"
    zooms out; Ctrl+G hides the grid. Zentorix.ini shows every change."""
    # Without the automatic stop the steps of an empty field count on.
    program = run.start(settings={
        "#SpeedMain": 100, "#EternalDeadOn": 0, "#OtherRealityOn": 0, "#MainLifePaint": 1,
        "#EternalDeadPaint": 0, "#OtherRealPaint": 0, "#Paint": 1, "#Grid": 1, "#AutoStop": 0,
    })
    window = program.geometry()
    before = program.shot("before")
    bar = parts.status_bar(before, window)
    pitch = parts.grid_pitch(before, parts.field_view(before, window))
    # The counter shows the generation each step finished: 1 after the first.
    key("KP_Delete", "KP_Delete")
    program.shot("stepped", changed(bar, crop(before, bar), "number pad . to step"))
    key("F3", "F4", "F6", "minus", "KP_Begin")
    desktop.xdotool("keydown", "Control_L")
    key("F1", "F3", "F4")
    desktop.xdotool("keyup", "Control_L")
    key("KP_Divide")
    shrunk = lambda image: parts.grid_pitch(image, parts.field_view(image, window)) == pitch - 1
    try:
        program.shot("zoomed-out", screen_where("number pad / to zoom out", shrunk))
    except desktop.Timeout as e:
        program.shot("not-zoomed")
        run.check(False, str(e))
    key("ctrl+g")
    def no_grid(image):
        # Without the grid only the field's border is left of the lines.
        try:
            return parts.grid_pitch(image, parts.field_view(image, window)) > 3 * pitch
        except AssertionError:
            return True

    try:
        program.shot("no-grid", screen_where("Ctrl+G to hide the grid", no_grid))
    except desktop.Timeout as e:
        program.shot("grid-stays")
        run.check(False, str(e))
    check_settings(run, program.close(), {
        "#SpeedMain": 105, "#EternalDeadOn": 1, "#OtherRealityOn": 1, "#MainLifePaint": 0,
        "#EternalDeadPaint": 1, "#OtherRealPaint": 1, "#Paint": 0, "#Grid": 0,
    })


@scenario
def open_dialog_leaves_no_popup(run):
    """Ctrl+O, a path typed into the open dialog (its completer pops up on the
    way) and Enter: the file opens, the title names it, and no window of the
    program but the main one is left on the screen."""
    soup = os.path.join(run.work, "typed-soup.rle")
    write_soup(soup, 20, 20, seed=4)
    program = run.start(settings={"#SpeedMain": 100})
    key("ctrl+o")
    dialog = wait_for("the open dialog", program.other_window, timeout=10)
    dialog.activate()
    desktop.xdotool("type", "--delay", 60, soup[: -len("soup.rle")] + "soup.r")
    time.sleep(0.5)
    program.shot("typing")
    desktop.xdotool("type", "--delay", 60, "le")
    key("Return")
    try:
        wait_for("the title to name the file",
                 lambda: program.window.name() == "typed-soup.rle" + TITLE_END, timeout=15)
    except desktop.Timeout as e:
        program.shot("not-opened")
        run.check(False, str(e))
        return
    time.sleep(0.5)
    program.shot("opened")
    done = desktop.xdotool("search", "--onlyvisible", "--pid", program.process.pid, check=False)
    others = [w for w in done.stdout.split() if w != str(program.window.wid)]
    run.check(not others, f"no other window of the program is on the screen ({others})")


@scenario
def click_paints_cells(run):
    """Two clicks on the field with the paint tool: each cell shows the cell
    colour on the screen, and the field in Zentorix.ini holds exactly those
    two cells, as far apart as the clicks were."""
    program = run.start(settings={"#Paint": 1})
    window = program.geometry()
    before = program.shot("before")
    view = parts.field_view(before, window)
    pitch = parts.grid_pitch(before, view)
    columns = parts.grid_lines(before, view, vertical=True)
    rows = parts.grid_lines(before, view, vertical=False)
    spots = [(columns[10] + pitch // 2, rows[10] + pitch // 2),
             (columns[13] + pitch // 2, rows[12] + pitch // 2)]
    run.check(all(before.pixel(x, y) == 0 for x, y in spots), "two empty cells to click")
    for x, y in spots:
        click(x, y)
    lit = lambda image: all(image.pixel(x, y) != 0 for x, y in spots)
    try:
        after = program.shot("painted", screen_where("the clicked cells to light up", lit))
        colours = {after.pixel(x, y) for x, y in spots}
        run.check(len(colours) == 1 and not parts.is_field_colour(colours.pop()),
                  "both clicked cells show one bright cell colour")
    except desktop.Timeout as e:
        program.shot("not-painted")
        run.check(False, str(e))
    cells = program.close().live_cells()
    run.check(len(cells) == 2, f"the settings file holds two live cells ({sorted(cells)})")
    if len(cells) == 2:
        (x1, y1), (x2, y2) = sorted(cells)
        run.check((x2 - x1, y2 - y1) == (3, 2), "three columns and two rows apart, as clicked")


RULE_LINES = [
    "#R0 NW1,NN1,NE1,WW1,ME0,EE1,SW1,SS1,SE1,HI0,EX0,RB3,RS2,RS3,",
    "#R1 NW1,NN1,NE1,WW1,ME0,EE1,SW1,SS1,SE1,HI3,EX0,RB2,",
    "#R2 NW1,NN1,NE1,WW1,ME0,EE1,SW1,SS1,SE1,HI0,EX0,RB3,RS2,RS3,",
]


@scenario
def wheel_scrolls_the_rules_page(run):
    """The wheel over the rules page, its weight boxes and lists, scrolls the
    page and changes no value: the tool panel's picture moves up and the
    rules written to Zentorix.ini are the ones it read."""
    program = run.start(settings={"#PagesOpen1": 0},
                        settings_lines=["[Rules Settings]"] + RULE_LINES)
    window = program.geometry()
    before = program.shot("before")
    bar = parts.status_bar(before, window)
    # The tool panel holds the window's right edge (its scroll bar at the very
    # edge left out); its lower part shows the page.
    top = window.y + window.height // 3
    panel = desktop.Geometry(window.right - 230, top, 210, bar.y - top)
    # The first notch over the weight boxes' bottom row.
    wheel([(window.right - 110, bar.y - 20)])
    changed(panel, crop(before, panel), "the wheel to change the tool panel")
    after = program.shot("one-notch", program.settle())
    shift = parts.vertical_shift(crop(before, panel), crop(after, panel))
    run.check(shift is not None, f"one notch scrolls the tool panel up (by {shift} pixels)")
    # Then notches down two columns of the page, over whatever they meet.
    wheel([(x, y) for x in (window.right - 160, window.right - 70)
           for y in range(window.y + window.height // 2, bar.y - 10, 30)])
    program.shot("many-notches", program.settle())
    written = [line for line in program.close().lines if re.match(r"#R\d ", line)]
    run.check(written == RULE_LINES, "the rules are unchanged: " + " | ".join(written))


@scenario
def chart_shows_curves_at_full_speed(run):
    """A 64x64 soup at speed 0 with the statistics page open: 3 s after Enter
    the chart shows a live curve (white pixels in the chart's image), and so
    does every one of 10 screenshots half a second apart."""
    soup = os.path.join(run.work, "soup.rle")
    write_soup(soup, 64, 64, seed=18)
    program = run.start(settings={"#PagesOpen1": 3, "#SpeedMain": 1}, args=[soup])
    title = program.window.name()
    run.check(title == "soup.rle" + TITLE_END, f"the title names the soup ({title!r})")
    # Start raises the speed 0 to 1; "+" while running: 1 - 5, the fastest, 0.
    key("Return", "plus")
    time.sleep(3)
    image = program.shot("after-3s")
    area = parts.chart(image)
    if not run.check(area is not None, "the chart is on the screen (its grid colours)"):
        return
    columns = parts.curve_columns(image, area)
    run.check(len(columns) >= 7, f"after 3 s the chart shows a curve ({len(columns)} columns)")
    seen = []
    next_shot = time.monotonic()
    for i in range(10):
        time.sleep(max(0, next_shot - time.monotonic()))
        next_shot += 0.5
        image = program.shot(f"at-{i}")
        seen.append(len(parts.curve_columns(image, area)))
    run.check(all(n >= 7 for n in seen), f"every screenshot shows a curve (columns: {seen})")
    program.close()


def check_controls_on_screen(run, program, label):
    """The window inside the screen; the status bar shows the cell under the
    pointer; the item after the language flag on the tool bar opens the help;
    the one after it closes the window, which writes Zentorix.ini."""
    window = program.geometry()
    screen = desktop.screenshot()
    run.check(window.x >= 0 and window.y >= 0 and window.right <= screen.width
              and window.bottom <= screen.height,
              f"{label}: the window {window} lies inside the screen")
    image = program.shot(f"{label}-window")
    view = parts.field_view(image, window)
    move(view.x + view.width // 3, view.y + view.height // 3)
    time.sleep(0.3)
    first = program.shot(f"{label}-pointer-a", program.settle())
    move(view.x + view.width // 2 + 17, view.y + view.height // 2 + 23)
    time.sleep(0.3)
    second = program.shot(f"{label}-pointer-b", program.settle())
    moved = parts.difference(first, second)
    bar = parts.status_bar(second, window)
    run.check(moved is not None and moved.y >= bar.y and moved.bottom <= bar.bottom
              and moved.bottom <= screen.height,
              f"{label}: the status bar shows the cell under the pointer (changed: {moved})")
    items = parts.tool_bar_items(second, window, view.y)
    flags = [i for i, item in enumerate(items) if parts.holds_flag(second, item)]
    if not run.check(len(flags) == 1, f"{label}: the language button shows its flag"):
        return
    after_flag = items[flags[0] + 1 : flags[0] + 3]
    if not run.check(len(after_flag) == 2, f"{label}: two items follow the flag ({after_flag})"):
        return
    help_item, exit_item = after_flag
    click(help_item.x + help_item.width // 2, help_item.y + help_item.height // 2)
    try:
        help_window = wait_for("the help window to open", program.other_window, timeout=10)
    except desktop.Timeout:
        program.shot(f"{label}-no-help")
        run.check(False, f"{label}: the item at {help_item} opens the help")
        return
    program.shot(f"{label}-help", program.settle())
    run.check(help_window.name() != program.window.name() and not program.opened(),
              f"{label}: the help opens in the program's own window ('{help_window.name()}')")
    help_window.activate()
    key("Escape")
    try:
        wait_for("the help window to close", lambda: not help_window.mapped(), timeout=10)
    except desktop.Timeout:
        run.check(False, f"{label}: Escape closes the help window")
        return
    program.window.activate()
    # The exit button is where it was found only if the tool bar stayed as it was.
    move(view.x + view.width // 2, view.y + view.height // 2)
    now = program.shot(f"{label}-help-opened", program.settle())
    if not run.check(parts.tool_bar_items(now, window, view.y) == items,
                     f"{label}: the tool bar stays as it was"):
        return
    click(exit_item.x + exit_item.width // 2, exit_item.y + exit_item.height // 2)
    try:
        program.wait_closed(timeout=20)
    except AssertionError:
        program.shot(f"{label}-not-closed")
        run.check(False, f"{label}: the item at {exit_item} closes the window")
        return
    run.check(os.path.exists(program.settings_path),
              f"{label}: the exit button closes the window, which writes Zentorix.ini")


@scenario
def window_fits_the_screen(run):
    """At its first size on a 1280x720 screen the window shows its status bar,
    help button and exit button."""
    program = run.start(settings={"#PagesOpen1": 0})
    check_controls_on_screen(run, program, "start-size")


@scenario
def window_fits_at_its_minimum_size(run):
    """Made as small as it goes (asked for 100x100), the window still shows its
    status bar, help button and exit button."""
    program = run.start(settings={"#PagesOpen1": 0})
    start = program.geometry()
    program.window.resize(100, 100)
    wait_for("the window to shrink", lambda: program.geometry().width < start.width, timeout=10)
    program.settle()
    smallest = program.geometry()
    print(f"minimum size: {smallest.width}x{smallest.height}", flush=True)
    run.check(smallest.width < start.width and smallest.height < start.height,
              f"the window became smaller than its start size {start}")
    check_controls_on_screen(run, program, "minimum-size")


# ---------------------------------------------------------------- main


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--program", help="the built program's folder (zentorix and its data)")
    parser.add_argument("--artifacts", help="where the screenshots of each scenario are kept")
    parser.add_argument("--list", action="store_true", help="name the scenarios")
    parser.add_argument("scenarios", nargs="*")
    options = parser.parse_args()
    if options.list:
        print("\n".join(SCENARIOS))
        return 0
    unknown = [s for s in options.scenarios if s not in SCENARIOS]
    if unknown or not options.scenarios or not options.program or not options.artifacts:
        parser.error(f"unknown scenario {unknown[0]}" if unknown else "nothing to run")
    missing = [t for t in ("openbox", "xdotool", "import") if not shutil.which(t)]
    if missing or not os.environ.get("DISPLAY"):
        print("needs an X server (run it under xvfb-run) and the programs openbox, xdotool"
              f" and import (ImageMagick); missing: {missing or 'DISPLAY'}", file=sys.stderr)
        return 2
    failed = []
    os.makedirs(options.artifacts, exist_ok=True)
    log_name = options.scenarios[0] if len(options.scenarios) == 1 else "scenarios"
    wm = desktop.WindowManager(os.path.join(options.artifacts, f"{log_name}.openbox.log"))
    try:
        for name in options.scenarios:
            print(f"--- {name}", flush=True)
            started = time.monotonic()
            run = Run(name, os.path.abspath(options.program), os.path.abspath(options.artifacts))
            try:
                SCENARIOS[name](run)
            except AssertionError as e:
                run.check(False, str(e))
            except Exception:
                traceback.print_exc()
                run.failures.append("error")
            finally:
                run.finish()
            print(f"--- {name}: {'FAILED' if run.failures else 'passed'} "
                  f"in {time.monotonic() - started:.1f} s (pictures in {run.shots})", flush=True)
            if run.failures:
                failed.append(name)
    finally:
        wm.stop()
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
