#!/usr/bin/env python3
"""Measures how many small faults the test suite catches: applies one-token changes to the
game's sources, one at a time (a flipped comparison, a constant off by one, a swapped
boolean, && for ||), rebuilds, runs the suite, and counts the changes it fails on.
Not part of the suite; run it on a copy of the tree:
    scripts/mutants.py BUILD_DIR COUNT SEED [CTEST_EXCLUDE_REGEX]"""
import random, re, subprocess, sys, pathlib

build, count, seed = sys.argv[1], int(sys.argv[2]), int(sys.argv[3])
exclude = sys.argv[4] if len(sys.argv) > 4 else ""
root = pathlib.Path(__file__).resolve().parent.parent
swaps = [(r"(?<![<>=!])==(?!=)", "!="), (r"!=", "=="), (r"(?<![<>-])<=", "<"), (r"(?<![<>-])>=", ">"),
         (r"(?<![<>=-])<(?![<=])", "<="), (r"(?<![<>=-])>(?![>=])", ">="), (r"&&", "||"), (r"\|\|", "&&"),
         (r"\btrue\b", "false"), (r"\bfalse\b", "true"), (r"(?<![\w.])(\d+)(?![\w.])", None)]
sites = []
for path in sorted((root / "src").rglob("*.cpp")):
    for n, line in enumerate(path.read_text().splitlines()):
        code = line.split("//")[0]
        if code.strip().startswith("#") or '"' in code or "template" in code or "#include" in code:
            continue
        for pattern, repl in swaps:
            for m in re.finditer(pattern, code):
                sites.append((path, n, m.start(), m.end(), repl))
random.Random(seed).shuffle(sites)
caught = built_count = 0
for path, n, start, end, repl in sites[:count]:
    original = path.read_text()
    lines = original.splitlines(keepends=True)
    line = lines[n]
    token = line[start:end]
    new = repl if repl is not None else str(int(token) + 1)
    lines[n] = line[:start] + new + line[end:]
    path.write_text("".join(lines))
    where = f"{path.relative_to(root)}:{n + 1}: {token} -> {new}"
    try:
        built = subprocess.run(["cmake", "--build", build, "-j2"], capture_output=True).returncode == 0
        if not built:
            verdict = "does not build"
        else:
            cmd = ["ctest", "--test-dir", build, "-j2", "--timeout", "300", "--stop-on-failure"]
            if exclude:
                cmd += ["-E", exclude]
            failed = subprocess.run(cmd, capture_output=True).returncode != 0
            verdict = "caught" if failed else "SURVIVED"
            caught += failed
            built_count += 1
        print(f"{verdict:14} {where}   | {line.strip()}", flush=True)
    finally:
        path.write_text(original)
print(f"done: {caught} of {built_count} changes that built were caught", flush=True)
