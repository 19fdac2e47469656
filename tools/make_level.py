#!/usr/bin/env python3
"""Writes data/01.lvl, the course. Run it again after changing the layout below.

The course is built in driving order (the car starts at the bottom of the file and drives
up), then written bottom row last. Codes: see data/TILES.md.
"""
import random
import sys

GRASS, ROAD, LEFT_KERB, RIGHT_KERB, TREES, SAND, WATER, MEADOW, BARN = 1, 2, 3, 4, 5, 6, 7, 8, 9
WALL, DARK_ROAD, GRAVEL, ROCKS, STANDS, BARRIER, MEDIAN, FOREST, NIGHT = 10, 11, 12, 13, 14, 15, 16, 17, 18
CHECKPOINT, OPENS, NARROWS = 97, 98, 99

rng = random.Random(1987)
rows = []            # driving order: rows[0] is the first row driven
SCENERY = [GRASS, TREES, SAND, WATER, MEADOW, BARN, ROCKS, STANDS, FOREST]


def road_row(left, right, scenery=(TREES, GRASS), road=ROAD, kerbs=True):
    row = []
    for col in range(8):
        if left <= col <= right:
            row.append(road)
        elif kerbs and col == left - 1:
            row.append(LEFT_KERB)
        elif kerbs and col == right + 1:
            row.append(RIGHT_KERB)
        else:
            row.append(scenery[0] if col < left else scenery[1])
    return row


def straight(n, left, right, **kw):
    for _ in range(n):
        rows.append(road_row(left, right, **kw))


def scenery_pair():
    return (rng.choice(SCENERY), rng.choice(SCENERY))


def start_rows():
    return [road_row(2, 6, (TREES, RIGHT_KERB)) for _ in range(8)]


def bend(left, right, shift, steps, every=9):
    """Moves the road `shift` columns per step, `steps` times; returns the new columns."""
    scen = scenery_pair()
    for _ in range(steps):
        left += shift
        right += shift
        straight(every, left, right, scenery=scen)
    return left, right


def sign_before_change(kind, left):
    """Puts a warning sign at the road's left edge five rows before the last row added."""
    rows[-5][left] = kind


def narrow_to(left, right, new_left, new_right):
    sign_before_change(NARROWS, left)
    return new_left, new_right


def widen_to(left, right, new_left, new_right):
    sign_before_change(OPENS, left)
    return new_left, new_right


def gravel_patch(left, right, n, side):
    scen = scenery_pair()
    for k in range(n):
        row = road_row(left, right, scenery=scen)
        col = left if side == 0 else right
        row[col] = GRAVEL
        if 1 <= k < n - 1:
            row[col + (1 if side == 0 else -1)] = GRAVEL
        rows.append(row)


def split_carriageway(n):
    for k in range(n):
        rows.append([LEFT_KERB, ROAD, ROAD, MEDIAN, BARRIER if k % 6 else MEDIAN, ROAD, ROAD, RIGHT_KERB])


def tunnel(n, left, right):
    for _ in range(n):
        rows.append([WALL if not (left <= c <= right) else DARK_ROAD for c in range(8)])


def night(n, left, right):
    straight(n, left, right, scenery=(NIGHT, NIGHT), kerbs=False)


def checkpoint(left):
    rows[-1][left] = CHECKPOINT


def lap():
    rows.extend(start_rows())
    left, right = 2, 6
    straight(20, left, right, scenery=(TREES, RIGHT_KERB))
    left, right = narrow_to(left, right, 2, 5)
    for block in range(4):
        straight(30, left, right, scenery=scenery_pair())
        gravel_patch(left, right, 6, block % 2)
        left, right = bend(left, right, -1 if left > 1 else 1, 1)
        straight(25, left, right, scenery=scenery_pair())
        left, right = bend(left, right, 1 if right < 6 else -1, 2)
        straight(20, left, right, scenery=scenery_pair())
        # Onto the dual carriageway: announce the road opening.
        left, right = bend(left, right, 1 if left < 2 else -1 if left > 2 else 0, 1) if left != 2 else (left, right)
        straight(8, left, right, scenery=scenery_pair())
        widen_to(left, right, 1, 6)
        split_carriageway(60 + 10 * block)
        straight(12, 1, 6, scenery=(LEFT_KERB, RIGHT_KERB), kerbs=False)
        left, right = narrow_to(1, 6, 2, 5)
        straight(30, left, right, scenery=scenery_pair())
        checkpoint(left)
        straight(30, left, right, scenery=scenery_pair())
        if block % 2 == 0:
            tunnel(45, 2, 5)
            straight(10, left, right, scenery=(ROCKS, ROCKS))
        else:
            night(50, 2, 5)
            straight(10, left, right, scenery=(FOREST, FOREST))
        left, right = bend(left, right, -1, 1)
        gravel_patch(left, right, 8, 1)
        left, right = bend(left, right, 1, 1)
        straight(40, left, right, scenery=scenery_pair())
        left, right = narrow_to(left, right, 3, 5)
        straight(35, left, right, scenery=(WATER, MEADOW))
        left, right = widen_to(left, right, 2, 5)
        straight(30, left, right, scenery=scenery_pair())
        left, right = bend(left, right, 1, 1)
        straight(20, left, right, scenery=scenery_pair())
        left, right = bend(left, right, -1, 1)
        straight(30, left, right, scenery=(STANDS, STANDS))
    straight(20, left, right, scenery=scenery_pair())
    widen_to(left, right, 2, 6)
    straight(20, 2, 6, scenery=(TREES, RIGHT_KERB))
    rows.extend(start_rows()[:6])   # the last rows repeat the first, so the wrap is seamless


lap()
assert rows[:6] == rows[-6:]
text = "\n".join(",".join("%02d" % c for c in row) for row in reversed(rows)) + "\n"
path = sys.argv[1] if len(sys.argv) > 1 else "data/01.lvl"
with open(path, "w") as out:
    out.write(text)
print("%s: %d rows" % (path, len(rows)))
