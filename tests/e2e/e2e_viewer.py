#!/usr/bin/env python3
"""End-to-end tests of the viewer on an X display, with real input and
screenshots.

    e2e_viewer.py input    VIEWER            spin, colours, keys, drags, WM_APP, close
    e2e_viewer.py errors   VIEWER            missing and malformed models
    e2e_viewer.py bundled  VIEWER MODELS     the six shipped models on screen
    e2e_viewer.py valgrind VIEWER SUPP SRC   one short run under memcheck

Each test starts a private Xvfb (windows of tests running side by side on
one screen without a window manager would cover each other);
TESSALY_E2E_DISPLAY=existing uses $DISPLAY instead, e.g. to watch. The viewer
runs with LIBGL_ALWAYS_SOFTWARE=1 in a temporary folder of small test models
(models.py). Screenshots go to $TESSALY_E2E_SHOTS/<test>/ when that is set.
Exit code 0 on success, 1 on failure, 77 when the test cannot run here.
"""

import os
import re
import shutil
import statistics
import subprocess
import sys
import time
import traceback

sys.dont_write_bytecode = True  # no __pycache__ in the source tree
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

import models  # noqa: E402
import xharness as xh  # noqa: E402
from xharness import check, log  # noqa: E402

SKIP = 77
BG = models.BACKGROUND
BG_TOLERANCE = 3
# Colour bytes may round either way and Mesa's lighting is not exact to the
# last bit.
SHADE_TOLERANCE = 5


class Skip(Exception):
    pass


def shots_for(test):
    root = os.environ.get("TESSALY_E2E_SHOTS")
    return xh.ShotLog(os.path.join(root, test) if root else None)


# --- Reading a frame ---------------------------------------------------------

def _on_segment(colour, dark, bright, tolerance):
    """Whether colour lies on the straight line from dark to bright."""
    d = [b - a for a, b in zip(dark, bright)]
    length2 = sum(x * x for x in d)
    t = sum((c - a) * x for c, a, x in zip(colour, dark, d)) / length2
    t = min(1.0, max(0.0, t))
    return all(abs(c - (a + t * x)) <= tolerance for c, a, x in zip(colour, dark, d))


def model_share(shot, number):
    """The share of the foreground pixels whose colour is a shade of test
    model `number`, and the number of foreground pixels."""
    dark, bright = models.shade_range(number)
    fg = shot.foreground(BG, BG_TOLERANCE)
    total = sum(fg.values())
    if not total:
        return 0.0, 0
    match = sum(n for v, n in fg.items() if _on_segment(xh.rgb(v), dark, bright, SHADE_TOLERANCE))
    return match / total, total


def shown_model(shot):
    """The test model a frame shows (1..6), or None when none is clearly
    there: nearly all its foreground pixels must be that model's shades."""
    best = max(range(1, 7), key=lambda k: model_share(shot, k)[0])
    share, total = model_share(shot, best)
    return best if share >= 0.97 and total >= 500 else None


def wait_model(display, viewer, number, timeout=30):
    """Polls frames until test model `number` is on screen; the frame."""
    def probe():
        check(viewer.alive(), "the viewer ended (exit code %s)\n%s" % (viewer.proc.poll(), viewer.stderr()))
        shot = display.screenshot(viewer.window)
        return shot if shown_model(shot) == number else None
    return xh.wait_for("test model %d on screen" % number, probe, timeout)


def wait_first_frame(display, viewer, timeout=60):
    """Polls until a frame is drawn: the corners show the clear colour (the
    window is black before the first frame) and something else is there."""
    def probe():
        check(viewer.alive(), "the viewer ended (exit code %s)\n%s" % (viewer.proc.poll(), viewer.stderr()))
        shot = display.screenshot(viewer.window)
        w, h = shot.width, shot.height
        corners = [shot.at(x, y) for x in (0, w - 1) for y in (0, h - 1)]
        if all(xh.near(c, BG, BG_TOLERANCE) for c in corners) and shot.foreground_fraction(BG, BG_TOLERANCE):
            return shot
        return None
    return xh.wait_for("the first frame", probe, timeout)


def height(shot):
    box = shot.bbox(BG, BG_TOLERANCE)
    return 0 if box is None else box[3] - box[1] + 1


def median_height(display, viewer, count=5, pause=0.07):
    heights = []
    for _ in range(count):
        heights.append(height(display.screenshot(viewer.window)))
        time.sleep(pause)
    return statistics.median(heights)


# --- input: the main interactive run -----------------------------------------

def test_input(viewer_path):
    shots = shots_for("input")
    display = xh.open_display()
    folder = xh.temp_folder("tessaly-e2e-input-")
    models.write_test_models(folder)
    viewer = xh.Viewer(display, [viewer_path], folder)
    try:
        window = viewer.wait_window()
        attrs = display.attributes(window)
        check((attrs.width, attrs.height) == (800, 600),
              "window is %dx%d, not 800x600" % (attrs.width, attrs.height))
        hint = display.class_hint(window)
        check(hint and xh.WINDOW_CLASS in hint, "WM_CLASS is %r, not %s" % (hint, xh.WINDOW_CLASS))
        log("window %#x, 800x600, WM_CLASS %r" % (window, hint))

        first = wait_first_frame(display, viewer)
        shots.save(first, "01-model1")

        # Background: every pixel of the border is the clear colour, and
        # the model takes a modest part of the middle.
        w, h = first.width, first.height
        border = [first.at(x, y) for x in range(0, w, 7) for y in (0, h - 1)]
        border += [first.at(x, y) for y in range(0, h, 7) for x in (0, w - 1)]
        bad = [c for c in border if not xh.near(c, BG, BG_TOLERANCE)]
        check(not bad, "border pixels differ from the clear colour %s: %s" % (BG, bad[:5]))
        fraction = first.foreground_fraction(BG, BG_TOLERANCE)
        check(0.005 < fraction < 0.3, "model covers %.3f of the window" % fraction)
        log("background %s, model covers %.1f%% of the window" % (first.at(0, 0), 100 * fraction))

        # Lit in its material's colours, and spinning: a series of frames,
        # each made only of shades between the ambient-only colour and the
        # fully lit one, at least one face nearly facing the viewer, faces of
        # differing shade, and pictures that differ from frame to frame.
        dark, bright = models.shade_range(1)
        dark_bytes, bright_bytes = tuple(round(c) for c in dark), tuple(round(c) for c in bright)
        # Frames until a face has come round to face the viewer (the spin
        # is slow when the machine is busy), at least eight.
        series = []
        brightest = 0
        shades_seen = 0
        deadline = time.time() + 30
        while len(series) < 8 or (time.time() < deadline
                                  and (brightest < 0.85 * bright[0] or shades_seen < 2)):
            shot = display.screenshot(window)
            i = len(series)
            series.append(shot)
            if i < 8:
                shots.save(shot, "02-spin-%d" % i)
            share, total = model_share(shot, 1)
            check(share > 0.99, "frame %d: only %.3f of %d model pixels are shades of red diffuse "
                  "over blue ambient %s..%s; colours %s" % (i, share, total, dark_bytes, bright_bytes,
                                                            top_colours(shot)))
            fg = shot.foreground(BG, BG_TOLERANCE)
            brightest = max([brightest] + [xh.rgb(v)[0] for v in fg])
            shades_seen = max(shades_seen, len([v for v, n in fg.items() if n >= 50]))
            time.sleep(0.12)
        check(brightest >= 0.85 * bright[0],
              "the brightest red is %d, a face seen head-on should reach about %d" % (brightest, bright[0]))
        check(shades_seen >= 2, "no frame shows two faces of different shade")
        distinct = len({bytes(s.pixels) for s in series})
        check(distinct >= 3, "only %d different pictures in %d frames: the model does not spin"
              % (distinct, len(series)))
        log("lit: shades from %s to %s, brightest red %d; %d different pictures of %d"
            % (dark_bytes, bright_bytes, brightest, distinct, len(series)))

        # Model keys, with wrap-around at both ends.
        ox, oy = display.origin(window)
        display.move(ox + 400, oy + 300)
        display.focus(window)
        steps = [("bracketleft", 6), ("bracketright", 1), ("bracketright", 2), ("bracketright", 3),
                 ("bracketright", 4), ("bracketright", 5), ("bracketright", 6), ("bracketright", 1)]
        for key, number in steps:
            display.key(key)
            shot = wait_model(display, viewer, number)
            shots.save(shot, "03-key-%s-model%d" % (key, number))
        log("keys: " + " ".join("%s->%d" % (k[7:], n) for k, n in steps))

        # Half turns by WM_APP and by a sideways drag, on model 2, which the
        # spin swings from side to side.
        display.key("bracketright")
        wait_model(display, viewer, 2)
        check_half_turns(display, viewer, shots)
        display.key("bracketleft")
        wait_model(display, viewer, 1)

        # Vertical and right-button drags, measured on model 1's height, which the spin about the
        # pyramid's own axis hardly changes: turning it 90 degrees towards
        # the viewer halves it, moving it nearer makes it taller.
        h0 = median_height(display, viewer)
        check(h0 > 50, "model 1 is only %d pixels high" % h0)
        heights = {"start": h0}
        same = lambda hh: abs(hh - h0) < 0.1 * h0
        drags = [
            # name, button, start, end, check of the new height against h0
            ("tilt +90", 1, (400, 150), (400, 240), lambda hh: hh < 0.75 * h0),
            ("tilt back", 1, (400, 240), (400, 150), same),
            ("nearer 15->10", 3, (400, 300), (400, 305), lambda hh: hh > 1.3 * h0),
            ("farther 10->35", 3, (400, 300), (400, 275), lambda hh: hh < 0.6 * h0),
            ("nearest, clamped at 1", 3, (400, 40), (400, 560), None),
            ("1->15", 3, (400, 314), (400, 300), same),
            ("15->515", 3, (300, 560), (300, 60), None),
            ("farthest, clamped at 1000", 3, (300, 560), (300, 60), None),
            ("1000->500", 3, (300, 50), (300, 550), None),
            ("500->15", 3, (300, 50), (300, 535), same),
        ]
        for i, (name, button, start, end, expect) in enumerate(drags):
            display.drag(window, button, start, end)
            if expect is None:
                continue
            seen = []

            def measured():
                seen.append(median_height(display, viewer, 3))
                return seen[-1] if expect(seen[-1]) else None
            try:
                hh = xh.wait_for("the height after the drag '%s'" % name, measured, 10, interval=0.05)
            except xh.TestFailure as failure:
                raise xh.TestFailure("%s: start height %d, now %s" % (failure, h0, seen[-3:]))
            heights[name] = hh
            shot = display.screenshot(window)
            shots.save(shot, "04-drag-%d" % i)
        log("drag heights: " + ", ".join("%s %d" % kv for kv in heights.items()))

        # Closing the window the way a window manager does ends with 0.
        display.close_window(window)
        code = viewer.wait_exit(30)
        check(code == 0, "closing the window gave exit code %s\n%s" % (code, viewer.stderr()))
        log("closed: exit code 0")
    finally:
        viewer.kill()
        display.close()
        shutil.rmtree(folder, ignore_errors=True)


def check_half_turns(display, viewer, shots):
    """180 WM_APP messages, and a quick left drag 180 pixels to the right,
    each add half a turn to the spin. Test model 2 lies along +X, so the
    spin swings it from the right of the middle to the left and back. The
    ticks turn it at most 100 degrees a second (one degree per tick, ticks
    at least 10 ms apart): from well off the middle that cannot take it to
    the other side within a quarter second (at full speed it takes 0.4 s);
    half a turn at once does, at the next frame."""
    window = viewer.window
    window_time = 0.25
    well_off = 70  # pixels; at most the middle of the arm is about 86 off
    ox, oy = display.origin(window)

    def offset(shot):
        box = shot.bbox(BG, BG_TOLERANCE)
        return None if box is None else (box[0] + box[2]) / 2 - shot.width / 2

    def quick_drag():
        display.move(ox + 300, oy + 500)
        display.button(1, True)
        display.move(ox + 480, oy + 500)
        display.button(1, False)

    def trial(action):
        """A frame, the action, and the frames of the next quarter second;
        the offsets from the middle are worked out afterwards, so that the
        frames are taken close together even on a busy machine."""
        for _ in range(40):
            start = time.time()
            first = display.screenshot(window)
            if action:
                action()
            later = []
            while time.time() - start < window_time:
                later.append(display.screenshot(window))
                time.sleep(0.02)
            before = offset(first)
            new_frames = [s for s in later if bytes(s.pixels) != bytes(first.pixels)]
            if before is None or abs(before) < well_off or not new_frames:
                continue
            return first, before, new_frames, [offset(s) for s in new_frames]
        raise xh.TestFailure("no frame with the model well off the middle followed by a new frame")

    def other_side(before, offsets):
        return [o for o in offsets if o is not None and (o > 0) != (before > 0)]

    def rounded(offsets):
        return [round(o) for o in offsets if o is not None]

    _, before, _, offsets = trial(None)
    check(not other_side(before, offsets),
          "by itself the model went from %+.0f to %s px off the middle within %.2f s: the spin is "
          "faster than 100 degrees a second" % (before, rounded(offsets), window_time))
    turns = [("WM_APP", "180 WM_APP messages", lambda: display.client_message(window, "WM_APP", repeat=180)),
             ("drag", "a left drag 180 pixels to the right", quick_drag)]
    for name, what, action in turns:
        first, before, frames, offsets = trial(action)
        crossed = other_side(before, offsets)
        check(crossed, "%s did not turn the model to the other side (%+.0f -> %s px)"
              % (what, before, rounded(offsets)))
        shots.save(first, "05-%s-before" % name)
        shots.save(frames[offsets.index(crossed[0])], "05-%s-after" % name)
        check(viewer.alive(), "the viewer ended after %s:\n%s" % (what, viewer.stderr()))
        log("%s turned the model across: %+.0f -> %+.0f px off the middle" % (what, before, crossed[0]))


def top_colours(shot, n=6):
    fg = shot.foreground(BG, BG_TOLERANCE)
    return [(xh.rgb(v), c) for v, c in sorted(fg.items(), key=lambda kv: -kv[1])[:n]]


# --- errors: missing and malformed models ------------------------------------

# A model whose colour on line 37 is not a number.
BAD_LINE = 37
BAD_TEXT = "'0.8x' is not a valid floating point value"


def malformed_ase():
    lines = ["*3DSMAX_ASCIIEXPORT\t200"]
    lines += ['*COMMENT "filler %d"' % i for i in range(2, BAD_LINE - 2)]
    lines += ["*SCENE {", "\t*SCENE_FIRSTFRAME 0", "\t*SCENE_BACKGROUND_STATIC 0.5 0.6 0.8x", "}", ""]
    text = "\n".join(lines)
    assert text.split("\n")[BAD_LINE - 1].endswith("0.8x")
    return text


MISSING = ["Cannot open file"]
MALFORMED = [re.escape(BAD_TEXT), r"(?<!\d)%d(?!\d)" % BAD_LINE]

ERROR_CASES = [
    # name, files left out, files replaced, keys pressed, file that fails,
    # patterns that stderr must match besides the file's name
    ("missing first model", ["AH64.ASE"], {}, [], "AH64.ASE", MISSING),
    ("malformed first model", [], {"AH64.ASE": malformed_ase()}, [], "AH64.ASE", MALFORMED),
    ("missing model reached by [", ["F22.ASE"], {}, ["bracketleft"], "F22.ASE", MISSING),
    ("malformed model reached by ]", [], {"A10.ASE": malformed_ase()}, ["bracketright"], "A10.ASE",
     MALFORMED),
]


def test_errors(viewer_path):
    shots = shots_for("errors")
    display = xh.open_display()
    try:
        for i, (name, skip, replace, keys, failing, patterns) in enumerate(ERROR_CASES):
            log("case: " + name)
            folder = xh.temp_folder("tessaly-e2e-errors-")
            models.write_test_models(folder, skip=skip, replace=replace)
            viewer = xh.Viewer(display, [viewer_path], folder)
            try:
                if keys:
                    window = viewer.wait_window()
                    wait_model(display, viewer, 1, timeout=60)
                    ox, oy = display.origin(window)
                    display.move(ox + 400, oy + 300)
                    display.focus(window)
                    for key in keys:
                        display.key(key)
                box = display.wait_window(xh.ERROR_TITLE, 60, viewer.alive)
                check(box, "no '%s' box (exit code %s)\n%s" % (xh.ERROR_TITLE, viewer.proc.poll(),
                                                              viewer.stderr()))
                time.sleep(0.3)
                shots.save(display.screenshot(box), "%d-box" % i)
                check(viewer.alive(), "the viewer ended before the box was dismissed")
                dismiss(display, box)
                code = viewer.wait_exit(30)
                check(code == 1, "exit code %s after the box, not 1" % code)
                err = viewer.stderr()
                missing = [p for p in patterns + [re.escape(failing)] if not re.search(p, err)]
                check(not missing, "stderr does not match %s:\n%s" % (missing, err))
                log("  box shown, dismissed, exit code 1, stderr: " + " | ".join(err.strip().splitlines()))
            finally:
                viewer.kill()
                shutil.rmtree(folder, ignore_errors=True)
    finally:
        display.close()


def dismiss(display, box):
    """Presses Return on the message box, then Escape, then clicks where
    its button is, until it is gone."""
    ox, oy = display.origin(box)
    attrs = display.attributes(box)
    for attempt, how in enumerate(["Return", "Escape", "a click on its button"]):
        if attrs is None or not display.find_window(xh.ERROR_TITLE):
            return
        log("  dismissing the box with " + how)
        display.move(ox + attrs.width // 2, oy + attrs.height // 2)
        display.focus(box)
        if attempt == 0:
            display.key("Return")
        elif attempt == 1:
            display.key("Escape")
        else:
            display.move(ox + attrs.width - 40, oy + attrs.height - 20)
            display.button(1, True)
            display.button(1, False)
        deadline = time.time() + 5
        while time.time() < deadline and display.find_window(xh.ERROR_TITLE):
            time.sleep(0.1)
    check(not display.find_window(xh.ERROR_TITLE), "the message box does not go away")


# --- bundled: the six shipped models -----------------------------------------

def test_bundled(viewer_path, models_dir):
    if not os.path.exists(os.path.join(models_dir, "AH64.ASE")):
        raise Skip("no bundled models in " + models_dir)
    shots = shots_for("bundled")
    display = xh.open_display()
    try:
        for name in models.MODEL_FILES:
            # Each model is shown first, as AH64.ASE, in a folder of its own.
            folder = xh.temp_folder("tessaly-e2e-bundled-")
            for other in models.MODEL_FILES:
                shutil.copy(os.path.join(models_dir, other), os.path.join(folder, other))
            shutil.copy(os.path.join(models_dir, name), os.path.join(folder, "AH64.ASE"))
            viewer = xh.Viewer(display, [viewer_path], folder)
            try:
                window = viewer.wait_window()
                wait_first_frame(display, viewer)
                fractions, colours = [], []
                for i in range(8):
                    shot = display.screenshot(window)
                    shots.save(shot, "%s-%d" % (name.split(".")[0], i))
                    fractions.append(shot.foreground_fraction(BG, BG_TOLERANCE))
                    # shades that cover a visible patch of the surface
                    colours.append(len([v for v, n in shot.foreground(BG, BG_TOLERANCE).items() if n >= 20]))
                    time.sleep(0.3)
                shades = statistics.median(colours)
                log("%-9s covers %.1f..%.1f%% of the window as it spins, %d shades"
                    % (name, 100 * min(fractions), 100 * max(fractions), shades))
                # Thin aircraft seen nose-on at eye level cover little; seen
                # from the side they must cover a fair part, and never all.
                check(min(fractions) >= 0.003, "%s is a speck: %.4f of the window" % (name, min(fractions)))
                check(0.015 <= max(fractions) <= 0.70,
                      "%s covers at most %.3f of the window" % (name, max(fractions)))
                check(shades >= 8, "%s shows only %d shades" % (name, shades))
                check(viewer.alive(), "the viewer ended showing %s:\n%s" % (name, viewer.stderr()))
                display.close_window(window)
                check(viewer.wait_exit(30) == 0, "closing the window did not end the viewer with 0")
            finally:
                viewer.kill()
                shutil.rmtree(folder, ignore_errors=True)
    finally:
        display.close()


# --- valgrind: one short run under memcheck ----------------------------------

LEAK_HEADER = re.compile(r"^==\d+== (.*) bytes in .* blocks are definitely lost")
ERROR_HEADER = re.compile(r"^==\d+== (Invalid (read|write|free)|Mismatched free|.*uninitialised)")
FRAME = re.compile(r"^==\d+==    (at|by) 0x[0-9A-F]+: (.*)$")
ALLOCATORS = ("malloc", "calloc", "realloc", "operator new", "memalign", "posix_memalign",
              "aligned_alloc", "strdup")


def own_sources(source_dir):
    names = set()
    for sub in ("viewer", "gl_binding", "ase_model", "token_stream"):
        folder = os.path.join(source_dir, sub)
        if os.path.isdir(folder):
            names.update(f for f in os.listdir(folder) if f.endswith((".cpp", ".h")))
    return names


def is_own_frame(frame, viewer_path, sources):
    if "(in %s)" % viewer_path in frame or "tessaly::" in frame:
        return True
    m = re.search(r"\(([^():]+):\d+\)$", frame)
    return bool(m and m.group(1) in sources)


def blame_own(log_text, viewer_path, sources):
    """Definite leaks allocated directly by our code and memory errors whose
    innermost frame is ours: the records of the log, as texts."""
    found = []
    record = []
    for line in log_text.splitlines() + [""]:
        if LEAK_HEADER.match(line) or ERROR_HEADER.match(line) or not FRAME.match(line):
            if record:
                header, frames = record[0], [FRAME.match(f).group(2) for f in record[1:]]
                if LEAK_HEADER.match(header):
                    # the first frame past the allocator is who allocated
                    callers = [f for f in frames if not f.split("(")[0].strip().startswith(ALLOCATORS)
                               and "vg_replace_malloc" not in f]
                    if callers and is_own_frame(callers[0], viewer_path, sources):
                        found.append("\n".join(record))
                elif frames and is_own_frame(frames[0], viewer_path, sources):
                    found.append("\n".join(record))
            record = [line] if (LEAK_HEADER.match(line) or ERROR_HEADER.match(line)) else []
        elif record:
            record.append(line)
    return found


def test_valgrind(viewer_path, suppressions, source_dir):
    if not shutil.which("valgrind"):
        raise Skip("valgrind is not installed")
    viewer_path = os.path.realpath(viewer_path)
    display = xh.open_display()
    folder = xh.temp_folder("tessaly-e2e-valgrind-")
    models.write_test_models(folder)
    log_path = os.path.join(folder, "memcheck.log")
    command = ["valgrind", "--tool=memcheck", "--leak-check=full", "--show-leak-kinds=definite",
               "--errors-for-leak-kinds=definite", "--num-callers=30", "--child-silent-after-fork=yes",
               "--log-file=" + log_path]
    if suppressions and os.path.exists(suppressions):
        command.append("--suppressions=" + suppressions)
    command.append(viewer_path)
    # softpipe: llvmpipe's JIT under memcheck is much slower to start
    viewer = xh.Viewer(display, command, folder, {"GALLIUM_DRIVER": "softpipe"})
    try:
        viewer.wait_window(timeout=600)
        wait_model(display, viewer, 1, timeout=300)
        first = display.screenshot(viewer.window)
        xh.wait_for("the model to spin",
                    lambda: bytes(display.screenshot(viewer.window).pixels) != bytes(first.pixels), 120)
        ox, oy = display.origin(viewer.window)
        display.move(ox + 400, oy + 300)
        display.focus(viewer.window)
        display.key("bracketright")
        wait_model(display, viewer, 2, timeout=300)
        display.key("bracketright")
        wait_model(display, viewer, 3, timeout=300)
        display.client_message(viewer.window, "WM_APP")
        display.close_window(viewer.window)
        code = viewer.wait_exit(600)
        check(code == 0, "the viewer under valgrind ended with %s\n%s" % (code, viewer.stderr()))
        with open(log_path, encoding="latin-1") as fh:
            text = fh.read()
        summary = [l for l in text.splitlines() if "definitely lost:" in l or "ERROR SUMMARY" in l]
        log("\n".join(summary))
        own = blame_own(text, viewer_path, own_sources(source_dir))
        check(not own, "memcheck blames our code:\n\n" + "\n\n".join(own))
        log("no definite leak and no memory error from our own code")
    except BaseException:
        if os.path.exists(log_path):
            with open(log_path, encoding="latin-1") as fh:
                log(fh.read()[-20000:])
        raise
    finally:
        viewer.kill()
        display.close()
        keep = shots_for("valgrind").folder
        if keep and os.path.exists(log_path):
            shutil.copy(log_path, keep)
        shutil.rmtree(folder, ignore_errors=True)


# -----------------------------------------------------------------------------

def main(argv):
    tests = {"input": test_input, "errors": test_errors, "bundled": test_bundled, "valgrind": test_valgrind}
    if len(argv) < 3 or argv[1] not in tests:
        print(__doc__, file=sys.stderr)
        return 2
    # paths are used from other working directories
    args = [os.path.abspath(a) for a in argv[2:]]
    try:
        tests[argv[1]](*args)
    except (Skip, xh.Unavailable) as why:
        log("skipped: %s" % why)
        return SKIP
    except xh.TestFailure as failure:
        log("FAILED: %s" % failure)
        return 1
    except Exception:
        traceback.print_exc()
        return 1
    log("passed")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
