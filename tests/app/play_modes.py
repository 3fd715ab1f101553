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
first splash: the new player "Anna" is named, then the main screen's relax
and classic buttons open the map, whose Play starts the mode's level (the
rules that open over the map on entering a mode are closed); the bot plays
it to its statistics screen, Continue goes back to the map, Escape to the
main screen. The duel button is pressed too, but it is closed for a player
who has not reached level 4, so nothing opens; the window is closed (the
quit dialog, then the close). A second run on the same folder plays relax
twice (levels 2 and 3, which opens the duel), classic and the duel.

Checks, from the traces: every level ends won with its statistics screen
shown and closed and the game screen closed after it; the first run's
press on the duel opens no map; the first run writes the mode's "Level"
(one more than the level played) and "Difficulty", the fitting factor
"FittingC" of classic, and "LevelMax" after relax; the second run starts
relax and classic at the levels the first wrote, reaches "LevelMax" 4 and
plays the duel's level 1, writing its "FittingC"; both exit with 0.
"""

# The modes each run plays, in order; the first run's duel press opens
# nothing.
PLACES = {"relax": gamerun.MAIN_RELAX, "classic": gamerun.MAIN_CLASSIC, "duel_computer": gamerun.MAIN_DUEL}
PLAYS = {1: ("relax", "classic"), 2: ("relax", "relax", "classic", "duel_computer")}
SPLASH_CLICK = (320, 240)
NEW_USER_NAME = (320, 238)


def script(first):
    """The input script of one run: handlers for what comes when it comes.
    The first run starts once the new player is named (the main screen is
    shown under the dialog), the second once the main screen is there."""
    plays = PLAYS[1 if first else 2]
    lines = ["whenever shown GS_SplashLogos"] + gamerun.click(50, SPLASH_CLICK)
    lines += ["whenever shown GS_NewUser"] + gamerun.click(30, NEW_USER_NAME)
    lines += ["40 text Anna"] + gamerun.click(45, gamerun.NEW_USER_OK)
    for mode in PLACES:
        # Wait for the counting to end before Continue.
        lines += ["whenever shown GS_StatLevel" + mode] + gamerun.click(150, gamerun.STAT_CONTINUE)
    # The map: Play; back from a level, Escape leaves it (the rules, a
    # story or the trophy room that opens on the way are closed first).
    lines += gamerun.RULES_CLOSED
    lines += ["whenever shown GS_Map"] + gamerun.click(40, gamerun.MAP_PLAY)
    lines += ["whenever closed GS_Game", "10 key Escape"]
    lines += ["whenever closed GS_Trophies", "10 key Escape"]
    lines += ["whenever shown GS_History", "20 key Escape"]
    # The first mode once the main screen is there, the next ones each
    # time the map has closed, then the window's close button twice.
    lines += ["when closed GS_NewUser" if first else "when shown GS_Main"] + gamerun.click(40, PLACES[plays[0]])
    for mode in plays[1:]:
        lines += ["whenever closed GS_Map"] + gamerun.click(30, PLACES[mode])
    if first:
        lines += ["whenever closed GS_Map"] + gamerun.click(30, gamerun.MAIN_DUEL) + ["120 close", "150 close"]
    else:
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


def check_run(number, events, fails):
    """Each level of the run: started, won, its screens in order. Returns
    [(mode, level started)] and {profile key: value written}."""
    name = "run %d" % number
    started = []
    written = {}
    flow = []
    maps = 0
    for e in events:
        kind = e["event"]
        if kind == "level_start":
            started.append((e["mode"], e["level"]))
        elif kind == "profile":
            written[e["name"]] = e["value"]
        elif kind == "level_end":
            flow.append("end %s %s" % (e["mode"], e["status"]))
        elif kind in ("show", "close") and e.get("screen", "").startswith(("GS_Stat", "GS_Game")):
            flow.append("%s %s" % (kind, e["screen"]))
        if kind == "show" and e.get("screen") == "GS_Map":
            maps += 1
    want = []
    for mode in PLAYS[number]:
        want += ["show GS_Game", "end %s 1" % mode, "show GS_StatLevel" + mode, "close GS_StatLevel" + mode,
                 "close GS_Game"]
    if flow != want:
        fails.append("%s: the levels went %s, wanted %s" % (name, flow, want))
    if maps != len(PLAYS[number]):
        fails.append("%s: the map opened %d times, wanted %d (the closed duel opens none)" % (
            name, maps, len(PLAYS[number])))
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
        results.append(check_run(number, events_of(trace), fails))

    if len(results) == 2:
        (first_started, first_written), (second_started, second_written) = results
        for mode, level in first_started:
            key = mode + "Level"
            if str(first_written.get(key)) != str(level + 1):
                fails.append("run 1: %s written as %s after level %d" % (key, first_written.get(key), level))
            if mode + "Difficulty" not in first_written:
                fails.append("run 1: no %sDifficulty written" % mode)
        if str(first_written.get("LevelMax")) != "2":
            fails.append("run 1: LevelMax written as %s" % first_written.get("LevelMax"))
        if "classicFittingC" not in first_written:
            fails.append("run 1: no classicFittingC written")
        # Relax and classic go on where the first run stopped; two relax
        # levels reach level 4, which opens the duel at its level 1.
        relax, classic = first_written.get("relaxLevel"), first_written.get("classicLevel")
        want = [("relax", int(relax or 0)), ("relax", int(relax or 0) + 1), ("classic", int(classic or 0)),
                ("duel_computer", 1)]
        if second_started != want:
            fails.append("run 2: started %s, wanted %s" % (second_started, want))
        if str(second_written.get("LevelMax")) != "4":
            fails.append("run 2: LevelMax written as %s" % second_written.get("LevelMax"))
        if "duel_computerFittingC" not in second_written:
            fails.append("run 2: no duel_computerFittingC written")
        print("first run: started %s, wrote %s" % (first_started, first_written))
        print("second run: started %s, wrote %s" % (second_started, second_written))
    return gamerun.finish(fails, holder)


if __name__ == "__main__":
    sys.exit(main())
