#!/usr/bin/env python3
"""Plays the game unattended for a while and fails when its memory keeps
growing or it stops advancing. Run with --help."""

import argparse
import os
import signal
import statistics
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import gamerun  # noqa: E402

HELP = """\
Starts two games at once on the bundled content, each on a per-user folder
of its own, under the dummy drivers with --fixed-step 50 and --bot random:

  menu          on a player who has won relax level 4 (so the duel is open;
                a first run with --bot best), starts in relax (--level 1)
                and goes round the main menu's
                modes: classic, duel, relax, classic, ... Each game screen is
                left through its Menu button and the pause menu after LEAVE
                frames; a level that ends before is clicked through its
                statistics screen or game-lost dialog; a mode button of the
                main menu then opens the map, whose Play starts the next
                level (an --input script of "whenever" handlers); the rules
                that open over the map on entering a mode are closed.
  how_to_play   the guided mode (--level 1 --mode how_to_play), which starts
                its level again whenever it ends.

Every SAMPLE seconds the resident memory (VmRSS) of each game is read from
/proc and its trace is counted: frames, and the events that show play
(level_start, move, level_end). After MINUTES both get two close requests
(SIGTERM, as the window's close button twice: the quit dialog, then the
close) and must exit with 0 (a sanitizer build checks for leaks there).

Fails when a game dies or cannot be closed, when no level_start, move or
level_end comes for STALL seconds, or when its memory
keeps growing: the samples after the first quarter of the run (the warm-up)
are split in thirds, and the median of the last third may exceed the median
of the first by at most 16 MB or 10 %, whichever is more. Prints one line a
sample and the start and end figures.
"""

MODES = [("classic", gamerun.MAIN_CLASSIC), ("duel_computer", gamerun.MAIN_DUEL),
         ("relax", gamerun.MAIN_RELAX)]
PROGRESS = ("level_start", "move", "level_end")


STATISTICS = ("GS_StatLevelrelax", "GS_StatLevelclassic", "GS_StatLevelduel_computer")
GAME_LOST_OK = (320, 302)


def menu_script(leave):
    """Handlers for every screen unattended play meets, whenever it comes:
    a game screen is left through Menu, the pause menu's "Main menu" (once
    it has dropped down) and "Yes" (once the query has faded in); a
    statistics screen and the game-lost dialog are clicked through; the map
    plays its level and is left after it; when the map has closed, the main
    screen starts its modes in turn."""
    lines = gamerun.RULES_CLOSED + ["whenever shown GS_Game"] + gamerun.click(leave, gamerun.GAME_MENU)
    lines += ["whenever shown GS_MiniMenu"] + gamerun.click(12, gamerun.PAUSE_MAIN_MENU)
    lines += ["whenever shown GS_QueryMainMenu"] + gamerun.click(10, gamerun.QUERY_YES)
    for screen in STATISTICS:
        lines += ["whenever shown " + screen] + gamerun.click(40, gamerun.STAT_CONTINUE)
    lines += ["whenever shown GS_GameLoose"] + gamerun.click(20, GAME_LOST_OK)
    # The map: Play; back from a level Escape leaves it (a level left
    # through the pause menu has closed it already), and so after the
    # trophy room or a story.
    lines += ["whenever shown GS_Map"] + gamerun.click(40, gamerun.MAP_PLAY)
    lines += ["whenever closed GS_Game", "10 key Escape"]
    lines += ["whenever closed GS_Trophies", "10 key Escape"]
    lines += ["whenever shown GS_History", "20 key Escape"]
    lines += ["whenever shown GS_NewDifficulty", "30 key Return"]
    for _, place in MODES:
        lines += ["whenever closed GS_Map"] + gamerun.click(30, place)
    # The first level (--level) was started over the main screen, without
    # the map: the first mode follows its close.
    lines += ["when closed GS_Game"] + gamerun.click(30, MODES[-1][1])
    return "\n".join(lines) + "\n"


def resident_kb(pid):
    try:
        with open("/proc/%d/status" % pid) as f:
            for line in f:
                if line.startswith("VmRSS:"):
                    return int(line.split()[1])
    except OSError:
        pass
    return None


class Run:
    """One game process and what its trace says so far."""

    def __init__(self, name, command, trace, env):
        self.name = name
        # The screens unattended play goes through; any other was reached
        # by a stray click.
        self.screens = {"GS_Main", "GS_Game", "GS_Quit", "GS_MiniMenu", "GS_QueryMainMenu", "GS_GameLoose",
                        "GS_Map", "GS_Trophies", "GS_History", "GS_NewDifficulty", "GS_HowToPlay"} | set(STATISTICS)
        self.unexpected = set()
        self.trace = trace
        self.samples = []  # (seconds, rss kB, frame, progress events)
        self.err = open(trace + ".stderr", "w")
        self.process = subprocess.Popen(command, stdout=subprocess.DEVNULL, stderr=self.err, env=env)
        self.tail = gamerun.TraceTail(trace)
        self.frame = 0
        self.progress = 0
        self.counts = {}
        self.last_progress_at = time.monotonic()
        self.levels = {}

    def read_trace(self):
        """Counts what the trace gained since the last call."""
        for event in self.tail.read():
            self.frame = max(self.frame, event.get("frame", 0))
            kind = event.get("event")
            self.counts[kind] = self.counts.get(kind, 0) + 1
            if kind in PROGRESS:
                self.progress += 1
                self.last_progress_at = time.monotonic()
            if kind == "show" and event.get("screen") not in self.screens:
                self.unexpected.add(event.get("screen"))
            if kind == "level_end":
                mode = event.get("mode")
                self.levels[mode] = self.levels.get(mode, 0) + 1


def judge_memory(samples, warmup_fraction=0.25):
    """(ok, start kB, end kB) from the samples after the warm-up."""
    rss = [s[1] for s in samples if s[1] is not None]
    judged = rss[max(1, int(len(rss) * warmup_fraction)):]
    if len(judged) < 3:
        return True, rss[0] if rss else 0, rss[-1] if rss else 0
    third = max(1, len(judged) // 3)
    start = statistics.median(judged[:third])
    end = statistics.median(judged[-third:])
    allowed = max(16 * 1024, start * 0.10)
    return end - start <= allowed, start, end


def main():
    parser = argparse.ArgumentParser(description=HELP, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--game", required=True, help="the quorvanel executable")
    parser.add_argument("--content", required=True, help="the built application folder")
    parser.add_argument("--minutes", type=float, default=60.0)
    parser.add_argument("--sample", type=float, default=60.0, help="seconds between samples")
    parser.add_argument("--stall", type=float, default=None,
                        help="seconds without play that count as stopped (default: 3 samples, at least 30)")
    parser.add_argument("--leave", type=int, default=400, help="frames before a game screen is left")
    parser.add_argument("--keep", default=None, help="a folder for the traces and user folders (kept)")
    args = parser.parse_args()
    stall = args.stall if args.stall is not None else max(30.0, 3 * args.sample)

    work_holder = None
    if args.keep:
        os.makedirs(args.keep, exist_ok=True)
        work = args.keep
    else:
        work_holder = tempfile.TemporaryDirectory(prefix="qv-soak-")
        work = work_holder.name
    env = gamerun.game_environment()
    # Under AddressSanitizer freed memory waits in a quarantine (256 MB by
    # default) that would look like growth.
    env["ASAN_OPTIONS"] = (env.get("ASAN_OPTIONS", "") + ":quarantine_size_mb=16").lstrip(":")
    script = os.path.join(work, "menu.txt")
    with open(script, "w") as f:
        f.write(menu_script(args.leave))
    common = ["--app-dir", args.content, "--fixed-step", "50", "--bot", "random"]
    runs = []
    for name, seed, extra in (("menu", 1, ["--level", "1", "--mode", "relax", "--input", script]),
                              ("how_to_play", 2, ["--level", "1", "--mode", "how_to_play"])):
        user = os.path.join(work, "user-" + name)
        os.makedirs(user, exist_ok=True)
        # The duel opens once a player has reached level 4.
        if name == "menu":
            problem = gamerun.open_duel(args.game, args.content, user, work)
            if problem:
                print("FAIL " + problem)
                return 1
        trace = os.path.join(work, "trace-%s.jsonl" % name)
        command = [args.game, "--user-data", user, "--seed", str(seed), "--trace", trace] + common + extra
        runs.append(Run(name, command, trace, env))

    failures = []
    started = time.monotonic()
    end_at = started + args.minutes * 60.0
    next_sample = started
    while not failures:
        now = time.monotonic()
        if now >= next_sample:
            for run in runs:
                run.read_trace()
                if run.process.poll() is not None:
                    failures.append("%s: the game ended with %d before its time" % (run.name,
                                                                                    run.process.returncode))
                    continue
                run.samples.append((now - started, resident_kb(run.process.pid), run.frame, run.progress))
                print("%6.0f s %-11s rss %7.1f MB  frame %7d  %s" % (
                    now - started, run.name, (run.samples[-1][1] or 0) / 1024.0, run.frame,
                    " ".join("%s %d" % (k, run.counts.get(k, 0)) for k in PROGRESS)), flush=True)
                if now - run.last_progress_at > stall:
                    failures.append("%s: no level_start, move or level_end for %.0f s (frame %d)" % (
                        run.name, now - run.last_progress_at, run.frame))
            next_sample += args.sample
            if now >= end_at:
                break
        time.sleep(max(0.0, min(next_sample, end_at + 0.001) - time.monotonic()))

    for run in runs:
        if run.process.poll() is None:
            run.process.send_signal(signal.SIGTERM)
    time.sleep(1.0)
    for run in runs:
        if run.process.poll() is None:
            run.process.send_signal(signal.SIGTERM)
    for run in runs:
        try:
            code = run.process.wait(timeout=120)
        except subprocess.TimeoutExpired:
            run.process.kill()
            run.process.wait()
            failures.append("%s: did not close after two close requests" % run.name)
            continue
        run.err.close()
        run.read_trace()
        with open(run.trace + ".stderr") as f:
            errors = f.read()
        if code != 0:
            failures.append("%s: exited with %d\n%s" % (run.name, code, errors[-4000:]))
        if run.unexpected:
            failures.append("%s: showed %s" % (run.name, ", ".join(sorted(run.unexpected))))
        ok, start, end = judge_memory(run.samples)
        print("%s: %d frames, levels ended %s; resident memory %.1f MB after the warm-up, %.1f MB at the end"
              " (medians), %.1f MB at most" % (
                  run.name, run.frame, run.levels or "none", start / 1024.0, end / 1024.0,
                  max((s[1] or 0) for s in run.samples) / 1024.0 if run.samples else 0))
        if not ok:
            failures.append("%s: resident memory keeps growing (%.1f MB to %.1f MB)" % (
                run.name, start / 1024.0, end / 1024.0))
    return gamerun.finish(failures, work_holder)


if __name__ == "__main__":
    sys.exit(main())
