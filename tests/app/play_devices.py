#!/usr/bin/env python3
"""Plays the game without a mouse: once with the keyboard alone, once with a
virtual gamepad alone. Run with --help."""

import json
import os
import subprocess
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import gamerun  # noqa: E402

HELP = """\
Two runs of the game on one new per-user folder, under the dummy drivers with
--fixed-step 50, each recorded with --record:

  keyboard  from the first splash: the new player's name typed and Return;
            on the main screen Down (to "Play relax") and Return; the level
            played by --bot best --bot-input keyboard (the board's cursor
            keys and Return) from the map's Play (Return); Return on the
            statistics screen's Continue, Escape off the map; then the
            window closed.
  gamepad   the same player: on the main screen the pad's down and A, on
            the map A; in the
            level Start opens the pause menu and B closes it again; the
            level played by --bot best --bot-input gamepad; A on Continue, B
            off the map.

Checks: each level ends won (status 1) and its statistics screen closes
back to the main screen, the pause menu opened and closed in the gamepad
run, and neither record holds a mouse event (no "move", "down" or "up"
line): everything went through the keyboard or the gamepad.
"""

RUNS = {
    "keyboard": gamerun.RULES_CLOSED + ["whenever shown GS_NewUser", "30 text Anna", "35 key Return",
                 "when closed GS_NewUser", "40 key Down", "45 key Return",
                 "when shown GS_Map", "40 key Return",
                 "whenever shown GS_StatLevelrelax", "150 key Return",
                 "when closed GS_Game", "10 key Escape", "when closed GS_Map", "40 close", "70 close"],
    "gamepad": ["whenever shown GS_HowToPlay", "20 pad b", "when shown GS_Main", "40 pad dpdown", "45 pad a", "when shown GS_Map", "40 pad a",
                "when traced level_start", "5 pad start",
                "whenever shown GS_MiniMenu", "20 pad b",
                "whenever shown GS_StatLevelrelax", "150 pad a",
                "when closed GS_Game", "10 pad b", "when closed GS_Map", "40 close", "70 close"],
}


def main():
    args, work, user, holder = gamerun.player_run_setup(HELP, "qv-devices-")
    fails = []
    for seed, device in enumerate(("keyboard", "gamepad"), 21):
        script = os.path.join(work, device + ".txt")
        trace = os.path.join(work, device + ".jsonl")
        record = os.path.join(work, device + ".record.txt")
        with open(script, "w") as f:
            f.write("\n".join(RUNS[device]) + "\n")
        command = [args.game, "--app-dir", args.content, "--user-data", user, "--seed", str(seed),
                   "--fixed-step", "50", "--frames", "40000", "--bot", "best", "--bot-input", device,
                   "--input", script, "--trace", trace, "--record", record]
        done = subprocess.run(command, stdout=subprocess.DEVNULL, stderr=subprocess.PIPE,
                              env=gamerun.game_environment(), timeout=600)
        if done.returncode != 0:
            fails.append("%s: exited with %d\n%s" % (device, done.returncode,
                                                     done.stderr.decode("utf-8", "replace")[-3000:]))
            continue
        with open(trace, encoding="utf-8") as f:
            events = [json.loads(line) for line in f if line.strip()]
        ends = [e for e in events if e["event"] == "level_end"]
        if [(e["mode"], e["status"]) for e in ends] != [("relax", 1)]:
            fails.append("%s: level ends %s, wanted one won relax level" % (
                device, [(e["mode"], e["status"]) for e in ends]))
        flow = [e["event"] + " " + e.get("screen", "") for e in events if e["event"] in ("show", "close")]
        for want in ("close GS_StatLevelrelax", "close GS_Game"):
            if want not in flow:
                fails.append("%s: no %s in %s" % (device, want, flow))
        if device == "gamepad" and ("show GS_MiniMenu" not in flow or "close GS_MiniMenu" not in flow):
            fails.append("gamepad: the pause menu did not open and close (%s)" % flow)
        with open(record, encoding="utf-8") as f:
            mouse = [line.strip() for line in f if line.split()[1:2] in (["move"], ["down"], ["up"])]
        if mouse:
            fails.append("%s: the record holds mouse events: %s" % (device, mouse[:5]))
        moves = sum(1 for e in events if e["event"] == "move")
        print("%s: %d moves, %s" % (device, moves, "level won" if ends and ends[0]["status"] == 1 else "not won"))
    return gamerun.finish(fails, holder)


if __name__ == "__main__":
    sys.exit(main())
