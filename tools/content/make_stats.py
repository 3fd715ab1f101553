"""The screens after a level for make_shell.py: the statistics of each mode
("GS_StatLevelrelax", "GS_StatLevelclassic", "GS_StatLevelduel_computer",
type ZintaraGameScreenStatLevel) and the lost-game dialog "GS_GameLoose".

A statistics screen is a tall dialog over the game: a title for a won and
one for a lost level, the value lines (label on the left, the value the
screen counts up on the right; the duel has a column for each player), the
records and the totals, and the Continue button. The screen finds its
value widgets by the names of the statistics they show; layout, fonts and
texts are all here."""

PANEL_W, PANEL_H = 440, 440
PANEL_X, PANEL_Y = 100, 20
LINE_H = 25


def _label(shell, name, key, x, y, w, align="left"):
    return shell.text(name, key, x, y, w, LINE_H, font="font_body", align=align)


def _value(shell, name, x, y, w, align="right", font="font_button"):
    return shell.text(name, None, x, y - 1, w, LINE_H + 2, font=font, align=align)


def _rule(shell, y):
    """A thin gold line between the parts of the panel."""
    return shell.widget("rect_widget", "rule_%d" % y, visible=True, anchor_left=PANEL_X + 36, anchor_top=y,
                        width=PANEL_W - 72, height=1, color="$FFB89A4E")


def _titles(shell):
    """The game dims under the panel; the title by the result, the level's
    number and name below it (the screen fills "label_level")."""
    y = PANEL_Y + 10
    # The shade leaves the screen's last row of pixels: a screen that covers
    # the whole window hides the screens below it from drawing.
    return [shell.widget("rect_widget", "shade", visible=True, anchor_left=0, anchor_top=0, width=shell.W,
                         height=shell.H - 1, color="$FF080A1C", transparentlevel=120),
            shell.image("panel", "ui_panel_stats", PANEL_X, PANEL_Y, PANEL_W, PANEL_H),
            shell.text("lable_title_level_complete", "StatTitleComplete", PANEL_X, y, PANEL_W, 42,
                       font="font_title"),
            shell.text("lable_title_level_failed", "StatTitleFailed", PANEL_X, y, PANEL_W, 42, font="font_title",
                       visible=False),
            shell.text("label_level", None, PANEL_X, y + 42, PANEL_W, 20, font="font_score")]


# The lines every mode counts, in the screen's order: widget, label key. The
# colour-cells line has a second label for levels with an artifact.
LINES = [("score_level", "StatScore"), ("color_cells", None), ("total_cells", "StatTotalCells"),
         ("max_combo", "StatBestCombo"), ("max_flowers", "StatMaxFlowers"), ("gamemove", "StatMoves"),
         ("time_level", "StatTime")]


def _line_label(shell, name, key, x, y, w):
    if name != "color_cells":
        return [_label(shell, "label_" + name, key, x, y, w)]
    return [_label(shell, "lable_color_cells", "StatColorCells", x, y, w),
            shell.text("label_artifact", "StatArtifactCells", x, y, w, LINE_H, font="font_body", align="left",
                       visible=False)]


def _continue(shell, y):
    x = PANEL_X + (PANEL_W - 200) // 2
    return shell.button("button_close", "StatContinue", x, y, "closes the statistics; the game screen closes "
                        "too and hands on the results", small=False)


def _solo(shell, mode):
    """Relax and classic: one column of values, then the records."""
    left, value_x, value_w = PANEL_X + 44, PANEL_X + 250, 146
    kids = _titles(shell)
    y = PANEL_Y + 78
    for name, key in LINES:
        kids += _line_label(shell, name, key, left, y, 200)
        kids.append(_value(shell, name, value_x, y, value_w))
        y += LINE_H
    y += 8
    kids.append(_rule(shell, y))
    y += 10
    # a record: label, its holder in the middle, its value on the right
    records = [("best_score_level", "StatBestScore")]
    if mode == "classic":
        records.append(("best_time_level", "StatBestTime"))
    for name, key in records:
        kids.append(_label(shell, "label_" + name, key, left, y, 120))
        kids.append(shell.text(name + "_name", None, left + 112, y, 140, LINE_H, font="font_body",
                               align="center"))
        kids.append(_value(shell, name, value_x, y, value_w))
        y += LINE_H
    kids.append(_label(shell, "label_total_score", "StatTotalScore", left, y, 200))
    kids.append(_value(shell, "total_score", value_x, y, value_w))
    kids.append(_continue(shell, PANEL_Y + PANEL_H - 66))
    return kids


def _duel(shell):
    """The duel against the computer: the player's and the computer's
    columns, then the wins on this level and in all."""
    left, col1, col2, col_w = PANEL_X + 36, PANEL_X + 218, PANEL_X + 318, 90
    kids = _titles(shell)
    y = PANEL_Y + 72
    kids.append(shell.text("head_player", "StatYou", col1, y, col_w, LINE_H, font="font_score"))
    kids.append(shell.text("head_computer", "DuelComputerName", col2, y, col_w, LINE_H, font="font_score"))
    y += LINE_H
    for name, key in LINES:
        kids += _line_label(shell, name, key, left, y, 180)
        if name in ("gamemove", "time_level"):  # the board counts these for both players
            kids.append(_value(shell, name, col1, y, col_w * 2 + 10, align="center"))
        else:
            kids.append(_value(shell, name, col1, y, col_w, align="center"))
            kids.append(_value(shell, name + "_comp", col2, y, col_w, align="center"))
        y += LINE_H
    y += 6
    kids.append(_rule(shell, y))
    y += 8
    for label, key, player, computer in (("label_level_wins", "StatLevelWins", "Level_player_wins",
                                          "Level_computer_wins"),
                                         ("label_total_wins", "StatTotalWins", "total_player_wins",
                                          "total_computer_wins")):
        kids.append(_label(shell, label, key, left, y, 180))
        kids.append(_value(shell, player, col1, y, col_w, align="center"))
        kids.append(_value(shell, computer, col2, y, col_w, align="center"))
        y += LINE_H
    kids.append(_continue(shell, PANEL_Y + PANEL_H - 66))
    return kids


SOUNDS = [("sound_score_line", "sound_score_line"), ("sound_best_score", "sound_best_score"),
          ("sound_best_time", "sound_best_time"), ("sound_level_win", "sound_level_won"),
          ("sound_level_loose", "sound_level_loose")]


def _stat_screen(shell, mode, kids):
    name = "GS_StatLevel" + mode
    _name, type_, xml = shell.screen("ZintaraGameScreenStatLevel", name, kids, effects=True)
    # the counting's sounds beside the window's own
    sounds = "".join("<sound%s/>" % shell.attrs(name=n, resourcename=r) for n, r in SOUNDS)
    xml = xml.replace("</sounds></window>", sounds + "</sounds></window>", 1)
    return name, type_, xml


def screens(shell):
    out = []
    for mode in ("relax", "classic"):
        shell._current[0] = "GS_StatLevel" + mode
        out.append(_stat_screen(shell, mode, _solo(shell, mode)))
    shell._current[0] = "GS_StatLevelduel_computer"
    out.append(_stat_screen(shell, "duel_computer", _duel(shell)))
    # --- the game is lost (a query dialog: its button closes it)
    shell._current[0] = "GS_GameLoose"
    out.append(shell.screen("GameScreenQueryDialog", "GS_GameLoose", [
        shell.dialog_panel(140, 140),
        shell.text("title", "GameLostTitle", 140, 152, 360, 42, font="font_title"),
        shell.text("label_text", "GameLostText", 170, 200, 300, 70, multiline=True),
        shell.button("button_ok", "DialogOK", 245, 280, "closes the dialog"),
    ], effects=True))
    return out
