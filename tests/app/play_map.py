#!/usr/bin/env python3
"""Plays the first five relaxed levels through the map, then comes back to
it. Run with --help."""

import json
import os
import subprocess
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import gamerun  # noqa: E402

HELP = """\
Two runs of the game on one new per-user folder (bundled content, dummy
drivers, --fixed-step 50, --bot best):

  first   from the first splash: the player "Anna" is named, the main
          screen's relax opens the map and its Play starts level 1; after
          each won level Continue leads back to the map, the mascot walks
          on, the story and the trophy room are closed when they come (level
          5 wins the first artifact), the rules that open on entering the
          mode too, and Play starts the next level; after the fifth level,
          once its story (the first location's) has been told, the window
          is closed. With --keep the folder also gets a picture of
          the story told after level 5 (story.png).
  second  the main screen's relax opens the map again; then the window is
          closed.

Checks, from the traces: levels 1 to 5 start and are won in order; after
each win the map walks the mascot from the level won to the next ("map"
events with walk_from and walk_to); the trophy room shows the first
artifact ("trophy" event) and the story 1 follows the walk to level 6;
the profile gets relaxLevel 6; the second run's
map stands on level 6 without a walk.
"""

FIRST = gamerun.RULES_CLOSED + ["whenever shown GS_NewUser", "30 text Anna", "35 key Return",
         "when closed GS_NewUser"] + gamerun.click(40, gamerun.MAIN_RELAX) + \
        ["when shown GS_Map"] + gamerun.click(40, gamerun.MAP_PLAY) + \
        ["whenever shown GS_StatLevelrelax"] + gamerun.click(150, gamerun.STAT_CONTINUE) + \
        ["whenever shown GS_Trophies", "150 key Escape",
         "whenever shown GS_History", "30 key Escape",
         "whenever closed GS_Game"] + gamerun.click(200, gamerun.MAP_PLAY) + \
        ["when traced level_end"] * 5 + ["when closed GS_History", "30 close", "60 close"]
SECOND = gamerun.RULES_CLOSED + ["when shown GS_Main"] + gamerun.click(40, gamerun.MAIN_RELAX) + \
         ["when shown GS_Map", "60 close", "90 close"]


def run(args, user, work, name, lines, seed):
    script = os.path.join(work, name + ".txt")
    trace = os.path.join(work, name + ".jsonl")
    with open(script, "w") as f:
        f.write("\n".join(lines) + "\n")
    command = [args.game, "--app-dir", args.content, "--user-data", user, "--seed", str(seed), "--fixed-step", "50",
               "--frames", "60000", "--bot", "best", "--input", script, "--trace", trace]
    done = subprocess.run(command, stdout=subprocess.DEVNULL, stderr=subprocess.PIPE,
                          env=gamerun.game_environment(), timeout=900)
    if done.returncode != 0:
        return None, "%s: exited with %d\n%s" % (name, done.returncode, done.stderr.decode("utf-8", "replace")[-3000:])
    with open(trace, encoding="utf-8") as f:
        return [json.loads(line) for line in f if line.strip()], None


def main():
    args, work, user, holder = gamerun.player_run_setup(HELP, "qv-map-")
    fails = []
    lines = FIRST
    if args.keep:
        # A kept run leaves a picture of the story told after level 5.
        at = lines.index("whenever shown GS_History") + 1
        lines = lines[:at] + ["25 screenshot " + os.path.join(work, "story.png")] + lines[at:]
    first, error = run(args, user, work, "first", lines, 31)
    if error:
        fails.append(error)
    else:
        ends = [(e["level"], e["status"]) for e in first if e["event"] == "level_end"]
        if ends != [(n, 1) for n in range(1, 6)]:
            fails.append("first: level ends %s, wanted levels 1 to 5 won" % ends)
        walks = [(e["walk_from"], e["walk_to"]) for e in first if e["event"] == "map" and e.get("walk_to")]
        for n in range(1, 6):
            if (n, n + 1) not in walks:
                fails.append("first: no walk of the mascot from %d to %d (walks %s)" % (n, n + 1, walks))
        trophies = [e.get("artifact") for e in first if e["event"] == "trophy"]
        if 1 not in trophies:
            fails.append("first: the trophy room showed no first artifact (%s)" % trophies)
        # Level 5 ends the first location: its story once the mascot has
        # arrived at level 6 (after the trophy room).
        stories = [e.get("params", {}).get("history") for e in first
                   if e["event"] == "show" and e.get("screen") == "GS_History"]
        if stories != ["1"]:
            fails.append("first: the stories shown were %s, wanted story 1 after level 5" % stories)
        profile = {e["name"]: e["value"] for e in first if e["event"] == "profile"}
        if str(profile.get("relaxLevel")) != "6":
            fails.append("first: relaxLevel written as %s" % profile.get("relaxLevel"))
        print("first: levels %s, walks %s, trophies %s" % ([lv for lv, _ in ends], walks, trophies))
    if not fails:
        second, error = run(args, user, work, "second", SECOND, 32)
        if error:
            fails.append(error)
        else:
            maps = [e for e in second if e["event"] == "map"]
            if not maps or maps[0]["level"] != 6 or any(e.get("walk_to") for e in maps):
                fails.append("second: the map events were %s, wanted level 6 without a walk" % maps[:3])
            print("second: the map at level %s" % (maps[0]["level"] if maps else "-"))
    return gamerun.finish(fails, holder)


if __name__ == "__main__":
    sys.exit(main())
