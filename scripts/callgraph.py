#!/usr/bin/env python3
"""Which source files of the game call each other, from the symbol tables of the built
objects (nm): a file calls another when it uses a function the other defines. Prints the
groups of files that call each other in a circle (one group a line), or "no circles".
    scripts/callgraph.py BUILD_DIR [--edges]"""
import pathlib, subprocess, sys

build = pathlib.Path(sys.argv[1])
objects = sorted((build / "CMakeFiles/quindara_core.dir/src").rglob("*.o"))
defined, used = {}, {}
for obj in objects:
    name = str(obj.relative_to(build / "CMakeFiles/quindara_core.dir/src"))[:-2]
    used[name] = set()
    for line in subprocess.run(["nm", "-C", str(obj)], capture_output=True, text=True).stdout.splitlines():
        kind, symbol = line[17:18], line[19:]
        if kind in "TW" and "(" in symbol:   # functions, not data
            defined.setdefault(symbol, name)
        elif kind == "U":
            used[name].add(symbol)
calls = {f: sorted({defined[s] for s in syms if s in defined and defined[s] != f}) for f, syms in used.items()}
if "--edges" in sys.argv:
    for f, targets in calls.items():
        print(f, "->", " ".join(targets))

# Tarjan's strongly connected components.
index, low, stack, on, groups = {}, {}, [], set(), []
def visit(v):
    index[v] = low[v] = len(index)
    stack.append(v); on.add(v)
    for w in calls[v]:
        if w not in index:
            visit(w); low[v] = min(low[v], low[w])
        elif w in on:
            low[v] = min(low[v], index[w])
    if low[v] == index[v]:
        group = []
        while True:
            w = stack.pop(); on.discard(w); group.append(w)
            if w == v:
                break
        if len(group) > 1:
            groups.append(sorted(group))
sys.setrecursionlimit(10000)
for v in calls:
    if v not in index:
        visit(v)
for g in groups:
    print(f"circle of {len(g)}: " + " ".join(g))
if not groups:
    print("no circles")
