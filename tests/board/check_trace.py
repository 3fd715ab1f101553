#!/usr/bin/env python3
"""Checks the board events of a game trace against the board rules.

The rules are restated here on their own, in Python, so that a fault in the
game's rules and the same fault in this checker would have to be made twice.
Run with --help for what is checked and how the result is reported.
"""

import argparse
import json
import sys

HELP = """\
Reads a trace (JSON lines as written by `quorvanel --trace FILE` or by
`quorvanel-data play`) and checks every board event against the board rules:

level_start (or start): counters 0 (moves) and 1 (chain level 1), the goal
  counters 6 (cells with a required colour plus artifacts) and 7 (cells of kind
  1 or more), no line on the board, the possible moves and the status.
move, for every swap:
  - the level was still going on, and the two cells are movable neighbours on
    the board after the previous event;
  - productive is true exactly when the swapped board has a line; a swap that
    makes none changes nothing (no waves, the board, scores, counters and
    player stay);
  - each wave: its board is the board after the swap (first wave) or after the
    previous wave's falls; its lines (cells in the order the rules report them,
    points at the wave's chain level) are those of the board; its chain level;
    its exploded board follows from the explosion rules; its falls are null
    exactly when the exploded board needs none, and otherwise every surviving
    flower moved as the falls rules say and every new flower is a palette
    entry (or the assist colour of a cell still to complete nearby); a wave
    follows exactly when falls did;
  - the board after the move is the last wave's result, the mover's score grew
    by the points of all lines, the statistics follow their rules, the
    counters 0 and 1 and the level's counters 3, 5, 6 and 7 hold, the player
    to move is right (1, or by the moves made in a duel);
  - moves (the possible swaps and their estimated points, strongest first)
    equal this checker's own search, and the status says won when no cell is
    left to complete and no moves left when no swap makes a line (with the
    duel modes' readings of both).
level_end: its status and completion agree with the last board event (status
  2, the clock ran out, only in classic while play went on), and so do its
  scores and move counter.
Events of other kinds are ignored; a trace may hold several levels.

Each inconsistency is printed on standard output as one line:
  EVENT: WHAT: expected X, found Y
where EVENT is "line L level_start", "line L move N" (N counts the swaps of the
level from 1) or "line L level_end".

Exit codes: 0 every event holds; 1 at least one inconsistency (or, with
--require-end, no level_end); 2 the trace cannot be read (a usage error, a
missing file, a line that is not JSON).
"""

ARTIFACT = -10
EMPTY = -1
HOLE = -1
ARTIFACT_POINTS = 3000

# Outcome of a level as the board events report it.
STATUS_NO_MOVES, STATUS_WON, STATUS_TIME_OUT, STATUS_DUEL_LOST = 0, 1, 2, 3


# --- the board ------------------------------------------------------------------------------


def copy_board(board):
    return [[list(cell) for cell in column] for column in board]


def size(board):
    return len(board), (len(board[0]) if board else 0)


def inside(board, c, r):
    return 0 <= c < len(board) and 0 <= r < len(board[c])


def neighbours(c1, r1, c2, r2):
    if c1 == c2:
        return abs(r1 - r2) == 1
    if abs(c1 - c2) != 1:
        return False
    return r2 == r1 or r2 == (r1 + 1 if c1 % 2 == 0 else r1 - 1)


def movable(board, c, r):
    if not inside(board, c, r):
        return False
    kind, _, flower = board[c][r]
    return kind in (0, 1) and flower not in (EMPTY, ARTIFACT)


# The three axes, each as its two directions; a step goes from the column it
# leaves (c) to the next one.
AXES = (
    (lambda c, r: (c, r - 1), lambda c, r: (c, r + 1)),
    (lambda c, r: (c - 1, r + 1 - c % 2), lambda c, r: (c + 1, r - c % 2)),
    (lambda c, r: (c - 1, r - c % 2), lambda c, r: (c + 1, r + 1 - c % 2)),
)


def walk(board, c, r, code, step):
    cells = []
    while True:
        c, r = step(c, r)
        if not (0 <= c < len(board)):
            return cells
        if not (0 <= r < len(board[c])):
            # The rows move one way only, so a walk that left them is over.
            return cells
        kind, _, flower = board[c][r]
        if kind < 0 or flower != code:
            return cells
        cells.append((c, r))


def line_at(board, c, r):
    """The cells of the line through (c, r), start cell first, or None."""
    if not inside(board, c, r):
        return None
    kind, _, flower = board[c][r]
    if kind < 0 or flower == EMPTY:
        return None
    if flower == ARTIFACT:
        if r == len(board[c]) - 1 or board[c][r + 1][0] == HOLE:
            return [(c, r)]
        return None
    for first, second in AXES:
        run = [(c, r)] + walk(board, c, r, flower, first) + walk(board, c, r, flower, second)
        if len(run) >= 3:
            return run
    return None


def any_line(board):
    cols, rows = size(board)
    return any(line_at(board, c, r) for c in range(cols) for r in range(rows))


def line_points(board, cells, chain):
    n = len(cells)
    base = (chain + n + 1) * 20
    total = 0
    for c, r in cells:
        kind, colour, flower = board[c][r]
        if flower == ARTIFACT:
            total += ARTIFACT_POINTS
        elif kind == 1:
            total += 500 if colour == -1 else 1000 if colour == flower else base
        elif kind in (0, 2, 3):
            total += base * max(kind, 1)
    return total


def wave_lines(board):
    """The lines of an explosion wave, in the order the wave finds them."""
    cols, rows = size(board)
    marked = set()
    lines = []
    for r in range(rows - 1, -1, -1):
        for c in range(cols):
            if (c, r) in marked:
                continue
            cells = line_at(board, c, r)
            if cells:
                marked.update(cells)
                lines.append(cells)
    return lines


def explode(board, lines, stats=None):
    """The board after the wave's cells exploded; counts into stats."""
    after = copy_board(board)
    done = set()
    for cells in lines:
        for c, r in cells:
            if (c, r) in done:
                continue
            done.add((c, r))
            kind, colour, flower = after[c][r]
            completed = coloured = False
            if kind == 1:
                if colour == -1 or colour == flower:
                    completed, coloured = True, colour != -1
                    kind = 0
                new_flower = EMPTY
            elif kind == 2 or kind == 3:
                kind -= 1
                new_flower = flower
            else:
                new_flower = EMPTY
            collected = flower == ARTIFACT and new_flower == EMPTY
            if stats is not None:
                add_stat(stats, "flowers", 1)
                if completed:
                    add_stat(stats, "total_cells", 1)
                if coloured or collected:
                    add_stat(stats, "color_cells", 1)
            after[c][r] = [kind, colour, new_flower]
    return after


def needs_falls(board):
    for column in board:
        count = 0
        for kind, _, flower in reversed(column):
            if kind == HOLE:
                if count > 0:
                    return True
            elif kind in (2, 3):
                count = 0
            elif flower == EMPTY:
                count += 1
            elif count > 0:
                return True
        if count > 0:
            return True
    return False


def falls(board):
    """The board after the falls with new cells left empty, and the new cells."""
    after = copy_board(board)
    new_cells = []
    cols, rows = size(board)
    for c in range(cols):
        count = 0
        for r in range(rows - 1, -1, -1):
            kind, _, flower = board[c][r]
            if kind == HOLE:
                new_cells += [(c, rr) for rr in range(r + 1, r + count + 1)]
                count = 0
            elif flower == EMPTY:
                count += 1
            elif kind in (2, 3):
                count = 0
            elif count > 0:
                after[c][r + count][2] = flower
                after[c][r][2] = EMPTY
        new_cells += [(c, rr) for rr in range(count)]
    return after, new_cells


def remaining_cells(board, difficulty):
    cells = []
    cols, rows = size(board)
    for c in range(cols):
        for r in range(rows):
            kind, colour, flower = board[c][r]
            if kind == HOLE:
                continue
            if flower == ARTIFACT or (kind >= 1 and (difficulty != 1 or colour != -1)):
                cells.append((c, r))
    return cells


def possible_moves(board, chain=1):
    """[c1, r1, c2, r2, points] for every swap that makes a line, strongest first."""
    if any_line(board):
        return []
    cols, rows = size(board)
    found = []
    for r in range(rows):
        for c in range(cols):
            if not movable(board, c, r):
                continue
            partners = ((c, r + 1), (c + 1, r), (c + 1, r + 1) if c % 2 == 0 else (c + 1, r - 1))
            for c2, r2 in partners:
                if not movable(board, c2, r2) or board[c2][r2][2] == board[c][r][2]:
                    continue
                swapped = copy_board(board)
                swapped[c][r][2], swapped[c2][r2][2] = board[c2][r2][2], board[c][r][2]
                first, second = line_at(swapped, c, r), line_at(swapped, c2, r2)
                if not first and not second:
                    continue
                points = sum(line_points(swapped, cells, chain) for cells in (first, second) if cells)
                entry = [c, r, c2, r2, points]
                # Before the first entry whose points are not higher.
                at = next((i for i, e in enumerate(found) if e[4] <= points), len(found))
                found.insert(at, entry)
    return found


# --- statistics -----------------------------------------------------------------------------

STAT_NAMES = ("Score", "score_move", "max_score_move", "move", "combo", "max_combo", "chains", "max_chains",
              "flowers", "max_flowers", "color_cells", "total_cells")


def add_stat(stats, name, amount):
    stats[name] = stats.get(name, 0) + amount
    if name == "Score":
        stats["score_move"] = stats.get("score_move", 0) + amount
    elif name == "move":
        for best, running in (("max_score_move", "score_move"), ("max_combo", "combo"), ("max_chains", "chains")):
            stats[best] = max(stats.get(best, 0), stats.get(running, 0))
            stats[running] = 0
    elif name == "combo":
        stats["max_flowers"] = max(stats.get("max_flowers", 0), stats.get("flowers", 0))
        stats["flowers"] = 0


def fresh_stats():
    return {name: 0 for name in STAT_NAMES}


# --- reading the trace ----------------------------------------------------------------------


class Problems:
    def __init__(self):
        self.lines = []

    def add(self, where, what, expected, found):
        self.lines.append("%s: %s: expected %s, found %s" % (where, what, show(expected), show(found)))


def show(value):
    if isinstance(value, str):
        return value
    return json.dumps(value, separators=(",", ":"))


def cell_list(cells):
    return [[c, r] for c, r in cells]


def board_problem(problems, where, what, expected, found):
    """Reports the first differing cells of two boards (or their shapes)."""
    if found == expected:
        return False
    if not valid_board(found) or size(found) != size(expected):
        problems.add(where, what + " shape", "%dx%d cells" % size(expected), "not that board")
        return True
    diffs = []
    for c, column in enumerate(expected):
        for r, cell in enumerate(column):
            if found[c][r] != cell:
                diffs.append((c, r, cell, found[c][r]))
    shown = "; ".join("[%d,%d] %s" % (c, r, show(cell)) for c, r, cell, _ in diffs[:4])
    seen = "; ".join("[%d,%d] %s" % (c, r, show(cell)) for c, r, _, cell in diffs[:4])
    more = " (+%d cells)" % (len(diffs) - 4) if len(diffs) > 4 else ""
    problems.add(where, what, shown + more, seen + more)
    return True


def valid_board(board):
    if not isinstance(board, list) or not board or not all(isinstance(col, list) for col in board):
        return False
    rows = len(board[0])
    return all(len(col) == rows and all(isinstance(cell, list) and len(cell) == 3 and
                                        all(isinstance(v, int) for v in cell) for cell in col)
               for col in board)


def expected_status(board, difficulty, moves, mode, scores):
    if not remaining_cells(board, difficulty):
        status = STATUS_WON
    elif not moves:
        status = STATUS_NO_MOVES
    else:
        return None
    if mode == "duel_player" and status == STATUS_NO_MOVES:
        status = STATUS_WON
    if mode == "duel_computer":
        status = STATUS_DUEL_LOST if scores[0] < scores[1] else STATUS_WON
    return status


class Level:
    """What the checker knows of the running level after each event."""

    def __init__(self, event, mode):
        self.mode = event.get("mode", mode)
        self.palette = event.get("palette") or []
        self.board = event["board"]
        self.counters = event["counters"]
        self.moves = event.get("moves")
        self.status = event.get("status")
        self.scores = [0, 0]
        self.player = 1
        self.stats = [fresh_stats(), fresh_stats()]
        self.swaps = 0

    @property
    def difficulty(self):
        return self.counters[5]


class Checker:
    def __init__(self, mode="relax"):
        self.mode = mode
        self.problems = Problems()
        self.level = None
        self.ends = 0

    def event(self, number, event):
        kind = event.get("event")
        if kind in ("level_start", "start"):
            self.level_start(number, event)
        elif kind == "move":
            if self.level is None:
                self.problems.add("line %d move" % number, "level", "a level_start before", "none")
            else:
                self.move(number, event)
        elif kind == "level_end":
            self.ends += 1
            if self.level is None:
                self.problems.add("line %d level_end" % number, "level", "a level_start before", "none")
            else:
                self.level_end(number, event)

    def level_start(self, number, event):
        where = "line %d level_start" % number
        if not valid_board(event.get("board")) or not isinstance(event.get("counters"), list) \
                or len(event["counters"]) != 8:
            self.problems.add(where, "board and counters", "a board and eight counters", "not both")
            self.level = None
            return
        level = Level(event, self.mode)
        self.level = level
        board = level.board
        cols, rows = size(board)
        if (event.get("cols"), event.get("rows")) != (cols, rows):
            self.problems.add(where, "cols and rows", [cols, rows], [event.get("cols"), event.get("rows")])
        counters = level.counters
        if counters[0] != 0:
            self.problems.add(where, "counter 0 (moves)", 0, counters[0])
        if counters[1] != 1:
            self.problems.add(where, "counter 1 (chain level)", 1, counters[1])
        cells = [cell for column in board for cell in column]
        goal_colour = sum(1 for k, colour, f in cells if k != HOLE and (f == ARTIFACT or (k >= 1 and colour != -1)))
        goal_cells = sum(1 for k, _, _ in cells if k >= 1)
        if counters[6] != goal_colour:
            self.problems.add(where, "counter 6 (colour goal)", goal_colour, counters[6])
        if counters[7] != goal_cells:
            self.problems.add(where, "counter 7 (cell goal)", goal_cells, counters[7])
        first = next(((c, r) for c in range(cols) for r in range(rows) if line_at(board, c, r)), None)
        if first:
            self.problems.add(where, "board", "no line", "a line at %s" % show(list(first)))
        for c in range(cols):
            for r in range(rows):
                kind, _, flower = board[c][r]
                if kind != HOLE and flower == EMPTY:
                    self.problems.add(where, "flower at [%d,%d]" % (c, r), "a flower", flower)
        self.turn_start(where, level, board, level.moves, level.status, level.scores)

    def turn_start(self, where, level, board, moves, status, scores):
        """Checks the possible moves and the status of a turn start."""
        searched = None
        if remaining_cells(board, level.difficulty):
            searched = possible_moves(board)
            if moves != searched:
                self.problems.add(where, "moves", searched, moves)
        expected = expected_status(board, level.difficulty, searched, level.mode, scores)
        if status != expected:
            self.problems.add(where, "status", expected, status)

    def move(self, number, event):
        level = self.level
        level.swaps += 1
        where = "line %d move %d" % (number, level.swaps)
        problems = self.problems
        if level.status is not None:
            problems.add(where, "swap", "none (the level is over, status %s)" % level.status, event.get("swap"))
        swap = event.get("swap")
        if not (isinstance(swap, list) and len(swap) == 4 and all(isinstance(v, int) for v in swap)):
            problems.add(where, "swap", "[c1,r1,c2,r2]", swap)
            return
        c1, r1, c2, r2 = swap
        before = level.board
        if not neighbours(c1, r1, c2, r2):
            problems.add(where, "swap", "neighbours", swap)
        for c, r in ((c1, r1), (c2, r2)):
            if not movable(before, c, r):
                problems.add(where, "swap cell [%d,%d]" % (c, r), "movable",
                             before[c][r] if inside(before, c, r) else "outside")
        if not (inside(before, c1, r1) and inside(before, c2, r2)):
            return
        swapped = copy_board(before)
        swapped[c1][r1][2], swapped[c2][r2][2] = before[c2][r2][2], before[c1][r1][2]
        productive = any_line(swapped)
        if event.get("productive") != productive:
            problems.add(where, "productive", productive, event.get("productive"))
        waves = event.get("waves") or []
        board = event.get("board")
        scores = event.get("scores")
        counters = event.get("counters")
        if not valid_board(board) or not isinstance(counters, list) or len(counters) != 8 \
                or not isinstance(scores, list) or len(scores) != 2:
            problems.add(where, "board, scores and counters", "all three", "not all")
            return
        # The second player's points are their own; the tutorial's player 3
        # plays for the first.
        mover = 2 if level.player == 2 else 1
        stats = {name: value for name, value in level.stats[mover - 1].items()}
        if not productive:
            if waves:
                problems.add(where, "waves", "none (swapped back)", len(waves))
            board_problem(problems, where, "board (swapped back)", before, board)
            paid = 0
        else:
            paid = self.waves(where, level, swapped, waves, board, stats)
            add_stat(stats, "move", 1)
        expected_scores = list(level.scores)
        expected_scores[mover - 1] += paid
        if scores != expected_scores:
            problems.add(where, "scores", expected_scores, scores)
        self.counters(where, level, counters, productive)
        status = event.get("status")
        # A level that is over keeps the player who ended it.
        expected_player = level.player
        if productive and status is None:
            if level.mode in ("duel_player", "duel_computer"):
                expected_player = counters[0] % 2 + 1
            elif level.mode == "how_to_play":
                expected_player = 3
            else:
                expected_player = 1
        player = event.get("player")
        if status is None and player != expected_player:
            problems.add(where, "player", expected_player, player)
        found_stats = event.get("stats")
        if isinstance(found_stats, list) and len(found_stats) == 2:
            mine = found_stats[mover - 1]
            if isinstance(mine, dict) and mine != stats:
                wrong = sorted(name for name in set(stats) | set(mine) if stats.get(name) != mine.get(name))
                problems.add(where, "stats of player %d" % mover, {n: stats.get(n) for n in wrong},
                             {n: mine.get(n) for n in wrong})
            other = found_stats[2 - mover]
            if isinstance(other, dict) and other != level.stats[2 - mover]:
                problems.add(where, "stats of player %d (not moving)" % (3 - mover), level.stats[2 - mover], other)
        if productive:
            self.turn_start(where, level, board, event.get("moves"), status, scores)
        else:
            if event.get("moves") != level.moves:
                problems.add(where, "moves (swapped back)", level.moves, event.get("moves"))
            if status is not None:
                problems.add(where, "status (swapped back)", None, status)
        # The next event starts from what this one says.
        level.board = board
        level.counters = counters
        level.scores = scores
        level.moves = event.get("moves")
        level.status = status
        level.player = player if isinstance(player, int) else level.player
        if isinstance(found_stats, list) and len(found_stats) == 2 and all(isinstance(s, dict) for s in found_stats):
            level.stats = [dict(s) for s in found_stats]
        else:
            level.stats[mover - 1] = stats

    def waves(self, where, level, swapped, waves, final, stats):
        """Checks a productive move's waves; returns the points they paid."""
        problems = self.problems
        expected_board = swapped
        chain = 0
        paid = 0
        result = swapped
        if not waves:
            problems.add(where, "waves", "at least one", "none")
        for i, wave in enumerate(waves, 1):
            at = "%s wave %d" % (where, i)
            board = wave.get("board")
            if board_problem(problems, at, "board", expected_board, board) and not valid_board(board):
                return paid
            if not valid_board(board) or size(board) != size(swapped):
                return paid
            lines = wave_lines(board)
            if lines:
                chain += 1
            if wave.get("chain") != chain:
                problems.add(at, "chain level", chain, wave.get("chain"))
            found_lines = wave.get("lines") or []
            expected_cells = [cell_list(cells) for cells in lines]
            found_cells = [line.get("cells") for line in found_lines]
            if found_cells != expected_cells:
                problems.add(at, "lines", expected_cells, found_cells)
            else:
                for j, (cells, line) in enumerate(zip(lines, found_lines), 1):
                    points = line_points(board, cells, chain)
                    if line.get("points") != points:
                        problems.add(at, "line %d points" % j, points, line.get("points"))
            for j, cells in enumerate(lines):
                if j == 0:
                    add_stat(stats, "combo", 1)
                add_stat(stats, "chains", 1)
                points = line_points(board, cells, chain)
                paid += points
                add_stat(stats, "Score", points)
            exploded = explode(board, lines, stats)
            found_exploded = wave.get("exploded")
            board_problem(problems, at, "exploded", exploded, found_exploded)
            if not valid_board(found_exploded) or size(found_exploded) != size(board):
                return paid
            result = found_exploded
            found_falls = wave.get("falls")
            last = i == len(waves)
            if needs_falls(found_exploded):
                if found_falls is None:
                    problems.add(at, "falls", "falls (the board has holes to fill)", None)
                    continue
                self.check_falls(at, level, found_exploded, found_falls)
                if not valid_board(found_falls) or size(found_falls) != size(board):
                    return paid
                result = found_falls
                expected_board = found_falls
                if last:
                    problems.add(at, "next wave", "a wave after the falls", "the move ended")
            else:
                if found_falls is not None:
                    problems.add(at, "falls", None, "falls on a board that needs none")
                if not last:
                    problems.add(at, "next wave", "the move ends (no falls needed)", "another wave")
                    expected_board = found_exploded
        board_problem(problems, where, "board (after the last wave)", result, final)
        return paid

    def check_falls(self, where, level, exploded, found):
        problems = self.problems
        if not valid_board(found) or size(found) != size(exploded):
            problems.add(where, "falls shape", "%dx%d cells" % size(exploded), "not that board")
            return
        moved, new_cells = falls(exploded)
        allowed = set(level.palette)
        remaining = remaining_cells(exploded, level.difficulty)
        assist = {}
        if 1 <= len(remaining) <= 3:
            for c, r in remaining:
                colour = exploded[c][r][1]
                if colour >= 0:
                    for near in (c - 1, c, c + 1):
                        assist.setdefault(near, set()).add(colour)
        new = set(new_cells)
        cols, rows = size(exploded)
        for c in range(cols):
            for r in range(rows):
                kind, colour, flower = found[c][r]
                if [kind, colour] != exploded[c][r][:2]:
                    problems.add(where, "falls cell [%d,%d] kind and colour" % (c, r), exploded[c][r][:2],
                                 [kind, colour])
                elif (c, r) in new:
                    if flower not in allowed and flower not in assist.get(c, ()):
                        problems.add(where, "falls new flower at [%d,%d]" % (c, r),
                                     "a palette entry %s" % show(sorted(allowed)), flower)
                elif flower != moved[c][r][2]:
                    problems.add(where, "falls flower at [%d,%d]" % (c, r), moved[c][r][2], flower)

    def counters(self, where, level, counters, productive):
        before = level.counters
        moves = before[0] + (1 if productive else 0)
        if counters[0] != moves:
            self.problems.add(where, "counter 0 (moves)", moves, counters[0])
        chain = 1 if productive else before[1]
        if counters[1] != chain:
            self.problems.add(where, "counter 1 (chain level)", chain, counters[1])
        for index, name in ((3, "time allowance"), (5, "difficulty"), (6, "colour goal"), (7, "cell goal")):
            if counters[index] != before[index]:
                self.problems.add(where, "counter %d (%s)" % (index, name), before[index], counters[index])
        if counters[4] < before[4]:
            self.problems.add(where, "counter 4 (play time)", "at least %d" % before[4], counters[4])
        if counters[2] > before[2]:
            self.problems.add(where, "counter 2 (time left)", "at most %d" % before[2], counters[2])

    def level_end(self, number, event):
        level = self.level
        where = "line %d level_end" % number
        status = event.get("status")
        expected = level.status
        if expected is None and level.mode == "classic" and status == STATUS_TIME_OUT:
            expected = STATUS_TIME_OUT
        if status != expected:
            self.problems.add(where, "status", expected if expected is not None else "a status", status)
        if event.get("complete") != (status == STATUS_WON):
            self.problems.add(where, "complete", status == STATUS_WON, event.get("complete"))
        if "mode" in event and event["mode"] != level.mode:
            self.problems.add(where, "mode", level.mode, event["mode"])
        scores = event.get("scores")
        if level.mode == "classic" and status == STATUS_WON and isinstance(scores, list) and len(scores) == 2:
            # A won classic level may have paid its time bonus by now, in tens.
            bonus = scores[0] - level.scores[0]
            if bonus < 0 or bonus % 10 or scores[1] != level.scores[1]:
                self.problems.add(where, "scores", "%s plus a time bonus" % show(level.scores), scores)
        elif scores != level.scores:
            self.problems.add(where, "scores", level.scores, scores)
        counters = event.get("counters")
        if isinstance(counters, list) and len(counters) == 8 and counters[0] != level.counters[0]:
            self.problems.add(where, "counter 0 (moves)", level.counters[0], counters[0])
        self.level = None


def check_lines(lines, mode="relax", require_end=False):
    """The inconsistencies of a trace given as its text lines; raises ValueError
    naming the line that is not JSON."""
    checker = Checker(mode)
    for number, text in enumerate(lines, 1):
        if not text.strip():
            continue
        try:
            event = json.loads(text)
        except ValueError as error:
            raise ValueError("line %d is not JSON: %s" % (number, error))
        if isinstance(event, dict):
            checker.event(number, event)
    if require_end and checker.ends == 0:
        checker.problems.add("trace", "level_end", "at least one", "none")
    return checker.problems.lines


def main(argv):
    parser = argparse.ArgumentParser(prog="check_trace.py", description=HELP,
                                     formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("trace", help="the trace file (JSON lines), or - for standard input")
    parser.add_argument("--require-end", action="store_true",
                        help="also fail when the trace holds no level_end event")
    parser.add_argument("--mode", default="relax",
                        choices=("relax", "classic", "duel_computer", "duel_player", "how_to_play"),
                        help="the play mode of levels whose start event does not name one (the start events "
                             "of quorvanel-data play); default relax")
    args = parser.parse_args(argv)
    try:
        if args.trace == "-":
            lines = sys.stdin.readlines()
        else:
            with open(args.trace, encoding="utf-8") as stream:
                lines = stream.readlines()
        problems = check_lines(lines, args.mode, args.require_end)
    except (OSError, ValueError) as error:
        print("check_trace.py: %s" % error, file=sys.stderr)
        return 2
    for line in problems:
        print(line)
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
