#!/usr/bin/env python3
"""The include graph between the folders of src/, checked against the layer order.

Reads every `#include "folder/..."` line under src/, prints one line per folder with the folders
it includes, and exits 1 listing every arrow from a lower layer to a higher one and every loop.
A folder missing from LAYERS is an error too: a new folder takes its place in the order first.
So is a layer picture in README.md ("### Layers", highest first) in another order.

usage: scripts/include-graph.py [SRC_DIR]
"""

import pathlib
import re
import sys

# Lower to higher: a folder includes only folders below it.
LAYERS = [
    ["platform"],  # the operating system's calls
    ["common"],
    ["edition"],
    ["wind"],
    ["glass"],
    ["member"],
    ["design"],
    ["profile"],
    ["document"],
    ["db"],
    ["project"],
    ["batch"],
    ["pdf"],
    ["shell"],  # the windows
    ["cli"],  # the command line, which opens the windows
    ["web"],  # the browser's build of the command line and the page
]

INCLUDE = re.compile(r'^\s*#\s*include\s+"([A-Za-z0-9_]+)/')
SOURCE_SUFFIXES = {".h", ".hpp", ".cpp", ".cc", ".c", ".in"}


def read_graph(src):
    folders = sorted(p.name for p in src.iterdir() if p.is_dir())
    graph = {folder: {} for folder in folders}
    for path in sorted(src.rglob("*")):
        if not path.is_file() or path.suffix not in SOURCE_SUFFIXES:
            continue
        parts = path.relative_to(src).parts
        if len(parts) < 2:
            continue
        text = path.read_text(encoding="utf-8", errors="replace")
        for line in text.splitlines():
            match = INCLUDE.match(line)
            if not match or match.group(1) == parts[0] or match.group(1) not in graph:
                continue
            where = graph[parts[0]].setdefault(match.group(1), [])
            name = path.relative_to(src).as_posix()
            if name not in where:
                where.append(name)
    return graph


def readme_order(readme):
    """The folders of the README's layer picture, lower to higher; None without a picture."""
    if not readme.is_file():
        return None
    text = readme.read_text(encoding="utf-8")
    start = text.find("### Layers")
    if start < 0:
        return None
    block = text[start:].split("```")
    if len(block) < 3:
        return None
    return [line.split()[0] for line in block[1].splitlines() if line.strip()][::-1]


def loops(graph):
    """Every strongly connected set of more than one folder (Tarjan)."""
    index, low, stack, on_stack, found = {}, {}, [], set(), []

    def visit(node):
        index[node] = low[node] = len(index)
        stack.append(node)
        on_stack.add(node)
        for target in graph[node]:
            if target not in index:
                visit(target)
                low[node] = min(low[node], low[target])
            elif target in on_stack:
                low[node] = min(low[node], index[target])
        if low[node] == index[node]:
            members = []
            while True:
                member = stack.pop()
                on_stack.discard(member)
                members.append(member)
                if member == node:
                    break
            if len(members) > 1:
                found.append(sorted(members))

    for node in graph:
        if node not in index:
            visit(node)
    return found


def main():
    default = pathlib.Path(__file__).resolve().parent.parent / "src"
    src = pathlib.Path(sys.argv[1]) if len(sys.argv) > 1 else default
    if not src.is_dir():
        print(f"include-graph: no folder {src}", file=sys.stderr)
        return 2
    graph = read_graph(src)
    rank = {folder: i for i, layer in enumerate(LAYERS) for folder in layer}
    problems = []
    for folder in graph:
        if folder not in rank:
            problems.append(f"folder {folder}/ has no layer: add it to LAYERS in {sys.argv[0]}")

    print("layers, lower to higher: " + " < ".join("/".join(layer) for layer in LAYERS))
    print("include graph (folder -> folders it includes):")
    for folder in sorted(graph, key=lambda f: (rank.get(f, len(LAYERS)), f)):
        targets = sorted(graph[folder], key=lambda f: (rank.get(f, len(LAYERS)), f))
        print(f"  {folder:9} -> {' '.join(targets) if targets else '(none)'}")
        for target in targets:
            if folder in rank and target in rank and rank[target] >= rank[folder]:
                files = graph[folder][target]
                shown = ", ".join(files[:3])
                if len(files) > 3:
                    shown += f" and {len(files) - 3} more"
                problems.append(f"upward arrow {folder} -> {target} (not below it): {shown}")
    for members in loops(graph):
        problems.append("loop between " + ", ".join(members))
    pictured = readme_order(src.parent / "README.md")
    declared = [folder for layer in LAYERS for folder in layer]
    if pictured is not None and pictured != declared:
        problems.append("README.md's layer picture (" + " < ".join(pictured) +
                        ") differs from LAYERS")

    if problems:
        print(f"{len(problems)} problem(s):", file=sys.stderr)
        for problem in problems:
            print("  " + problem, file=sys.stderr)
        return 1
    print("no upward arrow, no loop")
    return 0


if __name__ == "__main__":
    sys.exit(main())
