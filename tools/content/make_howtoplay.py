"""The rules screen GS_HowToPlay for make_shell.py (type
ZintaraGameScreenHowToPlay): two pages of rules, each beside a
demonstration board that plays its own small level in the tutorial mode,
the page buttons, the "show again" check box and the Play and Close
buttons. The demonstration levels are part of the screen ("demolevels"),
so they never appear on the map."""
import re

import make_board_screen as board

PANEL_X, PANEL_Y, PANEL_W, PANEL_H = 16, 64, 320, 300

# The boards stand on the right: 5 x 4 cells, columns 53 pixels apart from
# x = 388, rows 60 apart from y = 124 (even columns 30 lower).
DEMOS = [
    # page 1: swapping and blooming; the tutorial plays its strongest move
    ("howtoplay_gameboard1", 90,
     '<level name="HowToPlaySwap" Flowercolors="11,22,33,44" time="60" shift_x="388" shift_y="124" cols="5" '
     'rows="4" Celltype_default="1" Flowercolor_default="-1" Cellcolor_default="-1"><cells_def>'
     '<cell_def col="0" row="0" Celltype="-1"/><cell_def col="4" row="0" Celltype="-1"/>'
     '<cell_def col="1" row="1" Cellcolor="0"/><cell_def col="3" row="1" Cellcolor="1"/>'
     '<cell_def col="2" row="2" Cellcolor="2"/><cell_def col="0" row="3" Cellcolor="3"/>'
     '<cell_def col="4" row="3" Cellcolor="0"/></cells_def></level>'),
    # page 2: locks and cells that wait for one colour; level 91 plays its
    # weakest move, so the locks open slowly enough to be seen
    ("howtoplay_gameboard2", 91,
     '<level name="HowToPlayLocks" Flowercolors="11,22,33,44" time="60" shift_x="388" shift_y="124" cols="5" '
     'rows="4" Celltype_default="1" Flowercolor_default="-1" Cellcolor_default="-1"><cells_def>'
     '<cell_def col="1" row="1" Celltype="2"/><cell_def col="3" row="2" Celltype="2"/>'
     '<cell_def col="2" row="1" Celltype="3"/><cell_def col="0" row="2" Cellcolor="0"/>'
     '<cell_def col="4" row="1" Cellcolor="1"/><cell_def col="1" row="3" Cellcolor="2"/>'
     '<cell_def col="2" row="3" Celltype="0"/></cells_def></level>'),
]

PAGES = [("HowToPlayPage1", ["HowToPlay1", "HowToPlay2", "HowToPlay6"]),
         ("HowToPlayPage2", ["HowToPlay3", "HowToPlay4", "HowToPlay5"])]


def _board(name):
    """The game's board under another name; the player's presses do not
    reach it (the tutorial plays alone)."""
    xml = board.board_widget()
    xml = xml.replace('name="gameboard" visible="yes" mousestop="yes"', 'name="%s" visible="yes" mousestop="no"' %
                      name, 1)
    xml = xml.replace(' scorewidget2="window:/duel_panel/score2"', "", 1)
    # the round's result over the demonstration, not over the rules
    return re.sub(r'(name="widget_(?:no_moves|level_complete|time_out|level_failed)" visible="yes") '
                  r'anchor_left="\d+" anchor_top="\d+"', r'\1 anchor_left="318" anchor_top="200"', xml)


def _page(shell, n, heading, keys):
    x, w = PANEL_X + 22, PANEL_W - 44
    kids = [shell.text("heading", heading, x, PANEL_Y + 16, w, 30, font="font_button")]
    y = PANEL_Y + 58
    for key in keys:
        kids.append(shell.text("text_" + key, key, x, y, w, 70, align="left", valign="top", multiline=True))
        y += 76
    return shell.widget("group_widget", "page%d" % n, visible=n == 1, children=kids)


def screens(shell):
    shell._current[0] = "GS_HowToPlay"
    kids = [shell.image("background", "ui_background_main", 0, 0, shell.W, shell.H),
            shell.text("title", "HowToPlayTitle", 0, 10, shell.W, 42, font="font_title"),
            shell.image("panel", "ui_panel_rules", PANEL_X, PANEL_Y, PANEL_W, PANEL_H)]
    for n, (heading, keys) in enumerate(PAGES, 1):
        kids.append(_page(shell, n, heading, keys))
    for name, _number, _level in DEMOS:
        shell.note(name, "board", 494, 260, "the demonstration of its page, playing by itself")
        kids.append(_board(name))
    kids += [
        shell.button("button_htp1", "HowToPlayTab1", PANEL_X, PANEL_Y + PANEL_H + 8, "shows page 1"),
        shell.button("button_htp2", "HowToPlayTab2", PANEL_X + PANEL_W - 150, PANEL_Y + PANEL_H + 8,
                     "shows page 2"),
        shell.checkbox("checkbox_showagain", "HowToPlayShowAgain", PANEL_X + 4, 434,
                       "keeps yes or no in the profile's show_how_to_play"),
        shell.button("button_start", "HowToPlayStart", 326, 426, "closes the rules (to play)"),
        shell.button("button_close", "DialogClose", 484, 426, "closes the rules"),
    ]
    levels = "<demolevels>" + "".join('<demolevel board="%s" number="%d">%s</demolevel>' % demo
                                      for demo in DEMOS) + "</demolevels>"
    return [shell.screen("ZintaraGameScreenHowToPlay", "GS_HowToPlay", kids, music="music_menu", extra=levels)]
