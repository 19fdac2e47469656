#!/usr/bin/env python3
"""Writes the shipped courses, data/01.lvl to data/04.lvl. Run it again after changing a
layout below: `python3 tools/make_level.py [FOLDER]` (data/ by default).

Each course is built in driving order (the car starts at the bottom of the file and drives
up), then written bottom row last, followed by an empty line and its name. Codes: see
data/TILES.md; the rules every course keeps: docs/courses.md (and `quindara --check-course`).

Every road, kerb and crash slide stays left of the side panel (x 269): the road uses columns
0 to 5, a right kerb at most column 6. A split carriageway keeps its lanes in columns 0 and 1,
and 4 and 5: the game takes the second four columns right of the first, and a crash beside it
slides the car there. Where the two join, the second narrows to column 5 for one row: the
game looks for a split a few tiles on from where a row's road ends, so the full road just
after a split would otherwise send a crash slide under the panel.
"""
import random
import sys

GRASS, ROAD, LEFT_KERB, RIGHT_KERB, TREES, SAND, WATER, MEADOW, BARN = 1, 2, 3, 4, 5, 6, 7, 8, 9
WALL, DARK_ROAD, GRAVEL, ROCKS, STANDS, BARRIER, MEDIAN, FOREST, NIGHT = 10, 11, 12, 13, 14, 15, 16, 17, 18
CHECKPOINT, OPENS, NARROWS = 97, 98, 99
SCENERY = [GRASS, TREES, SAND, WATER, MEADOW, BARN, ROCKS, STANDS, FOREST]


class Course:
    def __init__(self, name, seed):
        self.name = name
        self.rng = random.Random(seed)
        self.rows = []  # driving order: rows[0] is the first row driven

    def road_row(self, left, right, scenery=(TREES, GRASS), road=ROAD, kerbs=True):
        assert 0 <= left <= right <= 5, (left, right)
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

    def straight(self, n, left, right, **kw):
        for _ in range(n):
            self.rows.append(self.road_row(left, right, **kw))

    def scenery_pair(self, choices=SCENERY):
        return (self.rng.choice(choices), self.rng.choice(choices))

    def opening_row(self, k, taper=False):
        """A row of the opening: a dual carriageway whose right-hand side, where a run starts
        (x 227), reaches column 6. The game sees a split there, so a crash slides the car to
        x 225 whichever side it is on. The strip between them is the course's own."""
        inner, outer = self.median
        return [ROAD, ROAD, inner, inner if taper or k % 6 == 0 else outer,
                inner if taper else ROAD, ROAD, ROAD, RIGHT_KERB]

    def start(self, scenery=(TREES, TREES), n=100, median=(MEDIAN, BARRIER)):
        """The opening: n rows where holding Up from x 227 keeps the car on the road; then
        the road narrows to columns 2 to 5. Returns those columns."""
        self.start_scenery = scenery
        self.median = median
        for k in range(8 + n):
            self.rows.append(self.opening_row(k))
        self.sign(NARROWS, 0)
        self.rows.append(self.opening_row(0, taper=True))  # where the carriageways join
        return 2, 5

    def finish(self, left, right):
        """The road opens again into the opening; the last rows repeat the first, so the wrap
        is seamless."""
        assert (left, right) == (2, 5), (left, right)
        self.straight(20, 2, 5, scenery=self.start_scenery)
        self.sign(OPENS, 2)
        self.rows.extend(self.rows[:6])
        assert self.rows[:6] == self.rows[-6:]

    def bend(self, left, right, shift, steps, every=9, scenery=None):
        """Moves the road `shift` columns per step, `steps` times; returns the new columns."""
        scen = scenery or self.scenery_pair()
        for _ in range(steps):
            left += shift
            right += shift
            self.straight(every, left, right, scenery=scen)
        return left, right

    def sign(self, kind, left):
        """A warning sign at the road's left edge five rows before the last row added."""
        self.rows[-5][left] = kind

    def change(self, left, right, new_left, new_right):
        """Announces a narrowing or an opening of the road; returns the new columns."""
        self.sign(NARROWS if new_right - new_left < right - left else OPENS, left)
        return new_left, new_right

    def gravel_patch(self, left, right, n, side, scenery=None):
        scen = scenery or self.scenery_pair()
        for k in range(n):
            row = self.road_row(left, right, scenery=scen)
            col = left if side == 0 else right
            row[col] = GRAVEL
            if 1 <= k < n - 1 and right > left:
                row[col + (1 if side == 0 else -1)] = GRAVEL
            self.rows.append(row)

    def split_carriageway(self, n, scenery=TREES):
        for k in range(n):
            if k == n - 1:  # where they join, the second narrows for a row (see above)
                self.rows.append([ROAD, ROAD, MEDIAN, MEDIAN, MEDIAN, ROAD, RIGHT_KERB, scenery])
            else:
                self.rows.append([ROAD, ROAD, MEDIAN, BARRIER if k % 6 else MEDIAN, ROAD, ROAD,
                                  RIGHT_KERB, scenery])

    def tunnel(self, n, left, right):
        for _ in range(n):
            self.rows.append([DARK_ROAD if left <= c <= right else WALL for c in range(8)])

    def night(self, n, left, right):
        self.straight(n, left, right, scenery=(NIGHT, NIGHT), road=DARK_ROAD, kerbs=False)

    def checkpoint(self, left):
        self.rows[-1][left] = CHECKPOINT

    def text(self):
        rows = "\n".join(",".join("%02d" % c for c in row) for row in reversed(self.rows))
        return rows + "\n\nname: %s\n" % self.name


def ring():
    """Course 1: farmland, a dual carriageway, gravel, tunnels and a night stretch."""
    c = Course("Quindara Ring", 1987)
    left, right = c.start()
    for block in range(4):
        c.straight(30, left, right, scenery=c.scenery_pair())
        c.gravel_patch(left, right, 6, block % 2)
        left, right = c.bend(left, right, -1, 1)
        c.straight(25, left, right, scenery=c.scenery_pair())
        left, right = c.bend(left, right, -1 if block % 2 else 1, 1)
        c.straight(20, left, right, scenery=c.scenery_pair())
        while left != 2:
            left, right = c.bend(left, right, 1 if left < 2 else -1, 1)
        # Onto the dual carriageway (every other lap quarter a wide road instead): announce
        # the road opening.
        c.straight(8, left, right, scenery=c.scenery_pair())
        c.change(left, right, 0, 5)
        if block % 2 == 0:
            c.split_carriageway(45 + 10 * block)
        else:
            c.straight(45, 0, 5, scenery=(LEFT_KERB, RIGHT_KERB), kerbs=False)
        c.straight(12, 0, 5, scenery=(LEFT_KERB, RIGHT_KERB), kerbs=False)
        left, right = c.change(0, 5, 2, 5)
        c.straight(30, left, right, scenery=c.scenery_pair())
        c.checkpoint(left)
        c.straight(30, left, right, scenery=c.scenery_pair())
        if block % 2 == 0:
            c.tunnel(45, 2, 5)
            c.straight(10, left, right, scenery=(ROCKS, ROCKS))
        else:
            c.night(50, 2, 5)
            c.straight(10, left, right, scenery=(FOREST, FOREST))
        left, right = c.bend(left, right, -1, 1)
        c.gravel_patch(left, right, 8, 1)
        left, right = c.bend(left, right, 1, 1)
        c.straight(40, left, right, scenery=c.scenery_pair())
        left, right = c.change(left, right, 3, 5)
        c.straight(35, left, right, scenery=(WATER, MEADOW))
        left, right = c.change(left, right, 2, 5)
        c.straight(30, left, right, scenery=c.scenery_pair())
        left, right = c.bend(left, right, -1, 1)
        c.straight(20, left, right, scenery=c.scenery_pair())
        left, right = c.bend(left, right, 1, 1)
        c.straight(30, left, right, scenery=(STANDS, STANDS))
    c.straight(20, left, right, scenery=c.scenery_pair())
    c.finish(left, right)
    return c


def coast():
    """Along the water: long sweeping bends between the sea and the dunes, sand blown onto
    the road, and narrower causeways across the water."""
    c = Course("Coast Road", 2024)
    beach = (WATER, SAND)
    left, right = c.start(scenery=(WATER, SAND), median=(SAND, WATER))
    c.straight(10, 2, 5, scenery=beach)
    left, right = c.change(2, 5, 2, 4)
    c.straight(10, 2, 4, scenery=beach)
    left, right = c.bend(2, 4, -1, 1, scenery=beach)
    for block in range(4):
        for shift in (1, 1, -1, -1):
            left, right = c.bend(left, right, shift, 1, every=20, scenery=beach)
        c.gravel_patch(left, right, 10, block % 2, scenery=(WATER, SAND))
        c.straight(25, left, right, scenery=(WATER, MEADOW))
        left, right = c.change(left, right, left + 1, right)  # onto the causeway
        c.straight(40, left, right, scenery=(WATER, WATER))
        left, right = c.change(left, right, left - 1, right)
        c.straight(20, left, right, scenery=(SAND, BARN))
        c.checkpoint(left)
        c.straight(20, left, right, scenery=(SAND, BARN))
        for shift in (1, -1):
            left, right = c.bend(left, right, shift, 2, every=8, scenery=(WATER, ROCKS))
        c.gravel_patch(left, right, 6, 1 - block % 2, scenery=(SAND, SAND))
        c.straight(60, left, right, scenery=(WATER, TREES))
    left, right = c.bend(left, right, 1, 1, scenery=beach)
    left, right = c.change(left, right, 2, 5)
    c.finish(left, right)
    return c


def night_run():
    """Dark from start to end but for two villages: the headlights on, the engine echoing,
    tunnels through the hills."""
    c = Course("Night Run", 31)
    c.start(scenery=(NIGHT, NIGHT), median=(NIGHT, FOREST))
    c.night(10, 2, 5)
    left, right = 1, 4
    for block in range(4):
        c.night(80, left, right)
        for shift in (-1, 1, 1, -1):
            left, right = left + shift, right + shift
            c.night(10, left, right)
        c.tunnel(60, left, right)
        c.night(20, left, right)
        c.checkpoint(left)
        c.night(30, left, right)
        left, right = c.change(left, right, left, right - 1)
        c.night(40, left, right)
        c.gravel_patch(left, right, 6, block % 2, scenery=(NIGHT, NIGHT))
        c.night(20, left, right)
        left, right = c.change(left, right, left, right + 1)
        c.straight(40, left, right, scenery=(BARN, MEADOW))  # a village, lit
        c.tunnel(50, left, right)
        c.night(30, left, right)
    c.night(20, left, right)
    c.night(10, 2, 5)
    c.finish(2, 5)
    return c


def motorway():
    """Fast and wide: six lanes, roadworks that take it down to two, tunnels, and
    carriageways that split around a barrier and join again."""
    c = Course("Motorway", 44)
    c.start(scenery=(GRASS, GRASS), median=(BARRIER, BARRIER))
    c.straight(10, 2, 5, scenery=(GRASS, GRASS))
    c.change(2, 5, 0, 5)
    for block in range(4):
        c.straight(100, 0, 5, scenery=(GRASS, GRASS))
        c.checkpoint(0)
        c.straight(40, 0, 5, scenery=(GRASS, GRASS))
        c.change(0, 5, 1, 3)  # roadworks
        c.gravel_patch(1, 3, 6, block % 2, scenery=(ROCKS, ROCKS))
        c.straight(30, 1, 3, scenery=(ROCKS, ROCKS))
        c.change(1, 3, 0, 5)
        c.straight(40, 0, 5, scenery=(STANDS if block == 2 else FOREST, GRASS))
        c.tunnel(35, 0, 5)
        c.straight(20, 0, 5, scenery=(MEADOW, GRASS))
        c.straight(40, 0, 5, scenery=(BARRIER, GRASS))  # the crash barrier alongside
    c.change(0, 5, 2, 5)
    c.straight(10, 2, 5, scenery=(GRASS, GRASS))
    c.finish(2, 5)
    return c


COURSES = [ring, coast, night_run, motorway]

if __name__ == "__main__":
    folder = sys.argv[1] if len(sys.argv) > 1 else "data"
    for number, make in enumerate(COURSES, 1):
        course = make()
        path = "%s/%02d.lvl" % (folder, number)
        with open(path, "w") as out:
            out.write(course.text())
        print("%s: %s, %d rows" % (path, course.name, len(course.rows)))
