#!/usr/bin/env python3
"""Kills the game with SIGKILL at random moments while it saves, and checks
that no player file is ever damaged or lost. Run with --help."""

import argparse
import os
import random
import signal
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import gamerun  # noqa: E402

HELP = """\
Plays the game on one per-user folder round after round. Every round starts
the game on what the round before left, with the --trace and an --input
script that make it save each of its kinds of saves:

  the options (at start-up, and Show hints toggled on the options screen),
  users.dat: the first player (made by --level), each level's result, a new
  player made on the profiles screen and chosen, and the quit.

The first round runs to its end (it shows that the script makes every save
and how many frames a round takes); each later round is killed with SIGKILL
at a random moment: once its trace has reached a frame drawn from the first
round's frames, within 50 ms. The last round runs to its end again.

After every round each player file is either the file from before the round
or a version the round wrote (the trace's "save" events carry the size and
hash of each version, traced before it replaces the file), the data tool's
"players" command finds nothing damaged, no file was set aside, and the
folder holds nothing but player files and at most the temporary files of
saves cut short. After the last round no temporary file is left and the game
reported no data error.

The level is a small board whose cells are nearly all complete, so a level
is won within a second.
"""

LEVEL = """\
<level name="kill_test" time="60" Flowercolors="11,22,33" shift_x="187" shift_y="120"
       Flowercolor_default="-1" Celltype_default="0" Cellcolor_default="-1" cols="6" rows="5">
 <cells_def>
  <cell_def col="2" row="4" Celltype="1"/>
  <cell_def col="3" row="4" Celltype="1"/>
 </cells_def>
</level>
"""


def round_script(number):
    """A round: a level won, Show hints toggled, a new player made (and
    chosen), a level won by that player, then quit."""
    c = gamerun.click
    # Each level ends on its statistics screen: Continue leads back.
    lines = gamerun.RULES_CLOSED + ["when shown GS_StatLevelrelax"]
    lines += c(10, gamerun.STAT_CONTINUE) + c(40, gamerun.MAIN_OPTIONS)
    lines += ["when shown GS_Options"]
    lines += c(6, gamerun.OPTIONS_SHOW_HINTS) + c(12, gamerun.OPTIONS_CLOSE) + c(24, gamerun.MAIN_PROFILES)
    lines += ["when shown GS_UserProfiles"]
    lines += c(6, gamerun.PROFILES_NEW_ROW)
    lines += ["when shown GS_NewUser", "6 text K%d" % number]
    # The profiles screen closes with the new player chosen.
    lines += c(8, gamerun.NEW_USER_OK) + c(25, gamerun.MAIN_RELAX)
    lines += ["when shown GS_Map"] + c(30, gamerun.MAP_PLAY)
    lines += ["when shown GS_StatLevelrelax"]
    lines += c(10, gamerun.STAT_CONTINUE) + ["40 close", "when shown GS_Quit"]
    lines += c(6, gamerun.QUIT_EXIT)
    return "\n".join(lines) + "\n"


def snapshot(folder):
    """Name -> bytes of every file in the folder."""
    files = {}
    for name in os.listdir(folder):
        with open(os.path.join(folder, name), "rb") as f:
            files[name] = f.read()
    return files


class Checker:
    def __init__(self, tool, folder):
        self.tool = tool
        self.folder = folder
        self.failures = []
        # What the rounds did, to show that the test exercised the saves.
        self.versions = {name: 0 for name in gamerun.PLAYER_FILES}
        self.cut_short = 0

    def fail(self, round_name, text):
        self.failures.append("%s: %s" % (round_name, text))

    def check(self, round_name, before, trace):
        traced = {}
        for event in trace:
            if event.get("event") == "save":
                traced.setdefault(event.get("file"), set()).add(event.get("hash"))
        after = snapshot(self.folder)
        for name in gamerun.PLAYER_FILES:
            old = before.get(name)
            new = after.get(name)
            if new is None:
                if old is not None:
                    self.fail(round_name, "%s is gone" % name)
                continue
            if new == old:
                continue
            if gamerun.fnv1a(new) in traced.get(name, set()):
                self.versions[name] += 1
                continue
            self.fail(round_name, "%s (%d bytes) is neither the old file nor a version the game wrote" %
                      (name, len(new)))
        for name in after:
            if name in gamerun.PLAYER_FILES:
                continue
            match = gamerun.TEMPORARY.match(name)
            if match and match.group(1) in gamerun.PLAYER_FILES:
                self.cut_short += name not in before
                continue
            self.fail(round_name, "the folder holds %s" % name)
        result = subprocess.run([self.tool, "players", self.folder], stdout=subprocess.PIPE,
                                stderr=subprocess.STDOUT, text=True)
        if result.returncode != 0:
            self.fail(round_name, "quorvanel-data players exits %d:\n%s" % (result.returncode, result.stdout))


def main():
    parser = argparse.ArgumentParser(description=HELP, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--game", required=True, help="the quorvanel executable")
    parser.add_argument("--content", required=True, help="the built application folder")
    parser.add_argument("--tool", required=True, help="the quorvanel-data executable")
    parser.add_argument("--source", required=True, help="the source folder (for content/game.xml)")
    parser.add_argument("--rounds", type=int, default=20, help="rounds in all, killed ones and two whole")
    parser.add_argument("--seed", type=int, default=None, help="seed of the kill moments")
    args = parser.parse_args()
    seed = args.seed if args.seed is not None else int(time.time())
    rng = random.Random(seed)
    print("kill moments seeded with %d (--seed %d repeats them)" % (seed, seed))

    with tempfile.TemporaryDirectory(prefix="qv-kill-") as work:
        app = os.path.join(work, "app")
        level = os.path.join(work, "kill_test.xml")
        with open(level, "w", encoding="utf-8") as f:
            f.write(LEVEL)
        gamerun.make_app(args.content, args.source, args.tool, app, level, 1000)
        user = os.path.join(work, "user")
        os.mkdir(user)
        checker = Checker(args.tool, user)
        env = gamerun.game_environment()
        whole_frames = 0
        rounds = max(args.rounds, 2)
        for number in range(1, rounds + 1):
            whole = number in (1, rounds)
            script = os.path.join(work, "round.txt")
            with open(script, "w") as f:
                f.write(round_script(number))
            trace = os.path.join(work, "trace-%d.jsonl" % number)
            stderr = os.path.join(work, "stderr.txt")
            before = snapshot(user)
            command = [args.game, "--app-dir", app, "--user-data", user, "--seed", str(number),
                       "--fixed-step", "100", "--frames", "3000", "--level", "1", "--mode", "relax",
                       "--bot", "best", "--input", script, "--trace", trace, "--diagnostics"]
            with open(stderr, "w") as err:
                game = subprocess.Popen(command, stdout=subprocess.DEVNULL, stderr=err, env=env)
                if whole:
                    code = game.wait(timeout=300)
                else:
                    # The moment is a frame of the first round's run and a
                    # part of a frame's time after the trace reached it, so
                    # the kills spread over the round however fast the
                    # machine is at the moment.
                    target = rng.randint(0, whole_frames)
                    tail = gamerun.TraceTail(trace)
                    while game.poll() is None and tail.frame() < target:
                        time.sleep(0.002)
                    time.sleep(rng.uniform(0.0, 0.05))
                    if game.poll() is None:
                        game.send_signal(signal.SIGKILL)
                    code = game.wait()
            name = "round %d" % number
            events = gamerun.read_trace(trace)
            if whole:
                with open(stderr) as err:
                    errors = err.read()
                if code != 0 or errors:
                    checker.fail(name, "the game exited with %d:\n%s" % (code, errors))
                ends = [e for e in events if e.get("event") == "level_end"]
                saved = [e.get("file") for e in events if e.get("event") == "save"]
                quit_seen = any(e.get("event") == "quit" for e in events)
                if len(ends) < 2 or not quit_seen or "options" not in saved or saved.count("users.dat") < 4:
                    checker.fail(name, "the round did not play through (%d level ends, saves %s, quit %s)" %
                                 (len(ends), saved, quit_seen))
                # A level's result is saved in the frame it ends in.
                saved_frames = {e.get("frame") for e in events
                                if e.get("event") == "save" and e.get("file") == "users.dat"}
                for end in ends:
                    if end.get("frame") not in saved_frames:
                        checker.fail(name, "the level ended in frame %s saved no users.dat" % end.get("frame"))
                if number == 1:
                    whole_frames = max([e.get("frame", 0) for e in events] + [0])
            checker.check(name, before, events)
            last = max([e.get("frame", 0) for e in events] + [0])
            how = "whole" if whole else ("killed in frame %d (%d asked)" % (last, target) if code == -signal.SIGKILL
                                         else "ended by itself")
            print("%s: %s, %d saves traced" % (name, how, sum(e.get("event") == "save" for e in events)))
        leftovers = [n for n in os.listdir(user) if gamerun.TEMPORARY.match(n)]
        if leftovers:
            checker.fail("after the last round", "temporary files are left: %s" % leftovers)
        print("new versions found after a round: %s; saves cut short: %d" %
              (", ".join("%s %d" % kv for kv in checker.versions.items()), checker.cut_short))
        if checker.versions["users.dat"] == 0 or checker.versions["options"] == 0:
            checker.fail("all rounds", "no round left a new users.dat and options")
        for failure in checker.failures:
            print("FAIL " + failure)
        return 1 if checker.failures else 0


if __name__ == "__main__":
    sys.exit(main())
