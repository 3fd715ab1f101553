#!/usr/bin/env python3
"""Tests of check_trace.py: its rules on worked examples, a hand-made trace
that holds, and damage sweeps that each trace error is caught."""

import copy
import json
import os
import subprocess
import sys
import tempfile
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import check_trace as ct  # noqa: E402


def column_board(flowers, kinds=None, colours=None):
    """A board of one column from its flowers, top row first."""
    kinds = kinds or [1] * len(flowers)
    colours = colours or [-1] * len(flowers)
    return [[[k, c, f] for k, c, f in zip(kinds, colours, flowers)]]


def grid(cols, rows, flower=90):
    """A board of normal cells whose flowers all differ (no line anywhere)."""
    return [[[1, -1, flower + c * rows + r] for r in range(rows)] for c in range(cols)]


class RulesTest(unittest.TestCase):
    def test_neighbours_of_even_and_odd_columns(self):
        around = lambda c, r: {(c2, r2) for c2 in range(c - 2, c + 3) for r2 in range(r - 2, r + 3)
                               if ct.neighbours(c, r, c2, r2)}
        self.assertEqual(around(4, 4), {(3, 4), (3, 5), (5, 4), (5, 5), (4, 3), (4, 5)})
        self.assertEqual(around(3, 4), {(2, 3), (2, 4), (4, 3), (4, 4), (3, 3), (3, 5)})
        # Symmetric, whatever the column.
        for c, r in ((4, 4), (3, 4)):
            for c2, r2 in around(c, r):
                self.assertTrue(ct.neighbours(c2, r2, c, r))

    def test_movable_cells(self):
        board = [[[0, -1, 11], [1, 22, 11], [2, -1, 11], [3, -1, 11], [1, -1, -1], [1, -1, -10], [-1, -1, -1]]]
        self.assertEqual([ct.movable(board, 0, r) for r in range(7)], [True, True, False, False, False, False, False])
        self.assertFalse(ct.movable(board, 1, 0))

    def test_lines_along_each_axis_in_report_order(self):
        board = grid(6, 6)
        # A straight diagonal on screen: x grows by 53, y falls by 30 each step.
        for c, r in ((0, 4), (1, 4), (2, 3), (3, 3), (4, 2)):
            board[c][r][2] = 11
        self.assertEqual(ct.line_at(board, 2, 3), [(2, 3), (1, 4), (0, 4), (3, 3), (4, 2)])
        self.assertEqual(ct.line_at(board, 4, 2), [(4, 2), (3, 3), (2, 3), (1, 4), (0, 4)])
        board = grid(6, 6)
        # The other diagonal: x grows by 53, y by 30.
        for c, r in ((0, 0), (1, 1), (2, 1), (3, 2)):
            board[c][r][2] = 22
        self.assertEqual(ct.line_at(board, 1, 1), [(1, 1), (0, 0), (2, 1), (3, 2)])
        board = grid(6, 6)
        for r in (1, 2, 3):
            board[2][r][2] = 33
        self.assertEqual(ct.line_at(board, 2, 2), [(2, 2), (2, 1), (2, 3)])
        # Two in a row are no line; a hole or another flower ends a run.
        board[2][3][0] = -1
        self.assertIsNone(ct.line_at(board, 2, 2))

    def test_a_cell_on_two_lines_reports_the_vertical_one(self):
        board = grid(3, 5)
        for c, r in ((1, 1), (1, 2), (1, 3), (0, 3), (2, 2)):
            board[c][r][2] = 11
        self.assertEqual(ct.line_at(board, 1, 3), [(1, 3), (1, 2), (1, 1)])
        self.assertEqual(ct.line_at(board, 0, 3), [(0, 3), (1, 3), (2, 2)])

    def test_locked_cells_belong_to_lines(self):
        board = column_board([11, 11, 11], kinds=[1, 2, 1])
        self.assertEqual(ct.line_at(board, 0, 0), [(0, 0), (0, 1), (0, 2)])
        after = ct.explode(board, [ct.line_at(board, 0, 0)])
        self.assertEqual(after, [[[0, -1, -1], [1, -1, 11], [0, -1, -1]]])

    def test_artifacts_line_up_at_the_bottom_only(self):
        board = column_board([-10, 11, -10, 22, -10], kinds=[1, 1, 1, -1, 1])
        self.assertIsNone(ct.line_at(board, 0, 0))
        self.assertEqual(ct.line_at(board, 0, 2), [(0, 2)])  # above a hole
        self.assertEqual(ct.line_at(board, 0, 4), [(0, 4)])  # in the last row
        # Never part of a colour line.
        board = column_board([11, -10, 11, 11])
        self.assertIsNone(ct.line_at(board, 0, 2))

    def test_points_of_a_line(self):
        line = [(0, 0), (0, 1), (0, 2)]
        self.assertEqual(ct.line_points(column_board([11] * 3), line, 1), 1500)
        self.assertEqual(ct.line_points(column_board([11] * 3, kinds=[0] * 3), line, 1), 300)
        self.assertEqual(ct.line_points(column_board([11] * 4, kinds=[3] * 4), line + [(0, 3)], 2), 1680)
        mixed = column_board([11] * 3, kinds=[1, 1, 2], colours=[11, 22, -1])
        self.assertEqual(ct.line_points(mixed, line, 1), 1000 + 100 + 200)
        self.assertEqual(ct.line_points(column_board([-10]), [(0, 0)], 4), 3000)

    def test_a_wave_scans_from_the_bottom_and_explodes_a_shared_cell_once(self):
        board = grid(3, 4)
        for c, r in ((0, 3), (1, 3), (2, 2), (1, 2), (1, 1)):
            board[c][r][2] = 11
        board[1][3] = [1, 11, 11]
        lines = ct.wave_lines(board)
        self.assertEqual(lines, [[(0, 3), (1, 3), (2, 2)], [(1, 2), (1, 1), (1, 3)]])
        stats = ct.fresh_stats()
        after = ct.explode(board, lines, stats)
        self.assertEqual([after[c][r] for c, r in ((0, 3), (1, 3), (2, 2), (1, 2), (1, 1))],
                         [[0, -1, -1], [0, 11, -1], [0, -1, -1], [0, -1, -1], [0, -1, -1]])
        self.assertEqual((stats["flowers"], stats["total_cells"], stats["color_cells"]), (5, 5, 1))

    def test_explosion_by_kind(self):
        board = [[[1, -1, 11], [1, 11, 11], [1, 22, 11], [2, -1, 11], [3, 22, 11], [0, -1, 11], [0, -1, -10]]]
        stats = ct.fresh_stats()
        after = ct.explode(board, [[(0, r) for r in range(7)]], stats)
        self.assertEqual(after, [[[0, -1, -1], [0, 11, -1], [1, 22, -1], [1, -1, 11], [2, 22, 11], [0, -1, -1],
                                  [0, -1, -1]]])
        # Completed: the plain and the coloured cell; coloured: that one and the artifact.
        self.assertEqual((stats["flowers"], stats["total_cells"], stats["color_cells"]), (7, 2, 2))

    def test_falls_stop_at_locks_and_holes(self):
        # Rows top down: a flower, a gap, a lock, a gap kept by the lock, a flower.
        board = column_board([11, -1, 22, -1, 33], kinds=[1, 1, 2, 1, 1])
        self.assertTrue(ct.needs_falls(board))
        after, new = ct.falls(board)
        self.assertEqual([cell[2] for cell in after[0]], [-1, 11, 22, -1, 33])
        self.assertEqual(new, [(0, 0)])
        # New flowers enter below a hole; nothing falls through it.
        board = column_board([11, -1, -1, 22, -1], kinds=[1, -1, 1, 1, 1])
        after, new = ct.falls(board)
        self.assertEqual([cell[2] for cell in after[0]], [11, -1, -1, -1, 22])
        self.assertEqual(new, [(0, 2), (0, 3)])
        # Gaps under a lock alone need no falls.
        self.assertFalse(ct.needs_falls(column_board([22, -1, -1], kinds=[3, 1, 1])))
        self.assertTrue(ct.needs_falls(column_board([-1, 22], kinds=[-1, 1]) + column_board([-1, -1])))

    def test_remaining_cells_by_difficulty(self):
        board = [[[1, -1, 11], [1, 22, 11], [2, -1, 11], [0, -1, -10], [0, 22, 11], [-1, -1, -1]]]
        self.assertEqual(ct.remaining_cells(board, 1), [(0, 1), (0, 3)])
        self.assertEqual(ct.remaining_cells(board, 2), [(0, 0), (0, 1), (0, 2), (0, 3)])

    def test_possible_moves_put_the_later_of_equal_moves_first(self):
        board = column_board([11, 22, 11, 11, 33, 33, 44, 33])
        self.assertEqual(ct.possible_moves(board), [[0, 6, 0, 7, 1500], [0, 0, 0, 1, 1500]])
        # Equal flowers are never swapped, locked ones never; a line means no search.
        self.assertEqual(ct.possible_moves(column_board([22, 11, 11, 22], kinds=[2, 1, 1, 1])), [])
        self.assertEqual(ct.possible_moves(column_board([11, 11, 11, 22])), [])

    def test_statistics_close_waves_and_moves(self):
        stats = ct.fresh_stats()
        for name, amount in (("combo", 1), ("flowers", 3), ("Score", 500), ("combo", 1), ("flowers", 4),
                             ("Score", 700), ("chains", 2), ("move", 1)):
            ct.add_stat(stats, name, amount)
        self.assertEqual(stats, {"Score": 1200, "score_move": 0, "max_score_move": 1200, "move": 1, "combo": 0,
                                 "max_combo": 2, "chains": 0, "max_chains": 2, "flowers": 4, "max_flowers": 3,
                                 "color_cells": 0, "total_cells": 0})


# A level of one column, worked out by hand: a productive swap whose wave
# completes a coloured cell and whose falls bring three new flowers, a swap
# that is swapped back, and a second productive swap after which no swap
# makes a line (the level is lost).
START = {"event": "level_start", "level": 1, "mode": "relax", "palette": [11, 22, 33], "cols": 1, "rows": 5,
         "board": [[[1, 33, 22], [1, -1, 11], [1, -1, 22], [1, -1, 11], [1, 11, 11]]],
         "counters": [0, 1, 0, 0, 0, 1, 2, 5], "moves": [[0, 1, 0, 2, 2000]], "status": None}
BOARD_1 = [[[1, 33, 33], [1, -1, 22], [0, -1, 11], [0, -1, 22], [0, 11, 22]]]
STATS_1 = {"Score": 2000, "score_move": 0, "max_score_move": 2000, "move": 1, "combo": 0, "max_combo": 1,
           "chains": 0, "max_chains": 1, "flowers": 3, "max_flowers": 0, "color_cells": 1, "total_cells": 3}
MOVE_1 = {"event": "move", "swap": [0, 1, 0, 2], "productive": True, "waves": [
    {"chain": 1, "board": [[[1, 33, 22], [1, -1, 22], [1, -1, 11], [1, -1, 11], [1, 11, 11]]],
     "lines": [{"cells": [[0, 4], [0, 3], [0, 2]], "points": 2000}],
     "exploded": [[[1, 33, 22], [1, -1, 22], [0, -1, -1], [0, -1, -1], [0, 11, -1]]],
     "falls": BOARD_1},
    {"chain": 1, "board": BOARD_1, "lines": [], "exploded": BOARD_1, "falls": None}],
    "board": BOARD_1, "scores": [2000, 0], "player": 1, "stats": [STATS_1, ct.fresh_stats()],
    "counters": [1, 1, 0, 0, 3000, 1, 2, 5], "moves": [[0, 1, 0, 2, 300]], "status": None}
MOVE_2 = {"event": "move", "swap": [0, 0, 0, 1], "productive": False, "waves": [], "board": BOARD_1,
          "scores": [2000, 0], "player": 1, "stats": [STATS_1, ct.fresh_stats()],
          "counters": [1, 1, 0, 0, 3500, 1, 2, 5], "moves": [[0, 1, 0, 2, 300]], "status": None}
BOARD_3 = [[[1, 33, 22], [1, -1, 11], [0, -1, 22], [0, -1, 33], [0, 11, 11]]]
MOVE_3 = {"event": "move", "swap": [0, 1, 0, 2], "productive": True, "waves": [
    {"chain": 1, "board": [[[1, 33, 33], [1, -1, 11], [0, -1, 22], [0, -1, 22], [0, 11, 22]]],
     "lines": [{"cells": [[0, 4], [0, 3], [0, 2]], "points": 300}],
     "exploded": [[[1, 33, 33], [1, -1, 11], [0, -1, -1], [0, -1, -1], [0, 11, -1]]],
     "falls": BOARD_3},
    {"chain": 1, "board": BOARD_3, "lines": [], "exploded": BOARD_3, "falls": None}],
    "board": BOARD_3, "scores": [2300, 0], "player": 1,
    "stats": [dict(STATS_1, Score=2300, move=2, max_flowers=3), ct.fresh_stats()],
    "counters": [2, 1, 0, 0, 6000, 1, 2, 5], "moves": [], "status": 0}
END = {"event": "level_end", "level": 1, "mode": "relax", "status": 0, "complete": False, "scores": [2300, 0],
       "counters": [2, 1, 0, 0, 6000, 1, 2, 5]}
# Through JSON, so no two events share a board.
TRACE = json.loads(json.dumps([START, {"event": "show", "screen": "GS_Game"}, MOVE_1, MOVE_2, MOVE_3, END]))


def check(events, mode="relax", require_end=False):
    return ct.check_lines([json.dumps(e) for e in events], mode, require_end)


class HandMadeTraceTest(unittest.TestCase):
    def test_the_worked_level_holds(self):
        self.assertEqual(check(TRACE, require_end=True), [])

    def damaged(self, index, change):
        events = json.loads(json.dumps(TRACE))
        change(events[index])
        return check(events)

    def assertCaught(self, index, change, *words):
        """The damage gives one report or more, the first naming every word."""
        problems = self.damaged(index, change)
        self.assertTrue(problems, "not caught: %s" % (words,))
        for word in words:
            self.assertIn(word, problems[0])

    def test_damage_sweep(self):
        def wave(move, i):
            return move["waves"][i]

        def setter(path, value):
            def change(event):
                target = event
                for key in path[:-1]:
                    target = target[key]
                target[path[-1]] = value
            return change

        cases = [
            # The swap itself.
            (2, setter(["swap"], [0, 1, 0, 3]), "move 1", "swap", "neighbours"),
            (3, setter(["swap"], [0, 1, 0, 2]), "move 2", "productive"),
            (2, setter(["productive"], False), "move 1", "productive"),
            # A flower flipped in a wave's board, in the exploded board, in the falls.
            (2, lambda e: wave(e, 0)["board"][0][0].__setitem__(2, 11), "wave 1", "board", "[0,0]"),
            (2, lambda e: wave(e, 0)["exploded"][0][3].__setitem__(2, 11), "wave 1", "exploded", "[0,3]"),
            (2, lambda e: wave(e, 0)["exploded"][0][2].__setitem__(0, 1), "wave 1", "exploded", "[0,2]"),
            # A line dropped, a cell dropped from a line, the wrong points or chain.
            (2, lambda e: wave(e, 0).__setitem__("lines", []), "wave 1", "lines"),
            (2, lambda e: wave(e, 0)["lines"][0]["cells"].pop(), "wave 1", "lines"),
            (2, lambda e: wave(e, 0)["lines"][0].__setitem__("points", 1500), "line 1 points", "2000", "1500"),
            (4, lambda e: wave(e, 0).__setitem__("chain", 2), "move 3 wave 1", "chain level"),
            # Wrong falls: a flower that did not fall, one that fell through, a
            # new flower outside the palette, falls left out.
            (2, lambda e: wave(e, 0)["falls"][0][3].__setitem__(2, 11), "falls flower at [0,3]", "22", "11"),
            (2, lambda e: wave(e, 0)["falls"][0][2].__setitem__(2, 55), "new flower at [0,2]", "55"),
            (2, lambda e: wave(e, 0).__setitem__("falls", None), "wave 1", "falls"),
            (2, lambda e: e["waves"].pop(), "next wave", "a wave after the falls"),
            (2, lambda e: e["waves"].append(dict(e["waves"][-1])), "wave 2", "next wave", "the move ends"),
            # After the move: board, scores, statistics, counters, moves, status, player.
            (2, lambda e: e["board"][0][4].__setitem__(2, 33), "after the last wave", "[0,4]"),
            (2, setter(["scores"], [2500, 0]), "move 1", "scores", "[2000,0]"),
            (2, setter(["scores"], [0, 2000]), "move 1", "scores"),
            (2, lambda e: e["stats"][0].__setitem__("total_cells", 2), "stats of player 1", "total_cells"),
            (4, lambda e: e["stats"][0].__setitem__("max_flowers", 0), "stats of player 1", "max_flowers"),
            (2, lambda e: e["counters"].__setitem__(0, 2), "counter 0 (moves)"),
            (2, lambda e: e["counters"].__setitem__(1, 0), "counter 1 (chain level)"),
            (2, lambda e: e["counters"].__setitem__(6, 3), "counter 6"),
            (2, setter(["moves"], [[0, 1, 0, 2, 200]]), "move 1", "moves"),
            (2, setter(["moves"], []), "move 1", "moves"),
            (0, setter(["moves"], [[0, 2, 0, 1, 2000]]), "level_start", "moves"),
            (4, setter(["status"], None), "move 3", "status", "0"),
            (4, setter(["status"], 1), "move 3", "status"),
            (2, setter(["player"], 2), "move 1", "player"),
            # A swapped-back swap that changed something.
            (3, lambda e: e["board"][0][0].__setitem__(2, 22), "move 2", "swapped back"),
            (3, lambda e: e["counters"].__setitem__(0, 2), "move 2", "counter 0"),
            # The level's start and end.
            (0, lambda e: e["counters"].__setitem__(7, 4), "level_start", "counter 7"),
            (0, lambda e: e["board"][0][1].__setitem__(2, 22), "level_start", "board", "line"),
            (5, setter(["status"], 1), "level_end", "status"),
            (5, setter(["complete"], True), "level_end", "complete"),
            (5, setter(["scores"], [2000, 0]), "level_end", "scores"),
        ]
        for index, change, *words in cases:
            with self.subTest(words=words):
                self.assertCaught(index, change, *words)

    def test_a_swap_after_the_end_and_a_missing_end(self):
        events = TRACE[:5] + [copy.deepcopy(MOVE_3)]
        self.assertIn("the level is over", check(events)[0])
        self.assertEqual(check(TRACE[:5]), [])
        self.assertEqual(check(TRACE[:5], require_end=True), ["trace: level_end: expected at least one, found none"])

    def test_duel_modes_read_the_end_and_the_player(self):
        # In the duel against the computer the end is won or lost on scores.
        duel = copy.deepcopy(TRACE)
        for event in duel:
            if "mode" in event:
                event["mode"] = "duel_computer"
        duel[2]["player"] = duel[3]["player"] = 2
        duel[4]["scores"] = [2000, 300]
        duel[4]["stats"] = [STATS_1, dict(ct.fresh_stats(), Score=300, max_score_move=300, move=1, max_combo=1,
                                         max_chains=1, flowers=3)]
        duel[4]["status"] = duel[5]["status"] = 1
        duel[5]["complete"] = True
        duel[5]["scores"] = [2000, 300]
        self.assertEqual(check(duel), [])
        duel[4]["status"] = 0
        self.assertIn("status", check(duel)[0])

    def test_the_command_line(self):
        script = os.path.join(os.path.dirname(os.path.abspath(__file__)), "check_trace.py")
        with tempfile.TemporaryDirectory() as folder:
            good, bad, broken = (os.path.join(folder, n) for n in ("good.jsonl", "bad.jsonl", "broken.jsonl"))
            with open(good, "w") as f:
                f.write("\n".join(json.dumps(e) for e in TRACE) + "\n")
            damaged = copy.deepcopy(TRACE)
            damaged[2]["scores"] = [1, 0]
            with open(bad, "w") as f:
                f.write("\n".join(json.dumps(e) for e in damaged) + "\n")
            with open(broken, "w") as f:
                f.write(json.dumps(START) + "\n{not json\n")
            run = lambda *args: subprocess.run([sys.executable, script] + list(args), capture_output=True, text=True)
            self.assertEqual(run(good).returncode, 0)
            result = run(bad)
            self.assertEqual(result.returncode, 1)
            # The next event is checked from what this one says.
            self.assertEqual(result.stdout.splitlines(), ["line 3 move 1: scores: expected [2000,0], found [1,0]",
                                                          "line 4 move 2: scores: expected [1,0], found [2000,0]"])
            self.assertEqual(run(broken).returncode, 2)
            self.assertEqual(run(os.path.join(folder, "missing")).returncode, 2)
            helped = run("--help")
            self.assertEqual(helped.returncode, 0)
            for word in ("--require-end", "--mode", "level_start", "move", "level_end", "Exit codes"):
                self.assertIn(word, helped.stdout)


class RecordedGameTest(unittest.TestCase):
    """A longer game of the data tool's own rules holds, and damage to its
    richer waves (locks, colours, several lines) is caught."""

    def setUp(self):
        tool = os.environ.get("QV_TOOL")
        source = os.environ.get("QV_SOURCE_DIR", os.path.join(os.path.dirname(__file__), "..", ".."))
        if not tool:
            self.skipTest("QV_TOOL names no data tool")
        level = os.path.join(source, "tests", "fixtures", "board", "locks.xml")
        out = subprocess.run([tool, "play", "--level", level, "--seed", "4", "--difficulty", "2", "--auto", "40"],
                             capture_output=True, text=True, check=True).stdout
        self.events = [json.loads(line) for line in out.splitlines()]

    def test_damage_to_a_real_game(self):
        self.assertEqual(check(self.events), [])
        moves = [e for e in self.events if e["event"] == "move"]
        busy = next(m for m in moves if len(m["waves"][0]["lines"]) >= 2)
        damages = {
            "lines": lambda: busy["waves"][0]["lines"].reverse(),
            "points": lambda: busy["waves"][0]["lines"][1].__setitem__("points", busy["waves"][0]["lines"][1]
                                                                       ["points"] + 20),
            "exploded": lambda: busy["waves"][0]["exploded"].reverse(),
            "falls": lambda: busy["waves"][0]["falls"].reverse(),
            "moves": lambda: busy["moves"].reverse() if len(set(m[4] for m in busy["moves"])) > 1
            else busy["moves"].pop(),
        }
        for word, damage in damages.items():
            with self.subTest(word=word):
                saved = copy.deepcopy(busy)
                damage()
                problems = check(self.events)
                busy.clear()
                busy.update(saved)
                self.assertTrue(problems and word in problems[0], problems[:1])


if __name__ == "__main__":
    unittest.main()
