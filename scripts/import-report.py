#!/usr/bin/env python3
"""Measure how well `quillet-compose --import` keeps existing READMEs.

usage: scripts/import-report.py [-v] [FILE...]   (default: tests/data/readmes/*
but *.md; -v lists what was counted; the binary is $QUILLET_COMPOSE or
build-test/src/quillet-compose). Each README is imported and composed again:
  lost     lines with a letter or digit whose text is in no output line
  renamed  lines the import report says became an item or heading of another
           name, and that name is in the output (these are not counted lost)
  rules    rule lines (-----, ＝＝＝＝, ━━ title ━━) with no equal output line
  fields   header values (【作者】..., Name: ...) on the right .pwk item line
  order    header lines that come out in a different relative order
  stable   importing the composed README again gives the same bytes
Prints a report and always exits 0.
"""
import os
import re
import subprocess
import sys
import tempfile
import unicodedata
from pathlib import Path

ROOT = Path(__file__).resolve().parent.parent
BINARY = os.environ.get("QUILLET_COMPOSE", str(ROOT / "build-test/src/quillet-compose"))
HEAD_LINES = 40  # header labels are looked for in this many first lines

# the default names of .pwk items 1..14 (a .pwk may rename them)
ITEMS = ["ソフト名", "バージョン", "登録名", "作成日", "著作権者", "動作環境", "動作確認",
         "必要ファイル", "転載", "種別", "シェアウェア代金", "連絡先", "Eメール", "ホームページ"]
SYNONYMS = {  # item -> labels that mean it (compared NFKC-folded, without spaces, case-folded)
    "ソフト名": "ソフト名 名称 ソフトウェア名 name", "バージョン": "バージョン 版 version",
    "著作権者": "作者 制作者 制作者名 作者名 開発者名 著作者 著作権者 author",
    "動作環境": "動作環境 対応os 動作os 推奨環境 os",
    "連絡先": "連絡先 サポート 問い合わせ e-mail email mail メール eメール",
    "ホームページ": "url hp ホームページ webサイト", "転載": "転載 転載条件 再配布 配布規定",
    "種別": "種別 ソフト種 ソフトウェア種別", "作成日": "作成日 公開日 掲載日 制作日 更新日",
    "登録名": "登録名", "必要ファイル": "必要ファイル 必要なもの", "動作確認": "動作確認",
    "シェアウェア代金": "価格 シェアウェア代金",
}
TARGETS = {"連絡先": ("連絡先", "Eメール")}  # a contact may land on either item

RULE_CHARS = "-=─━＝－*＊~～・_" + "".join(chr(c) for c in range(0x2500, 0x2580))
BRACKET_RE = re.compile(r"^\s*【(?P<label>[^】]{1,24})】[\s:：]*(?P<value>.*)$")
COLON_RE = re.compile(r"^\s*[■●◆◇□・*]?\s*(?P<label>[^\s:：【】■●◆][^:：【】]{0,15}?)"
                      r"\s*[:：]\s*(?P<value>.*)$")


# characters that code page 932 writes as another one (〜 as ～ and so on)
CP932_SAME = str.maketrans("〜‖−—¢£¬", "～∥－―￠￡￢")


def key(text, fold=False):
    """Text for comparing: NFKC-folded, all white space removed (and case-folded for labels)."""
    text = re.sub(r"\s+", "", unicodedata.normalize("NFKC", text.translate(CP932_SAME)))
    return text.casefold() if fold else text


CANON = {key(w, True): item for item, words in SYNONYMS.items() for w in words.split()}


def decode(data):
    """Guess a README's encoding as a reader would; returns (text, encoding)."""
    if data.startswith(b"\xef\xbb\xbf"):
        return data[3:].decode("utf-8"), "utf-8-sig"
    order = ["utf-8", "cp932", "euc_jp", "iso2022_jp"]
    if b"\x1b$" in data:  # 7-bit ISO-2022-JP passes as UTF-8 too
        order.insert(0, order.pop())
    best = None
    for enc in order:
        try:
            text = data.decode(enc)
        except UnicodeDecodeError:
            continue
        # EUC-JP read as cp932 (or the reverse) shows half-width kana and odd code points
        odd = sum(1 for c in text if "\uff61" <= c <= "\uff9f" or "\ue000" <= c <= "\uf8ff"
                  or (unicodedata.category(c) == "Cc" and c not in "\t\r\n\f"))
        if best is None or odd < best[2]:
            best = (text, enc, odd)
    return best[:2] if best else (data.decode("cp932", "replace"), "unknown")


def header(line):
    """(label, value) of a labelled header line, else None."""
    m = BRACKET_RE.match(line)
    if not m:
        m = COLON_RE.match(line)
        if not m or key(m["label"], True) not in CANON:
            return None
    return m["label"], m["value"].strip()


def header_lines(lines, limit, names=None):
    """[(index, canonical label, value key)] of the header lines among the first `limit`."""
    found = []
    for i, line in enumerate(lines[:limit]):
        h = header(line)
        if not h:
            continue
        label, value = h
        if not value:  # a label alone on its line: the value is on the next text line
            nxt = next((l for l in lines[i + 1:i + 3] if l.strip()), "")
            value = "" if header(nxt) else nxt
        lk = key(label, True)
        found.append((i, (names or {}).get(lk) or CANON.get(lk) or lk, key(value)))
    return found


def is_rule(line):
    """A line of at least 5 rule characters, maybe with spaces or a title between them."""
    s = line.strip()
    title = s.strip(RULE_CHARS + " 　")
    if not title:
        return sum(c in RULE_CHARS for c in s) >= 5 and len(set(s) - set(" 　")) <= 3
    lead, trail = s[:s.index(title)], s[s.index(title) + len(title):]
    lead, trail = (sum(c in RULE_CHARS for c in part) for part in (lead, trail))
    return lead >= 2 and trail >= 2 and lead + trail >= 5


def read_pwk(path):
    """{item number: (name, value)} from the `N:=   name:=value` lines of a .pwk."""
    items = {}
    for line in path.read_bytes().decode("cp932", "replace").splitlines():
        if line.startswith("@@@"):
            break
        m = re.match(r"^(\d+):=\s*([^:]*?):=(.*)$", line)
        if m:
            items[int(m[1])] = (m[2], m[3])
    return items


def compose(readme, pwk):
    """(exit code, composed bytes, composed text, import report)."""
    p = subprocess.run([BINARY, "--import", str(readme), "--write-data", str(pwk), "-"],
                       capture_output=True)
    bom = p.stdout.startswith(b"\xef\xbb\xbf")
    text = p.stdout[3:].decode("utf-8", "replace") if bom else p.stdout.decode("cp932", "replace")
    return p.returncode, p.stdout, text, p.stderr.decode("utf-8", "replace")


def lcs_length(a, b):
    prev = [0] * (len(b) + 1)
    for x in a:
        cur = [0]
        for j, y in enumerate(b):
            cur.append(prev[j] + 1 if x == y else max(prev[j + 1], cur[j]))
        prev = cur
    return prev[-1]


def count_lines(lines, out_lines, report, row, notes):
    """(a) text lines lost or renamed, (b) rule lines dropped."""
    out_keys = "\n".join(key(l) for l in out_lines)
    out_stripped = {l.strip() for l in out_lines}
    renamed_to = {}  # what the import report says it made of a line: `LINE → NAME`
    for src, target in re.findall(r"^quillet-compose: (.+?) → (.+)$", report, re.M):
        m = re.fullmatch(r"見出し「(.*)」", target)
        if m or target != "本文":
            renamed_to[key(src)] = key(m[1] if m else target)
    for line in lines:
        if is_rule(line):
            if line.strip() not in out_stripped:
                row["rules"] += 1
                notes.append("rule dropped: " + line.strip())
            continue
        if not any(c.isalnum() for c in line) or key(line) in out_keys:
            continue
        h = header(line)
        if not h and (m := COLON_RE.match(line)):
            h = m["label"], m["value"].strip()  # a label of the author's own
        if h and h[1] and key(h[1]) in out_keys:
            continue  # the label was replaced, the value is kept
        if h and not h[1] and (key(h[0]) in out_keys
                               or CANON.get(key(h[0], True), "\0") in out_keys):
            continue  # a label alone on its line, kept or replaced by its item's name
        if renamed_to.get(key(line), "\0") in out_keys:
            row["renamed"] += 1
            continue
        row["lost"] += 1
        notes.append("lost: " + line.strip())


def check_fields(lines, items, row, notes):
    """(c) header values on the right item line; returns the original header lines."""
    heads = header_lines(lines, HEAD_LINES)
    fields = [h for h in heads if h[1] in ITEMS and h[2]]
    ok = 0
    for i, canon, value in fields:
        numbers = [ITEMS.index(t) + 1 for t in TARGETS.get(canon, (canon,))]
        if any(value in key(items.get(n, ("", ""))[1]) for n in numbers):
            ok += 1
            continue
        where = [name for name, v in items.values() if value in key(v)]
        notes.append("field %s: %s -> %s" % (canon, lines[i].strip(),
                                             ", ".join(where) or "no item"))
    row["fields"] = (ok, len(fields))
    return heads


def measure(path, tmp, notes):
    text, enc = decode(path.read_bytes())
    lines = text.splitlines()
    row = dict(file=path.name, enc=enc, lines=len(lines), lost=0, renamed=0, rules=0)
    rc, out, out_text, report = compose(path, tmp / "a.pwk")
    m = re.search(r"文字コード\s*(\S+?)[、,\s]", report)
    row.update(rc=rc, read=m[1] if m else "-")
    if rc != 0:
        return row
    out_lines = out_text.splitlines()
    items = read_pwk(tmp / "a.pwk")
    count_lines(lines, out_lines, report, row, notes)
    heads = check_fields(lines, items, row, notes)

    # (d) header lines out of order; the output's labels are the .pwk item names
    names = {key(name, True): {"Eメール": "連絡先"}.get(ITEMS[n - 1], ITEMS[n - 1])
             for n, (name, _) in items.items() if 1 <= n <= len(ITEMS)}
    composed = [(c, v) for _, c, v in header_lines(out_lines, len(out_lines), names)]
    present = [(c, v) for _, c, v in heads if v and (c, v) in composed]
    row["order"] = len(present) - lcs_length(present, composed)
    if row["order"]:
        notes.append("header order kept for %d of: %s" % (
            len(present) - row["order"], " / ".join(c for c, _ in present)))

    # (e) re-import stability
    (tmp / "README.TXT").write_bytes(out)
    rc2, out2, _, _ = compose(tmp / "README.TXT", tmp / "b.pwk")
    row["stable"] = rc2 == 0 and out2 == out
    if not row["stable"]:
        notes.append("second import differs")
    return row


def main(argv):
    verbose = "-v" in argv
    files = [Path(a) for a in argv if a != "-v"] or sorted(
        p for p in (ROOT / "tests/data/readmes").iterdir() if p.is_file() and p.suffix != ".md")
    if not os.access(BINARY, os.X_OK):
        print("quillet-compose not found at %s (set QUILLET_COMPOSE)" % BINARY)
        return
    for path in files:
        if not path.is_file():
            print("%s: no such file" % path)
    files = [path for path in files if path.is_file()]
    rows = []
    with tempfile.TemporaryDirectory() as tmp:
        for path in files:
            notes = []
            rows.append(dict(measure(path, Path(tmp), notes), notes=notes))

    width = max(len(r["file"]) for r in rows + [dict(file="total (000 files)")])
    fmt = "%-*s  %-10s %-11s %5s %5s %7s %5s %7s %5s %6s"
    print(fmt % (width, "file", "decoded", "read as", "lines", "lost", "renamed", "rules",
                 "fields", "order", "stable"))
    done = [r for r in rows if r["rc"] == 0]
    for r in rows:
        if r["rc"] != 0:
            print("%-*s  %-10s %-11s %5d  import failed (%s)" % (
                width, r["file"], r["enc"], r["read"], r["lines"], r["rc"]))
        else:
            print(fmt % (width, r["file"], r["enc"], r["read"], r["lines"], r["lost"],
                         r["renamed"], r["rules"], "%d/%d" % r["fields"], r["order"],
                         "yes" if r["stable"] else "NO"))
    t = {k: sum(r[k] for r in done)
         for k in ("lines", "lost", "renamed", "rules", "order", "stable")}
    ok, n = sum(r["fields"][0] for r in done), sum(r["fields"][1] for r in done)
    print(fmt % (width, "total (%d files)" % len(rows), "", "%d imported" % len(done), t["lines"],
                 t["lost"], t["renamed"], t["rules"], "%d/%d" % (ok, n), t["order"],
                 "%d/%d" % (t["stable"], len(done))))
    if verbose:
        for r in rows:
            if r["notes"]:
                print("\n%s\n  %s" % (r["file"], "\n  ".join(r["notes"])))


if __name__ == "__main__":
    main(sys.argv[1:])
