"""Shared helpers of the tests that run the game executable as a player
would: an application folder of their own, traces, and the player files.
"""

import json
import os
import re
import shutil
import subprocess

# The per-user files of a data folder (PlayerFile.h).
PLAYER_FILES = ("users.dat", "options", "records.dat", "highscores.dat")
TEMPORARY = re.compile(r"^(.+)\.tmp-[A-Za-z0-9]{6}$")

# Places on the 640 x 480 screen (docs/CONTENT.md): the middle of each button.
MAIN_CLASSIC = (320, 186)
MAIN_RELAX = (320, 250)
MAIN_DUEL = (320, 314)
MAIN_PROFILES = (110, 432)
MAIN_OPTIONS = (320, 432)
OPTIONS_SHOW_HINTS = (320, 134)
OPTIONS_CLOSE = (415, 324)
PROFILES_NEW_ROW = (320, 85)
NEW_USER_OK = (235, 302)
QUIT_EXIT = (235, 302)
GAME_MENU = (320, 458)
PAUSE_MAIN_MENU = (320, 326)
QUERY_YES = (235, 302)
STAT_CONTINUE = (320, 416)
MAP_PLAY = (565, 454)
MAP_BACK = (85, 454)


# The rules open over the map on entering a mode (until the player turns
# them off): input script lines that close them whenever they come.
RULES_CLOSED = ["whenever shown GS_HowToPlay", "20 key Escape"]


def fnv1a(data):
    """The 64-bit FNV-1a hash as the game traces it (16 hex digits)."""
    h = 14695981039346656037
    for b in data:
        h = ((h ^ b) * 1099511628211) & 0xFFFFFFFFFFFFFFFF
    return "%016x" % h


def click(frame, place):
    """Input script lines of a left click at `place`, starting at `frame`."""
    x, y = place
    return ["%d move %d %d" % (frame, x, y), "%d down %d %d" % (frame + 1, x, y),
            "%d up %d %d" % (frame + 2, x, y)]


def read_trace(path):
    """The trace's events; a last line cut off by a kill is dropped."""
    events = []
    try:
        with open(path, encoding="utf-8") as f:
            for line in f:
                try:
                    events.append(json.loads(line))
                except ValueError:
                    pass
    except OSError:
        pass
    return events


class TraceTail:
    """Follows a trace that is still being written: the events so far."""

    def __init__(self, path):
        self.path = path
        self.offset = 0
        self.partial = b""
        self.events = []

    def read(self):
        try:
            with open(self.path, "rb") as f:
                f.seek(self.offset)
                data = f.read()
        except OSError:
            return []
        self.offset += len(data)
        lines = (self.partial + data).split(b"\n")
        self.partial = lines.pop()
        new = []
        for line in lines:
            try:
                new.append(json.loads(line))
            except ValueError:
                pass
        self.events += new
        return new

    def frame(self):
        """The frame of the last event so far; -1 before the first."""
        self.read()
        return self.events[-1].get("frame", 0) if self.events else -1


def make_app(content, source, tool, target, level_file=None, levels=0):
    """Copies the built application folder `content` to `target`. With a
    level file, the main screen's level list becomes `levels` entries that
    all play that file (the game description is enciphered again by the
    data tool)."""
    shutil.copytree(content, target, ignore=shutil.ignore_patterns("CMakeFiles", "*.cmake"))
    if not level_file:
        return
    shutil.copy(level_file, os.path.join(target, "data", "levels", "test_level.xml"))
    with open(os.path.join(source, "content", "game.xml"), encoding="utf-8") as f:
        text = f.read()
    start = text.index("<levels>", text.index('name="GS_Main"'))
    end = text.index("</levels>", start)
    entries = "".join(
        '<level level="%d" filename="data\\levels\\test_level.xml" LevelName="test" DisplayName="Test"/>' % n
        for n in range(1, levels + 1))
    text = text[:start] + "<levels>" + entries + text[end:]
    game_xml = os.path.join(target, "game.xml")
    with open(game_xml, "w", encoding="utf-8") as f:
        f.write(text)
    subprocess.run([tool, "encipher", "--key-role", "game", game_xml,
                    os.path.join(target, "data", "ini", "Zintara.ini")], check=True)
    os.remove(game_xml)


def game_environment():
    env = dict(os.environ)
    env.setdefault("SDL_VIDEODRIVER", "dummy")
    env.setdefault("SDL_AUDIODRIVER", "dummy")
    return env


def open_duel(game, content, user, work):
    """Wins relax level 4 (--level 4, --bot best) on the per-user folder, so
    that its player has reached level 5 ("LevelMax") and the main screen's
    duel is open. Returns None, or what went wrong."""
    script = os.path.join(work, "open_duel.txt")
    trace = os.path.join(work, "open_duel.jsonl")
    with open(script, "w") as f:
        f.write("\n".join(["when shown GS_StatLevelrelax"] + click(150, STAT_CONTINUE) +
                          ["when closed GS_Game", "30 close", "60 close"]) + "\n")
    done = subprocess.run([game, "--app-dir", content, "--user-data", user, "--seed", "4", "--fixed-step", "50",
                           "--frames", "30000", "--level", "4", "--mode", "relax", "--bot", "best", "--input",
                           script, "--trace", trace], stdout=subprocess.DEVNULL, stderr=subprocess.PIPE,
                          env=game_environment(), timeout=600)
    written = [e.get("value") for e in read_trace(trace) if e.get("event") == "profile" and e.get("name") ==
               "LevelMax"]
    if done.returncode != 0 or not written or int(written[-1]) <= 3:
        return "winning relax level 4 to open the duel: exit %d, LevelMax %s\n%s" % (
            done.returncode, written, done.stderr.decode("utf-8", "replace")[-2000:])
    return None


def finish(fails, holder):
    """Prints each failure; the exit code of the run (1 when any). A run in
    a temporary folder (`holder`) says how to keep its traces."""
    for fail in fails:
        print("FAIL " + fail)
    if fails and holder:
        print("(run with --keep DIR to keep the traces)")
    return 1 if fails else 0


def player_run_setup(help_text, prefix):
    """The command line of an end-to-end player run (--game, --content,
    --keep) and its work folder with an empty per-user folder "user":
    (args, work, user, holder); holder keeps a temporary folder alive."""
    import argparse
    import tempfile
    parser = argparse.ArgumentParser(description=help_text, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--game", required=True, help="the quorvanel executable")
    parser.add_argument("--content", required=True, help="the built application folder")
    parser.add_argument("--keep", default=None, help="a folder for the traces and the user folder (kept)")
    args = parser.parse_args()
    holder = None
    if args.keep:
        os.makedirs(args.keep, exist_ok=True)
        work = args.keep
    else:
        holder = tempfile.TemporaryDirectory(prefix=prefix)
        work = holder.name
    user = os.path.join(work, "user")
    os.makedirs(user, exist_ok=True)
    return args, work, user, holder
