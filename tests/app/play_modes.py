#!/usr/bin/env python3
"""Plays the main screen's modes as a player would, twice on one per-user
folder, and checks that the second visit builds on the first. Run with
--help."""

import json
import os
import subprocess
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import gamerun  # noqa: E402

HELP = """\
Starts the game on the bundled content with a new per-user folder, under
the dummy drivers with --fixed-step 50 and --bot best, and plays from the
first splash: the new player "Anna" is named, then the main screen's relax,
classic and duel buttons open the map, whose Play starts the mode's level;
the bot plays it to its statistics screen, Continue goes back to the map,
Escape to the main screen, and after the duel the window is closed (the
quit dialog, then the close). A second run on the
same folder plays the same three buttons again.

Checks, from the traces: every level ends won with its statistics screen
shown and closed and the game screen closed after it; the first run writes
the mode's "Level" (one more than the level played) and "Difficulty", the
fitting factor "FittingC" of classic and the duel, and "LevelMax" after
relax; the second run starts each mode at the level the first
wrote, and both exit with 0.
"""

MODES = (("relax", gamerun.MAIN_RELAX), ("classic", gamerun.MAIN_CLASSIC),
         ("duel_computer", gamerun.MAIN_DUEL))
SPLASH_CLICK = (320, 240)
NEW_USER_NAME = (320, 238)


def script(first):
    """The input script of one run: handlers for what comes when it comes.
    The first run starts once the new player is named (the main screen is
    shown under the dialog), the second once the main screen is there."""
    lines = ["whenever shown GS_SplashLogos"] + gamerun.click(50, SPLASH_CLICK)
    lines += ["whenever shown GS_NewUser"] + gamerun.click(30, NEW_USER_NAME)
    lines += ["40 text Anna"] + gamerun.click(45, gamerun.NEW_USER_OK)
    for mode, _ in MODES:
        # Wait for the counting to end before Continue.
        lines += ["whenever shown GS_StatLevel" + mode] + gamerun.click(150, gamerun.STAT_CONTINUE)
    # The map: Play; back from a level, Escape leaves it (a story or the
    # trophy room that opens on the way is closed first).
    lines += ["whenever shown GS_Map"] + gamerun.click(40, gamerun.MAP_PLAY)
    lines += ["whenever closed GS_Game", "10 key Escape"]
    lines += ["whenever closed GS_Trophies", "10 key Escape"]
    lines += ["whenever shown GS_History", "20 key Escape"]
    # The first mode once the main screen is there, the next ones each
    # time the map has closed, then the window's close button twice.
    lines += ["when closed GS_NewUser" if first else "when shown GS_Main"] + gamerun.click(40, MODES[0][1])
    for _, place in MODES[1:]:
        lines += ["whenever closed GS_Map"] + gamerun.click(30, place)
    lines += ["whenever closed GS_Map", "30 close", "60 close"]
    return "\n".join(lines) + "\n"


def run(game, content, user, trace, work, seed, first):
    path = os.path.join(work, "input.txt")
    with open(path, "w") as f:
        f.write(script(first))
    command = [game, "--app-dir", content, "--user-data", user, "--seed", str(seed), "--fixed-step", "50",
               "--frames", "60000", "--bot", "best", "--input", path, "--trace", trace]
    done = subprocess.run(command, stdout=subprocess.DEVNULL, stderr=subprocess.PIPE, env=gamerun.game_environment(),
                          timeout=600)
    return done.returncode, done.stderr.decode("utf-8", "replace")


def events_of(trace):
    with open(trace, encoding="utf-8") as f:
        return [json.loads(line) for line in f if line.strip()]


def check_run(name, events, fails):
    """Each mode's level: started, won, its screens in order. Returns
    {mode: level started} and {profile key: value written}."""
    started = {}
    written = {}
    flow = []
    for e in events:
        kind = e["event"]
        if kind == "level_start":
            started.setdefault(e["mode"], e["level"])
        elif kind == "profile":
            written[e["name"]] = e["value"]
        elif kind == "level_end":
            flow.append("end %s %s" % (e["mode"], e["status"]))
        elif kind in ("show", "close") and e.get("screen", "").startswith(("GS_Stat", "GS_Game")):
            flow.append("%s %s" % (kind, e["screen"]))
    want = []
    for mode, _ in MODES:
        want += ["show GS_Game", "end %s 1" % mode, "show GS_StatLevel" + mode, "close GS_StatLevel" + mode,
                 "close GS_Game"]
    if flow != want:
        fails.append("%s: the levels went %s, wanted %s" % (name, flow, want))
    for mode, _ in MODES:
        if mode not in started:
            fails.append("%s: no %s level started" % (name, mode))
    return started, written


def main():
    args, work, user, holder = gamerun.player_run_setup(HELP, "qv-modes-")

    fails = []
    results = []
    for number, seed in ((1, 11), (2, 12)):
        trace = os.path.join(work, "trace%d.jsonl" % number)
        code, errors = run(args.game, args.content, user, trace, work, seed, number == 1)
        if code != 0:
            fails.append("run %d: exited with %d\n%s" % (number, code, errors[-3000:]))
            break
        results.append(check_run("run %d" % number, events_of(trace), fails))

    if len(results) == 2:
        (first_started, first_written), (second_started, _) = results
        for mode, _ in MODES:
            level = first_started.get(mode)
            key = mode + "Level"
            if level is None:
                continue
            if str(first_written.get(key)) != str(level + 1):
                fails.append("run 1: %s written as %s after level %d" % (key, first_written.get(key), level))
            if mode + "Difficulty" not in first_written:
                fails.append("run 1: no %sDifficulty written" % mode)
            if str(second_started.get(mode)) != str(first_written.get(key)):
                fails.append("run 2: %s started at level %s, the profile says %s" % (
                    mode, second_started.get(mode), first_written.get(key)))
        if str(first_written.get("LevelMax")) != str(first_started.get("relax", 0) + 1):
            fails.append("run 1: LevelMax written as %s" % first_written.get("LevelMax"))
        for mode in ("classic", "duel_computer"):
            if mode + "FittingC" not in first_written:
                fails.append("run 1: no %sFittingC written" % mode)
        print("first run: started %s, wrote %s" % (first_started, first_written))
        print("second run: started %s" % second_started)
    for fail in fails:
        print("FAIL " + fail)
    if fails and holder:
        print("(run with --keep DIR to keep the traces)")
    return 1 if fails else 0


if __name__ == "__main__":
    sys.exit(main())
