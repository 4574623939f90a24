#!/usr/bin/env python3
"""Prints one table from the benchmark JSON files and the start-up runs."""
import json
import statistics
import sys
from pathlib import Path

GOALS = {  # operation prefix -> (size, goal in ms)
    "BM_MoveSelectedUp": (10000, 2), "BM_MoveSelectedDown": (10000, 2),
    "BM_DropSelected": (10000, 2), "BM_DeleteSelectedItems": (10000, 2),
    "BM_SyncItem": (10000, 2), "BM_UndoRedoStep": (10000, 5),
    "BM_BuildReadme": (100000, 30), "BM_WriteDataFile": (100000, 10),
    "BM_ReadDataFile": (100000, 40), "BM_ReadDataFileAlternatingChecks": (40000, 100),
    # A fifth of BM_Encode/10000 with the conversion through iconv (0.23 ms).
    "BM_Encode": (10000, 0.046), "BM_Decode": (10000, 0.046),
    "BM_ImportReadme": (100000, 100),
    "BM_UiMoveSelectedUp": (10000, 50), "BM_UiMoveSelectedDown": (10000, 50),
    "BM_UiDeleteSelectedItems": (10000, 50), "BM_UiDropSelected": (10000, 50),
}
BASELINES = {
    "BM_BuildReadme": "BM_CopyBaseline", "BM_WriteDataFile": "BM_CopyBaseline",
    "BM_ReadDataFile": "BM_CopyBaseline", "BM_ImportReadme": "BM_CopyBaseline",
    "BM_MoveSelectedUp": "BM_VectorPassBaseline", "BM_MoveSelectedDown": "BM_VectorPassBaseline",
    "BM_DropSelected": "BM_VectorPassBaseline", "BM_DeleteSelectedItems": "BM_VectorPassBaseline",
    "BM_SyncItem": "BM_VectorPassBaseline", "BM_UndoRedoStep": "BM_VectorPassBaseline",
    "BM_Encode": "BM_NarrowBaseline", "BM_Decode": "BM_WidenBaseline",
}
UNIT = {"ns": 1e-6, "us": 1e-3, "ms": 1.0, "s": 1e3}


def load(folder):
    times = {}
    for f in sorted(Path(folder).glob("*.json")):
        for b in json.loads(f.read_text()).get("benchmarks", []):
            name, _, size = b["name"].partition("/")
            times[(name, size.split("/")[0])] = b["real_time"] * UNIT[b["time_unit"]]
    return times


def fmt(ms):
    return f"{ms:.3f} ms" if ms < 10 else f"{ms:.1f} ms"


def main(folder):
    times = load(folder)
    rows = [("operation", "size", "time", "baseline", "goal", "")]
    for (name, size), ms in times.items():
        if "Baseline" in name:
            continue
        base = times.get((BASELINES.get(name, ""), size))
        goal = GOALS.get(name)
        goal_text, verdict = "", ""
        if goal and str(goal[0]) == size:
            goal_text = f"<= {goal[1]} ms"
            verdict = "ok" if ms <= goal[1] else "MISSED"
        rows.append((name, size, fmt(ms), fmt(base) if base else "", goal_text, verdict))

    runs = {}
    startup = Path(folder) / "startup.txt"
    if startup.exists():
        for line in startup.read_text().split("\n"):
            if line.strip():
                name, us, kb = line.split()
                runs.setdefault(name, []).append((int(us) / 1000, int(kb) / 1024))
    if "minimal" in runs and "quillet" in runs:
        t_min = statistics.median(r[0] for r in runs["minimal"])
        t_q = statistics.median(r[0] for r in runs["quillet"])
        m_min = statistics.median(r[1] for r in runs["minimal"])
        m_q = statistics.median(r[1] for r in runs["quillet"])
        n = len(runs["quillet"])
        rows.append(("start-up to mapped window", f"median of {n}", f"{t_q:.0f} ms",
                     f"{t_min:.0f} ms (empty window)", f"<= 1.5x: {t_q / t_min:.2f}x",
                     "ok" if t_q <= 1.5 * t_min else "MISSED"))
        rows.append(("peak memory", f"median of {n}", f"{m_q:.1f} MiB",
                     f"{m_min:.1f} MiB (empty window)", f"<= 1.5x: {m_q / m_min:.2f}x",
                     "ok" if m_q <= 1.5 * m_min else "MISSED"))

    widths = [max(len(r[i]) for r in rows) for i in range(len(rows[0]))]
    for i, r in enumerate(rows):
        print("  ".join(c.ljust(w) for c, w in zip(r, widths)).rstrip())
        if i == 0:
            print("  ".join("-" * w for w in widths))


if __name__ == "__main__":
    main(sys.argv[1])
