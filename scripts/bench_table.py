#!/usr/bin/env python3
"""Turns Google Benchmark JSON files into a markdown table of ratios against baselines.

Each figure is read against what it is measured by: the processing entries against the plain
exact clipper loop compiled -O3 -march=x86-64-v2 over the same buffers (for single precision,
over the float buffers converted to double and back), Ombrix's module against each other
plug-in processing the same frames through the same host, blits and fills against a plain row
copy (per pixel), the decode against a bare libpng decode of the same bytes, the editor's full
redraw against a plain copy of one frame, the knob strip's candidate encodings against the plain
level-9 one, a knob frame decoded from its segment against libpng reading one frame's rows,
start-up against its goals, and the editor's first open in a fresh process against its goals,
today's whole decode of the strip and libpng reading one frame's rows.
Usage: bench_table.py [--load BEFORE AFTER] [--startup FILE] [--editor FILE] [--editor-2x FILE]
                      FILE.json...
"""

import datetime
import json
import os
import platform
import re
import sys

REDRAW_BUDGET_NS = 40e6
ONE_FRAME_BARE = "DecodeKnobFrame/bare-libpng-first-frame"
WHOLE_DECODE = "DecodeKnob/RasterDecodePngBytes"

# (pattern, baseline name or None, what the baseline is, compare per item)
RULES = [
    (r"^BM_ProcessDoubleReplacing/frames:(\d+)/", r"BM_ClipFloorDouble/frames:\1",
     "hand-written AVX2 clipper (the floor)", False),
    (r"^BM_Process(?:Replacing|Adding)/frames:(\d+)/", r"BM_ClipFloorFloat/frames:\1",
     "hand-written AVX2 clipper over floats, one pass (the floor)", False),
    (r"^BM_ClipFloor(Double|Float)/frames:(\d+)", r"BM_ClipLoop\1V2/frames:\2",
     "plain clipper loop, -O3 x86-64-v2", False),
    (r"^BM_ClipLoop(Double|Float)V3/frames:(\d+)", r"BM_ClipLoop\1V2/frames:\2",
     "the same loop, -O3 x86-64-v2", False),
    (r"^BM_Copy(Double|Float)/frames:(\d+)", r"BM_ClipLoop\1V2/frames:\2",
     "plain clipper loop, -O3 x86-64-v2", False),
    (r"^(?:CopyArea|FillArea)/", "PlainCopy/560x400", "plain row copy, per pixel", True),
    (r"^DecodeKnob/RasterDecodePngBytes", "DecodeKnob/bare-libpng",
     "bare libpng decode", False),
    (r"^BM_FullRedraw", "BM_PlainFrameCopy", "plain copy of one 560 x 400 frame", False),
    (r"^KnobEncoding/", "KnobEncoding/none/level9", "decode of the level-9 unfiltered strip",
     False),
    (r"^(?:DecodeKnobFrame/segment|BM_KnobNewFrame)", ONE_FRAME_BARE,
     "bare libpng decode of one frame's rows", False),
]

# Start-up goals (a fresh process: dlopen + VSTPluginMain + effOpen of the first instance).
STARTUP_TIME_GOAL_NS = 5e6
STARTUP_RESIDENT_GOAL_BYTES = 10 * 2**20

# Ombrix's module against another plug-in through the same host: one row per other plug-in.
HOSTED = r"^BM_HostedProcessReplacing/([^/]+)/frames:(\d+)$"
HOSTED_OMBRIX = "Ombrix"

UNIT_NS = {"ns": 1.0, "us": 1e3, "ms": 1e6, "s": 1e9}


def read_runs(paths):
    runs = {}
    for path in paths:
        with open(path, encoding="utf-8") as f:
            data = json.load(f)
        for entry in data.get("benchmarks", []):
            if entry.get("run_type") == "aggregate" and entry.get("aggregate_name") != "median":
                continue
            # A case that could not run (a plug-in that is not a stereo effect) has no time.
            if entry.get("error_occurred"):
                continue
            name = entry.get("run_name", entry["name"])
            scale = UNIT_NS[entry.get("time_unit", "ns")]
            # CPU time: the same as the wall time on a quiet machine, and less disturbed by
            # other programs on a busy one.
            time_ns = entry["cpu_time"] * scale
            # Items per call: Google Benchmark reports the rate against CPU time.
            rate = entry.get("items_per_second")
            items = rate * time_ns * 1e-9 if rate else None
            runs[name] = {"time_ns": time_ns, "items": items, "bytes": entry.get("bytes")}
    return runs


def show_time(ns):
    for unit, scale in (("ms", 1e6), ("µs", 1e3)):
        if ns >= scale:
            return f"{ns / scale:.3g} {unit}"
    return f"{ns:.3g} ns"


def ratio(run, base, per_item):
    if per_item and run["items"] and base["items"]:
        return (run["time_ns"] / run["items"]) / (base["time_ns"] / base["items"])
    return run["time_ns"] / base["time_ns"]


def hosted_rows(runs):
    for name, run in runs.items():
        match = re.match(HOSTED, name)
        if not match or match.group(1) == HOSTED_OMBRIX:
            continue
        ombrix = runs.get(f"BM_HostedProcessReplacing/{HOSTED_OMBRIX}/frames:{match.group(2)}")
        if ombrix is None:
            continue
        yield (f"BM_HostedProcessReplacing/{HOSTED_OMBRIX}/frames:{match.group(2)}",
               ombrix, f"{match.group(1)} through the same host", show_time(run["time_ns"]),
               ombrix["time_ns"] / run["time_ns"])


def rows(runs):
    yield from hosted_rows(runs)
    baselines = set()
    for name in runs:
        for pattern, baseline, _, _ in RULES:
            if baseline and re.match(pattern, name):
                baselines.add(re.sub(pattern + ".*", baseline, name))
    for name, run in runs.items():
        if name in baselines or re.match(HOSTED, name) or re.match(AT_SCALE, name):
            continue
        for pattern, baseline, label, per_item in RULES:
            if not re.match(pattern, name):
                continue
            if baseline is None:
                yield name, run, label, show_time(REDRAW_BUDGET_NS), run["time_ns"] / REDRAW_BUDGET_NS
            else:
                base_name = re.sub(pattern + ".*", baseline, name)
                base = runs.get(base_name)
                if base is None:
                    yield name, run, label, "missing", None
                else:
                    yield name, run, label, show_time(base["time_ns"]), ratio(run, base, per_item)
            break
        else:
            yield name, run, "none", "", None


def machine():
    model = platform.processor() or "unknown CPU"
    try:
        with open("/proc/cpuinfo", encoding="utf-8") as f:
            for line in f:
                if line.startswith("model name"):
                    model = line.split(":", 1)[1].strip()
                    break
    except OSError:
        pass
    return f"{model}, {os.cpu_count()} logical CPUs (nproc)"


def startup_rows(path):
    with open(path, encoding="utf-8") as f:
        startup = json.load(f)
    runs = startup["repetitions"]
    time_ns = startup["startup_ns"]
    cpu_ns = startup["startup_cpu_ns"]
    growth = startup["resident_growth_bytes"]
    mib = 2.0**20
    print(f"| `Startup/VSTPluginMain+effOpen` (median of {runs} fresh processes) | "
          f"{show_time(time_ns)} | goal | {show_time(STARTUP_TIME_GOAL_NS)} | "
          f"{time_ns / STARTUP_TIME_GOAL_NS:.2f} |")
    print(f"| `Startup/VSTPluginMain+effOpen/cpu` (processor time of the same) | "
          f"{show_time(cpu_ns)} | goal | {show_time(STARTUP_TIME_GOAL_NS)} | "
          f"{cpu_ns / STARTUP_TIME_GOAL_NS:.2f} |")
    print(f"| `Startup/resident-memory-added` (process total {startup['resident_bytes'] / mib:.1f}"
          f" MiB) | {growth / mib:.1f} MiB | goal | {STARTUP_RESIDENT_GOAL_BYTES / mib:.0f} MiB | "
          f"{growth / STARTUP_RESIDENT_GOAL_BYTES:.2f} |")


# The editor's goals: the first picture of a fresh process, the memory it adds before and after
# the knob has been through every frame, a frame not decoded before.
FIRST_PICTURE_GOAL_NS = 10e6
EDITOR_RESIDENT_GOAL_BYTES = 12 * 2**20
SWEPT_RESIDENT_GOAL_BYTES = 20 * 2**20
NEW_FRAME_GOAL_NS = 1e6
# At 200 %: the first picture, the memory the editor adds, and a tick against the tick at 1x.
FIRST_PICTURE_2X_GOAL_NS = 20e6
EDITOR_RESIDENT_2X_GOAL_BYTES = 40 * 2**20
REDRAW_2X_GOAL_RATIO = 4.5
AT_SCALE = r"^BM_(FullRedraw|KnobNewFrame)AtScale/percent:(\d+)$"
AT_1X = {"FullRedraw": "BM_FullRedraw/picture:0", "KnobNewFrame": "BM_KnobNewFrame"}


def goal_row(name, note, shown, baseline, baseline_shown, value, base):
    named = f"`{name}`" + (f" ({note})" if note else "")
    print(f"| {named} | {shown} | {baseline} | {baseline_shown} | {value / base:.2f} |")


def editor_rows(path, runs):
    with open(path, encoding="utf-8") as f:
        editor = json.load(f)
    mib = 2.0**20
    first = editor["first_picture_ns"]
    fresh = f"median of {editor['repetitions']} fresh processes"
    goal_row("EditorOpen/first-picture", fresh, show_time(first), "goal",
             show_time(FIRST_PICTURE_GOAL_NS), first, FIRST_PICTURE_GOAL_NS)
    cpu = editor["first_picture_cpu_ns"]
    goal_row("EditorOpen/first-picture/cpu", "processor time of the same", show_time(cpu), "goal",
             show_time(FIRST_PICTURE_GOAL_NS), cpu, FIRST_PICTURE_GOAL_NS)
    for base_name, label in ((WHOLE_DECODE, "the whole strip decoded by libpng, as before"),
                             (ONE_FRAME_BARE, "bare libpng decode of one frame's rows")):
        base = runs.get(base_name)
        if base:
            goal_row("EditorOpen/first-picture", fresh, show_time(first), label,
                     show_time(base["time_ns"]), first, base["time_ns"])
    added = editor["resident_added_bytes"]
    goal_row("EditorOpen/resident-memory-added", None, f"{added / mib:.1f} MiB", "goal",
             f"{EDITOR_RESIDENT_GOAL_BYTES / mib:.0f} MiB", added, EDITOR_RESIDENT_GOAL_BYTES)
    for name in ("DecodeKnobFrame/segment", "BM_KnobNewFrame"):
        run = runs.get(name)
        if run:
            goal_row(name, "a frame not decoded before", show_time(run["time_ns"]), "goal",
                     show_time(NEW_FRAME_GOAL_NS), run["time_ns"], NEW_FRAME_GOAL_NS)
    tick = editor["sweep_tick_median_ns"]
    goal_row("KnobSweep/tick-with-new-frame",
             f"median of 480; longest {show_time(editor['sweep_tick_max_ns'])}; the whole editor "
             "redrawn and synced", show_time(tick), "the 40 ms redraw tick",
             show_time(REDRAW_BUDGET_NS), tick, REDRAW_BUDGET_NS)
    swept = editor["sweep_resident_added_bytes"]
    goal_row("KnobSweep/resident-memory-added", "after all 480 frames", f"{swept / mib:.1f} MiB",
             "goal", f"{SWEPT_RESIDENT_GOAL_BYTES / mib:.0f} MiB", swept, SWEPT_RESIDENT_GOAL_BYTES)


def scaled_rows(path, editor_1x_path, runs):
    mib = 2.0**20
    for name, run in runs.items():
        match = re.match(AT_SCALE, name)
        base = runs.get(AT_1X[match.group(1)]) if match else None
        if base:
            goal = f"; goal {REDRAW_2X_GOAL_RATIO}" if match.group(1) == "FullRedraw" else ""
            goal_row(name, f"against 1x{goal}", show_time(run["time_ns"]), "the same at 1x",
                     show_time(base["time_ns"]), run["time_ns"], base["time_ns"])
    if not path:
        return
    with open(path, encoding="utf-8") as f:
        editor = json.load(f)
    fresh = f"median of {editor['repetitions']} fresh processes"
    first = editor["first_picture_ns"]
    goal_row("EditorOpen@200%/first-picture", fresh, show_time(first), "goal",
             show_time(FIRST_PICTURE_2X_GOAL_NS), first, FIRST_PICTURE_2X_GOAL_NS)
    if editor_1x_path:
        with open(editor_1x_path, encoding="utf-8") as f:
            single = json.load(f)
        goal_row("EditorOpen@200%/first-picture", fresh, show_time(first), "the same at 1x",
                 show_time(single["first_picture_ns"]), first, single["first_picture_ns"])
    added = editor["resident_added_bytes"]
    goal_row("EditorOpen@200%/resident-memory-added", None, f"{added / mib:.1f} MiB", "goal",
             f"{EDITOR_RESIDENT_2X_GOAL_BYTES / mib:.0f} MiB", added,
             EDITOR_RESIDENT_2X_GOAL_BYTES)
    tick = editor["sweep_tick_median_ns"]
    goal_row("KnobSweep@200%/tick-with-new-frame",
             f"median of 480; longest {show_time(editor['sweep_tick_max_ns'])}", show_time(tick),
             "the 40 ms redraw tick", show_time(REDRAW_BUDGET_NS), tick, REDRAW_BUDGET_NS)
    swept = editor["sweep_resident_added_bytes"]
    goal_row("KnobSweep@200%/resident-memory-added", "after all 480 frames",
             f"{swept / mib:.1f} MiB", "goal", f"{EDITOR_RESIDENT_2X_GOAL_BYTES / mib:.0f} MiB",
             swept, EDITOR_RESIDENT_2X_GOAL_BYTES)


def main(argv):
    load = None
    startup = None
    if len(argv) >= 3 and argv[0] == "--load":
        load, argv = (argv[1], argv[2]), argv[3:]
    if len(argv) >= 2 and argv[0] == "--startup":
        startup, argv = argv[1], argv[2:]
    editor = None
    if len(argv) >= 2 and argv[0] == "--editor":
        editor, argv = argv[1], argv[2:]
    editor_2x = None
    if len(argv) >= 2 and argv[0] == "--editor-2x":
        editor_2x, argv = argv[1], argv[2:]
    runs = read_runs(argv)
    print(f"Measured {datetime.date.today().isoformat()} on {machine()}"
          + (f"; load average {load[0]} before, {load[1]} after." if load else "."))
    print()
    print("| Benchmark | Time | Baseline | Baseline time | Ratio |")
    print("|---|---:|---|---:|---:|")
    for name, run, label, base_time, value in rows(runs):
        shown = f"{value:.2f}" if value is not None else "–"
        size = f" ({run['bytes'] / 1e3:.0f} kB)" if run.get("bytes") else ""
        print(f"| `{name}`{size} | {show_time(run['time_ns'])} | {label} | {base_time} | {shown} |")
    if startup:
        startup_rows(startup)
    if editor:
        editor_rows(editor, runs)
    scaled_rows(editor_2x, editor, runs)
    print()
    print("Ratio: time per call (per pixel or frame where the baseline covers a different size)"
          " over the baseline's; below 1 is faster than the baseline.")


if __name__ == "__main__":
    main(sys.argv[1:])
