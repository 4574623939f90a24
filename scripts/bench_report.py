#!/usr/bin/env python3
"""Prints the benchmark goals, each with its baseline measured in the same run.

A goal is a ratio to a baseline wherever one exists: the time of the same
work done by a peer (iconv, ICU, QSaveFile, an empty Qt window) or the least
any code could spend on it (copying the output bytes, one pass over the list).
Only work nothing comparable exists for has a time of its own as its goal.
Exits 1 when a goal is missed.
"""
import json
import statistics
import sys
from pathlib import Path

# (operation, size, baseline or None, at most: a ratio, or milliseconds)
GOALS = [
    # Code page 932 both ways: faster than both peers, near a table-free copy.
    ("BM_Encode", 10000, "BM_EncodeIconv", 1.0),
    ("BM_Encode", 10000, "BM_EncodeIcu", 1.0),
    ("BM_Encode", 10000, "BM_NarrowBaseline", 3.0),
    ("BM_Decode", 10000, "BM_DecodeIconv", 1.0),
    ("BM_Decode", 10000, "BM_DecodeIcu", 1.0),
    ("BM_Decode", 10000, "BM_WidenBaseline", 3.0),
    # Saving: the composing and encoding cost little beside the safe write.
    ("BM_WriteDataFile", 100000, "BM_SafeWriteBaseline", 1.5),
    # Against a copy of the output bytes: the earlier absolute goals (30 ms
    # and 40 ms) over the copy's 1.1 ms on this machine.
    ("BM_BuildReadme", 100000, "BM_CopyBaseline", 27),
    ("BM_ReadDataFile", 100000, "BM_CopyBaseline", 36),
    # Against one pass over the list: each list operation costs at most 50
    # passes; an undo step, which swaps one state for another, at most one.
    ("BM_MoveSelectedUp", 10000, "BM_VectorPassBaseline", 50),
    ("BM_MoveSelectedDown", 10000, "BM_VectorPassBaseline", 50),
    ("BM_DropSelected", 10000, "BM_VectorPassBaseline", 50),
    ("BM_DeleteSelectedItems", 10000, "BM_VectorPassBaseline", 50),
    ("BM_SyncItem", 10000, "BM_VectorPassBaseline", 50),
    ("BM_UndoRedoStep", 10000, "BM_VectorPassBaseline", 1.0),
    # Nothing else reads a README back into a project: times of their own.
    ("BM_ImportReadme", 100000, None, 200),
    ("BM_ImportReadme", 10000, None, 15),
    ("BM_ReadDataFileAlternatingChecks", 40000, None, 100),
    ("BM_UiMoveSelectedUp", 10000, None, 50),
    ("BM_UiMoveSelectedDown", 10000, None, 50),
    ("BM_UiDeleteSelectedItems", 10000, None, 50),
    ("BM_UiDropSelected", 10000, None, 50),
]
STARTUP_GOAL = 1.2  # start-up to a mapped window, against an empty Qt window
MEMORY_GOAL = 1.3   # peak memory, against the same
UNIT = {"ns": 1e-6, "us": 1e-3, "ms": 1.0, "s": 1e3}


def load(folder):
    times = {}
    for f in sorted(Path(folder).glob("*.json")):
        for b in json.loads(f.read_text()).get("benchmarks", []):
            if b.get("error_occurred"):
                continue
            name, _, size = b["name"].partition("/")
            times[(name, int(size.split("/")[0]))] = b["real_time"] * UNIT[b["time_unit"]]
    return times


def fmt(ms):
    return f"{ms:.3f} ms" if ms < 10 else f"{ms:.1f} ms"


def goal_rows(times):
    rows = []
    for name, size, base, limit in GOALS:
        ms = times.get((name, size))
        if ms is None:
            rows.append((name, str(size), "not run", "", "", "", "MISSING"))
            continue
        if base is None:
            rows.append((name, str(size), fmt(ms), "(none)", f"<= {limit} ms", "",
                         "ok" if ms <= limit else "MISSED"))
            continue
        base_ms = times.get((base, size))
        if base_ms is None:
            rows.append((name, str(size), fmt(ms), f"{base}: not run", "", "", "MISSING"))
            continue
        ratio = ms / base_ms
        goal = f"<= {limit}x"
        verdict = "ok" if ratio <= limit else "MISSED"
        rows.append((name, str(size), fmt(ms), f"{base} {fmt(base_ms)}", goal,
                     f"{ratio:.2f}x", verdict))
    return rows


def startup_rows(folder):
    runs = {}
    startup = Path(folder) / "startup.txt"
    if not startup.exists():
        return []
    for line in startup.read_text().split("\n"):
        if line.strip():
            name, us, kb = line.split()
            runs.setdefault(name, []).append((int(us) / 1000, int(kb) / 1024))
    if "minimal" not in runs or "quillet" not in runs:
        return [("start-up to mapped window", "", "not run", "", "", "", "MISSING")]
    n = len(runs["quillet"])
    rows = []
    for what, i, unit, limit in (("start-up to mapped window", 0, "ms", STARTUP_GOAL),
                                 ("peak memory", 1, "MiB", MEMORY_GOAL)):
        mine = statistics.median(r[i] for r in runs["quillet"])
        empty = statistics.median(r[i] for r in runs["minimal"])
        rows.append((what, f"median of {n}", f"{mine:.1f} {unit}",
                     f"empty window {empty:.1f} {unit}", f"<= {limit}x",
                     f"{mine / empty:.2f}x", "ok" if mine <= limit * empty else "MISSED"))
    return rows


def main(folder):
    times = load(folder)
    rows = [("operation", "size", "time", "baseline", "goal", "ratio", "")]
    rows += goal_rows(times) + startup_rows(folder)
    widths = [max(len(r[i]) for r in rows) for i in range(len(rows[0]))]
    for i, r in enumerate(rows):
        print("  ".join(c.ljust(w) for c, w in zip(r, widths)).rstrip())
        if i == 0:
            print("  ".join("-" * w for w in widths))
    return 1 if any(r[-1] in ("MISSED", "MISSING") for r in rows[1:]) else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1]))
