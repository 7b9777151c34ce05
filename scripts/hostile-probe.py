#!/usr/bin/env python3
"""Runs the command line on a hostile set and counts what must never happen: crashes (a signal
other than a requested stop), hangs (over 60 s), writes or deletions outside the output folder
(a sentinel folder beside it, reached by links), and a DOCX or XLSX reported as written (exit 0)
that a strict XML parser refuses. The set: file-size limits on every write of run, batch and
document; hostile position names (formulas, control characters, U+FFFE, bytes that break UTF-8,
the batch's own file names); links where position folders go; outputs that are inputs; byte
mutants of the designs, schedules and drawings; nested outlines.
Usage: scripts/hostile-probe.py [MUTANTS]   (default 300 mutants; the release build, or the
executable named by QUOINRY)"""
import hashlib
import os
import random
import shutil
import subprocess
import sys
import tempfile
import xml.etree.ElementTree as ET
import zipfile

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
QUOINRY = os.environ.get("QUOINRY", os.path.join(ROOT, "build", "release", "app", "quoinry"))
MUTANTS = int(sys.argv[1]) if len(sys.argv) > 1 else 300
counts = {"runs": 0, "crashes": 0, "hangs": 0, "outside": 0, "unreadable": 0}


def tree_digest(folder):
    digest = hashlib.sha256()
    for base, dirs, files in sorted(os.walk(folder)):
        dirs.sort()
        for name in sorted(files):
            path = os.path.join(base, name)
            digest.update(path.encode("utf-8", "surrogateescape"))
            with open(path, "rb") as f:
                digest.update(f.read())
    return digest.hexdigest()


def opens(path):
    try:
        with zipfile.ZipFile(path) as z:
            for name in z.namelist():
                if name.endswith((".xml", ".rels")):
                    ET.fromstring(z.read(name))
        return True
    except Exception:
        return False


def run(work, args, limit_kib=None, outputs=(), note=""):
    """Runs quoinry in `work`; checks the sentinel folder and the outputs."""
    sentinel = os.path.join(work, "sentinel")
    before = tree_digest(sentinel)
    prefix = "trap '' XFSZ; ulimit -f %d; " % limit_kib if limit_kib is not None else ""
    command = prefix + "exec '%s' %s >/dev/null 2>&1" % (QUOINRY, args)
    env = dict(os.environ, QUOINRY_HOME=work)
    env.pop("DISPLAY", None)
    env.pop("WAYLAND_DISPLAY", None)
    counts["runs"] += 1
    try:
        status = subprocess.run(["bash", "-c", command], cwd=work, env=env, timeout=60).returncode
    except subprocess.TimeoutExpired:
        counts["hangs"] += 1
        print("HANG", note, args)
        return None
    if status < 0 or status >= 128:
        counts["crashes"] += 1
        print("CRASH", status, note, args)
    if tree_digest(sentinel) != before:
        counts["outside"] += 1
        print("OUTSIDE", note, args)
    if status == 0:
        for output in outputs:
            path = os.path.join(work, output)
            if os.path.exists(path) and not opens(path):
                counts["unreadable"] += 1
                print("UNREADABLE", output, note, args)
    return status


def fresh(base):
    work = tempfile.mkdtemp(prefix="probe-", dir=base)
    os.makedirs(os.path.join(work, "sentinel", "C1"))
    for name in ("wind.txt", "glass.txt", "gj.txt", "summary.csv"):
        with open(os.path.join(work, "sentinel", "C1", name), "w") as f:
            f.write("not the program's\n")
    shutil.copy(os.path.join(ROOT, "examples", "shanghai-24f-c2-casement.ini"),
                os.path.join(work, "base.ini"))
    return work


def mutate(data, rng):
    data = bytearray(data)
    for _ in range(rng.randint(1, 8)):
        kind = rng.random()
        at = rng.randrange(len(data)) if data else 0
        if kind < 0.4 and data:
            data[at] = rng.randrange(256)
        elif kind < 0.6:
            data[at:at] = rng.choice([b"\xff", b"\xef\xbf\xbf", b"\x00", b"\r", b"=", b"\"", b"\xc4\xcf",
                                      b"9" * 40, b"-1e308", b"nan", b"[glass]\n"])
        elif kind < 0.8 and data:
            del data[at:at + rng.randint(1, 64)]
        else:
            data[at:at] = data[at:at + rng.randint(1, 256)] * rng.randint(1, 50)
    return bytes(data)


def main():
    if not os.access(QUOINRY, os.X_OK):
        sys.exit("build the release program first (cmake --build --preset release)")
    rng = random.Random(26)
    base = tempfile.mkdtemp(prefix="quoinry-probe-")
    names = ["=1+2", "+86", "-x", "@SUM(A1)", "\tC", "A\x01B", "A\x1b[31mB", "\xef\xbf\xbf",
             "summary.csv", "SUMMARY.CSV", "d.docx", "w.xlsx", "..", ".", "../sentinel/C1", "C1",
             "con", "a/b", "\xc4\xcf", "x" * 300]
    try:
        # File-size limits on every write.
        work = fresh(base)
        schedule = "name,计算处标高\r\n" + "".join("P%d,%d\r\n" % (i, 10 + i) for i in range(20))
        with open(os.path.join(work, "s.csv"), "w", encoding="utf-8") as f:
            f.write(schedule)
        for kib in (0, 1, 2, 4, 8, 16, 32, 64, 128):
            run(work, "run base.ini --out o --docx d.docx", kib, ["d.docx"], "limit")
            run(work, "batch s.csv --base base.ini --out o --xlsx w.xlsx --docx p.docx --jobs 2",
                kib, ["w.xlsx", "p.docx"], "limit")
            run(work, "document o/P1 --docx e.docx", kib, ["e.docx"], "limit")
        # Hostile names, links where position folders go, the batch's own names.
        work = fresh(base)
        os.makedirs(os.path.join(work, "o"))
        os.symlink("../sentinel/C1", os.path.join(work, "o", "C1"))
        os.symlink("../sentinel/C1", os.path.join(work, "o", "P"))
        raw = b"\xef\xbb\xbfname,\xe8\xae\xa1\xe7\xae\x97\xe5\xa4\x84\xe6\xa0\x87\xe9\xab\x98\r\n"
        for name in names:
            cell = name.encode("utf-8", "surrogateescape").replace(b'"', b'""')
            raw += b'"' + cell + b'",20\r\n'
        raw += b"P,abc\r\n"
        with open(os.path.join(work, "n.csv"), "wb") as f:
            f.write(raw)
        for jobs in (1, 2):
            run(work, "batch n.csv --base base.ini --out o --xlsx o/w.xlsx --docx o/d.docx --jobs %d"
                % jobs, None, ["o/w.xlsx", "o/d.docx"], "names")
        # Outputs that are inputs.
        for args in ("run base.ini --docx base.ini", "run base.ini --pdf base.ini",
                     "batch n.csv --base base.ini --out o --xlsx n.csv",
                     "batch o/summary.csv --base base.ini --out o", "section base.ini --picture base.ini"):
            before = open(os.path.join(work, "base.ini"), "rb").read()
            run(work, args, None, [], "same file")
            if open(os.path.join(work, "base.ini"), "rb").read() != before:
                counts["outside"] += 1
                print("INPUT REPLACED", args)
        # Mutants of designs, schedules and drawings.
        seeds = [(os.path.join(ROOT, "examples", n), "ini") for n in os.listdir(os.path.join(ROOT, "examples"))]
        section = os.path.join(ROOT, "tests", "data", "section")
        seeds += [(os.path.join(section, n), "dxf") for n in os.listdir(section)]
        for i in range(MUTANTS):
            path, kind = rng.choice(seeds)
            ext = os.path.splitext(path)[1]
            data = mutate(open(path, "rb").read(), rng)
            work = fresh(base)
            target = os.path.join(work, "m" + ext)
            with open(target, "wb") as f:
                f.write(data)
            if ext == ".ini":
                run(work, "run m.ini --out o --docx d.docx", None, ["d.docx"], "design mutant")
            elif ext == ".dxf":
                run(work, "section m.dxf --region 1 --picture p.wmf", None, [], "drawing mutant")
            else:
                run(work, "batch m%s --base base.ini --out o --xlsx w.xlsx --docx d.docx" % ext,
                    None, ["w.xlsx", "d.docx"], "schedule mutant")
            shutil.rmtree(work)
        # Nested outlines.
        work = fresh(base)
        for n in (1000, 20000, 45000):
            lines = ["0\nSECTION\n2\nENTITIES\n"]
            for k in range(n):
                a, b = k, 2 * n - k
                lines.append("0\nLWPOLYLINE\n90\n4\n70\n1\n10\n%d\n20\n%d\n10\n%d\n20\n%d\n10\n%d\n20\n%d\n"
                             "10\n%d\n20\n%d\n" % (a, a, b, a, b, b, a, b))
            lines.append("0\nENDSEC\n0\nEOF\n")
            with open(os.path.join(work, "n.dxf"), "w") as f:
                f.write("".join(lines))
            run(work, "section n.dxf --region 1", None, [], "nested %d" % n)
    finally:
        shutil.rmtree(base, ignore_errors=True)
    print(", ".join("%s %d" % item for item in counts.items()))
    sys.exit(1 if counts["crashes"] or counts["hangs"] or counts["outside"] or counts["unreadable"] else 0)


if __name__ == "__main__":
    main()
