#!/usr/bin/env python3
"""Writes the game description content/game.xml: the game object with its
options, cursor and resource lists, and every screen of the shell (splash
logos, splash, main menu, new player, players, options, the queries and
the quit dialog). The layout lives here once; --table prints the screens'
control table of docs/CONTENT.md (pixel centres at 640 x 480) from it.
    make_shell.py OUT.xml            the game description
    make_shell.py --preview DIR      every screen alone as DIR/NAME.xml, typed
                                     "GameScreen" (for quorvanel-data render
                                     before the screen classes exist)
    make_shell.py --table            the Markdown table of screens and controls
"""
import os
import sys
from xml.sax.saxutils import quoteattr

import make_howtoplay
import make_map_screens
import make_stats

W, H = 640, 480
CREAM = "$FFF0E6D2"
MOONLIGHT = "$FFFFE8AA"

TABLE = []  # (screen, control, kind, centre x, centre y, what it does)
_current = [None]


def attrs(**kw):
    out = []
    for k, v in kw.items():
        if v is None:
            continue
        k = k.rstrip("_").replace("__", ":")
        if isinstance(v, bool):
            v = "yes" if v else "no"
        out.append(" %s=%s" % (k, quoteattr(str(v))))
    return "".join(out)


def widget(type_, name, children=(), sounds=(), child=None, **kw):
    """A widget element; `child` is a decorator's one child widget."""
    head = "<widget%s" % attrs(type=type_, name=name, **kw)
    inner = child or ""
    if children:
        inner += "<widgets>" + "".join(children) + "</widgets>"
    if sounds:
        inner += "<sounds>" + "".join('<sound%s/>' % attrs(name=n, resourcename=r) for n, r in sounds) + "</sounds>"
    return head + (">" + inner + "</widget>" if inner else "/>")


def image(name, res, x, y, w, h, visible=True, **kw):
    return widget("image_widget", name, visible=visible, anchor_left=x, anchor_top=y, width=w, height=h,
                  resourcename=res, **kw)


def text(name, key, x, y, w, h, font="font_body", align="center", valign="middle", multiline=None, visible=True,
         **kw):
    return widget("text_widget", name, visible=visible, anchor_left=x, anchor_top=y, width=w, height=h,
                  resourcename=font, textalign=align, textvertalign=valign, multiline=multiline,
                  text=("%" + key + "%") if key else None, **kw)


def note(control, kind, cx, cy, what):
    TABLE.append((_current[0], control, kind, cx, cy, what))


CLICK = [("sound_buttonclick", "sound_click")]


def button(name, key, x, y, what, small=True, **kw):
    w = 150 if small else 200
    pic = "ui_button_small_" if small else "ui_button_"
    note(name, "button", x + w // 2, y + 22, what)
    return widget("ButtonControl", name, visible=True, mousestop=True, enabled=True, tabstop=True, anchor_left=x,
                  anchor_top=y, width=w, height=44, sounds=CLICK, children=[
                      image("image_normal", pic + "normal", 0, 0, w, 44, visible=False),
                      image("image_selected", pic + "hover", 0, 0, w, 44, visible=False),
                      image("image_disabled", pic + "disabled", 0, 0, w, 44, visible=False),
                      text("caption", key, 0, 0, w, 42, font="font_button"),
                  ], **kw)


def mode_button(name, key, y, what):
    """A main screen mode button (300 x 60): the mode's name and, under it,
    its "info" text that the screen fills with the player's progress."""
    note(name, "button", 320, y + 30, what)
    return widget("ButtonControl", name, visible=True, mousestop=True, enabled=True, tabstop=True, anchor_left=170,
                  anchor_top=y, width=300, height=60, sounds=CLICK, children=[
                      image("image_normal", "ui_button_mode_normal", 0, 0, 300, 60, visible=False),
                      image("image_selected", "ui_button_mode_hover", 0, 0, 300, 60, visible=False),
                      image("image_disabled", "ui_button_mode_disabled", 0, 0, 300, 60, visible=False),
                      text("caption", key, 0, 4, 300, 30, font="font_button"),
                      text("info", None, 10, 31, 280, 20),
                  ])


def checkbox(name, key, x, y, what):
    note(name, "check box", x + 14, y + 14, what)
    return widget("CheckBoxControl", name, visible=True, mousestop=True, enabled=True, tabstop=True, anchor_left=x,
                  anchor_top=y, width=280, height=28, children=[
                      image("image_check_normal", "ui_checkbox_on", 0, 0, 28, 28, visible=False),
                      image("image_uncheck_normal", "ui_checkbox_off", 0, 0, 28, 28, visible=False),
                      text("caption", key, 38, 0, 240, 28, align="left"),
                  ])


def trackbar(name, x, y, what):
    # The slider (24 wide) runs over the control's 224 pixels, so its centre
    # follows the 200-pixel groove drawn 12 pixels in.
    note(name, "track bar", x + 112, y + 12, what + "; slider centre at x = %d + 2 x position" % (x + 12))
    return widget("TrackBarControl", name, visible=True, mousestop=True, enabled=True, tabstop=True, anchor_left=x,
                  anchor_top=y, width=224, height=24, min=0, max=100, frequency=5,
                  sounds=[("sound_checksoundvolume", "sound_click")], children=[
                      image("groove", "ui_trackbar", 12, 4, 200, 16),
                      widget("group_widget", "image_slider", visible=True, anchor_left=0, anchor_top=0, children=[
                          image("image_slidernormal", "ui_trackbar_thumb", 0, 0, 24, 24)]),
                  ])


# The dialogs' appearance: the dialog's picture rises
# into place while it fades in, and sinks a little while it fades out. Short, so that a dialog
# takes input soon after it was asked for.
SHOW_MS, HIDE_MS = 200, 150


def slide_fade(name, ms, levels, ys):
    return widget("func_appearance_effect", name, durationtime=ms, surfaceparamname="pic/surface",
                  child=widget("move_widget", "pic", visible=True, timetolive=ms, start_trans_level=levels[0],
                               end_trans_level=levels[1], startposx=0, startposy=ys[0], endposx=0, endposy=ys[1]))


def dialog_effects():
    return ("<effects><widgets>" + slide_fade("show_effect", SHOW_MS, (0, 255), (10, 0)) +
            slide_fade("hide_effect", HIDE_MS, (255, 0), (0, 6)) + "</widgets></effects>")


def screen(type_, name, children, left=0, top=0, sounds=True, music=None, extra="", effects=False, **kw):
    inner = "<widgets>" + "".join(children) + "</widgets>"
    if effects:
        inner += dialog_effects()
    if sounds:
        inner += ("<sounds>" + '<sound name="sound_show_window" resourcename="sound_window_show"/>' +
                  '<sound name="sound_hide_window" resourcename="sound_window_hide"/></sounds>')
    if music:
        items = [("music_background", music)] if isinstance(music, str) else music
        inner += "<musics>" + "".join('<music name="%s" resourcename="%s"/>' % item for item in items) + "</musics>"
    return (name, type_, "<gamescreen%s><window%s>%s</window>%s</gamescreen>" %
            (attrs(type=type_, name=name, **kw), attrs(left=left, top=top), inner, extra))


def levels_list():
    """The level list of the main screen, from the generated levels."""
    path = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "content", "data", "levels",
                        "levels.xml")
    if not os.path.exists(path):
        return ""
    from xml.etree import ElementTree
    root = ElementTree.parse(path).getroot()
    return "<levels>" + "".join(
        "<level%s/>" % "".join(" %s=%s" % (k, quoteattr(v)) for k, v in e.attrib.items())
        for e in root.iter("level")) + "</levels>"


# A dialog: a panel with a title, at its place on the screen. Children are
# placed in screen coordinates (the window's left and top stay 0), so the
# table's centres are the children's own.
# The tall dialogs (players, options) stand above the main menu's bottom row
# and over its whole logo.
TALL_TOP = 10


def dialog_panel(x, y, tall=False):
    if tall:
        return image("panel", "ui_panel_tall", x, y, 400, 360)
    return image("panel", "ui_panel_dialog", x, y, 360, 200)


def screens():
    out = []
    # --- splash logos: one logo step of 2 s; a click ends it at once
    _current[0] = "GS_SplashLogos"
    note("sequence_logos", "sequence", 320, 240, "the whole screen; a click skips the logos (code 10 closes)")
    out.append(screen("GameScreenSplashLogos", "GS_SplashLogos", [
        widget("rect_widget", "night", visible=True, anchor_left=0, anchor_top=0, width=W, height=H,
               color="$FF121630"),
        widget("SequenceControl", "sequence_logos", visible=True, mousestop=True, enabled=True, anchor_left=0,
               anchor_top=0, width=W, height=H, step_duration_time=2000, children=[
                   widget("group_widget", "logo_step", visible=True, children=[
                       text("maker", "SplashMaker", 0, 140, W, 26, font="font_body"),
                       image("logo", "ui_logo", 110, 175, 420, 130),
                   ])]),
    ], sounds=False))
    # --- splash: shown while the deferred lists load; no button to wait for
    _current[0] = "GS_Splash"
    out.append(screen("GameScreenSplash", "GS_Splash", [
        image("background", "ui_background_splash", 0, 0, W, H),
        image("logo", "ui_logo", 110, 120, 420, 130),
        text("loading", "Loading", 0, 300, W, 26, font="font_button"),
        # the ornament turns about its middle, which stays at its anchor
        widget("rotate_widget_timed", "loading_ornament", visible=True, anchor_left=W // 2, anchor_top=354,
               centerx=20, centery=20, rotate=True, rotationtime=1200, startangle=0,
               child=image("ornament", "ui_loading", 0, 0, 40, 40)),
    ], sounds=False))
    # --- main menu
    _current[0] = "GS_Main"
    out.append(screen("ZintaraGameScreenMain", "GS_Main", [
        image("background", "ui_background_main", 0, 0, W, H),
        image("logo", "ui_logo", 110, 2, 420, 130),
        text("welcome", "welcome", 120, 130, 400, 24, font="font_hint"),
        mode_button("button_classic", "MenuClassic", 156, "plays the classic (timed) mode: GS_Map"),
        mode_button("button_relax", "MenuRelax", 220, "plays the relax mode: GS_Map"),
        mode_button("button_duel", "MenuDuel", 284,
                    "plays the duel against the computer: GS_Map (disabled until LevelMax is above 3)"),
        button("button_howtoplay", "MenuHowToPlay", 220, 350, "shows GS_HowToPlay", small=False,
               actiontype="showgamescreen", gamescreenname="GS_HowToPlay"),
        button("button_profiles", "MenuProfiles", 10, 410, "shows GS_UserProfiles", small=False,
               actiontype="showgamescreen", gamescreenname="GS_UserProfiles"),
        button("button_options", "MenuOptions", 220, 410, "shows GS_Options", small=False,
               actiontype="showgamescreen", gamescreenname="GS_Options"),
        button("button_quit", "MenuQuit", 430, 410, "shows GS_Quit", small=False, actiontype="showgamescreen",
               gamescreenname="GS_Quit"),
    ], music="music_menu", extra=levels_list()))
    # --- coming soon (a query dialog: any button closes it)
    _current[0] = "GS_ComingSoon"
    out.append(screen("GameScreenQueryDialog", "GS_ComingSoon", [
        dialog_panel(140, 140),
        text("title", "ComingSoonTitle", 140, 152, 360, 42, font="font_title"),
        text("label_text", "ComingSoonText", 170, 200, 300, 70, multiline=True),
        button("button_ok", "DialogOK", 245, 280, "closes the dialog"),
    ], effects=True))
    # --- the game: the board, the displays, the menu button
    _current[0] = "GS_Game"
    import make_board_screen as board
    import make_pause as pause
    note("gameboard", "board", 320, 240, "the board; cell (c, r) centred at (53c + shift_x, 60r + shift_y + 30 "
         "for even c)")
    out.append(screen("ZintaraGameScreenGame", "GS_Game", [
        image("background", "board_background_game", 0, 0, W, H),
        image("score_panel", "board_score_panel", 4, 4, 150, 56),
        text("score_title", "Score", 22, 16, 60, 32, font="font_score", align="left"),
        board.display("score1", 66, 16, width=70),
        widget("group_widget", "duel_panel", visible=False, children=[
            image("score2_panel", "board_score_panel", 245, 4, 150, 56),
            text("score2_title", "Rival", 263, 16, 60, 32, font="font_score", align="left"),
            board.display("score2", 307, 16, width=70),
            # Whose move it is, under the player's score: the board shows one.
            text("duel_prompt", "DuelPrompt", 4, 62, 150, 22, visible=False),
            text("duel_wait", "DuelWait", 4, 62, 150, 22, visible=False),
        ]),
        image("level_panel", "board_score_panel", 486, 4, 150, 56),
        text("level_title", "Level", 504, 16, 60, 32, font="font_score", align="left"),
        board.display("level_number", 548, 16, width=70),
        board.board_widget(),
        pause.lamp(),
        button("button_menu", "Menu", 245, 436, "opens the pause menu GS_MiniMenu (Escape too)", small=True),
    ], music=pause.game_musics()))
    # --- new player
    _current[0] = "GS_NewUser"
    note("edit_name", "edit", 320, 238, "the name (focused when shown; type into it)")
    out.append(screen("GameScreenNewUser", "GS_NewUser", [
        dialog_panel(140, 140),
        widget("EditControl", "edit_name", visible=True, mousestop=True, enabled=True, tabstop=True,
               anchor_left=200, anchor_top=222, width=240, height=32, max=20, children=[
                   image("frame", "ui_edit", 0, 0, 240, 32),
                   text("text", None, 8, 7, 224, 18, align="left", valign="top"),
                   image("cursor", "ui_edit_caret", 8, 5, 4, 22, visible=False),
               ]),
        text("title", "NewPlayerTitle", 140, 150, 360, 42, font="font_title"),
        text("prompt", "NewPlayerPrompt", 200, 198, 240, 20, align="left"),
        button("button_ok", "DialogOK", 160, 280, "confirms the name"),
        button("button_cancel", "DialogCancel", 330, 280, "closes without a name (disabled when necessary)"),
    ], effects=True))
    # --- a name that is empty or taken
    _current[0] = "GS_QueryNotUniqueName"
    out.append(screen("GameScreenQueryDialog", "GS_QueryNotUniqueName", [
        dialog_panel(140, 140),
        text("title", "NewPlayerTitle", 140, 152, 360, 42, font="font_title"),
        text("label_text", "NewPlayerNameRefused", 170, 200, 300, 70, multiline=True),
        button("button_ok", "DialogOK", 245, 280, "closes the dialog"),
    ], effects=True))
    # --- players
    _current[0] = "GS_UserProfiles"
    note("listbox_profiles", "list box", 320, TALL_TOP + 144,
         "rows of 22 pixels from y = 77: row 0 (centre y 88) creates a new player, row n centre y = 88 + 22 n")
    out.append(screen("GameScreenUserProfiles", "GS_UserProfiles", [
        dialog_panel(120, TALL_TOP, tall=True),
        text("title", "ProfilesTitle", 120, TALL_TOP + 12, 400, 42, font="font_title"),
        widget("ListBoxControl", "listbox_profiles", visible=True, mousestop=True, enabled=True, tabstop=True,
               anchor_left=210, anchor_top=TALL_TOP + 64, width=220, height=160, rowheight=22, color=CREAM,
               selectedcolor=MOONLIGHT, children=[
                   image("frame", "ui_listbox", 0, 0, 220, 160),
                   widget("rect_widget", "image_contentbox", visible=False, anchor_left=10, anchor_top=3,
                          width=200, height=154),
                   image("image_selectedbackground", "ui_listbox_selection", 0, 0, 200, 22, visible=False),
                   text("text", None, 0, 0, 200, 22, font="font_body_plain", drawmode="fillcolor",
                        visible=False),
               ]),
        button("button_delete", "ProfilesDelete", 245, TALL_TOP + 232,
               "asks GS_QueryDeleteProfile for the selected player"),
        button("button_ok", "DialogOK", 160, TALL_TOP + 292, "makes the selected player current and closes"),
        button("button_cancel", "DialogCancel", 330, TALL_TOP + 292, "closes without a change"),
    ], effects=True))
    # --- delete a player?
    _current[0] = "GS_QueryDeleteProfile"
    out.append(screen("GameScreenQueryDeleteProfile", "GS_QueryDeleteProfile", [
        dialog_panel(140, 140),
        text("title", "DeleteProfileTitle", 140, 150, 360, 42, font="font_title"),
        text("question", "DeleteProfileAsk", 170, 196, 300, 40, multiline=True),
        text("label_user_profile_name", None, 140, 238, 360, 30, font="font_button"),
        button("button_yes", "DialogYes", 160, 280, "deletes the player"),
        button("button_no", "DialogNo", 330, 280, "keeps the player"),
    ], effects=True))
    # --- options
    _current[0] = "GS_Options"
    out.append(screen("GameScreenOptions", "GS_Options", [
        dialog_panel(120, TALL_TOP, tall=True),
        text("title", "OptionsTitle", 120, TALL_TOP + 12, 400, 42, font="font_title"),
        # The language in the style of the window size: its caption, the
        # loaded language's own name (set by the screen) and the button that
        # takes the next. Full screen lives in the display options.
        text("label_language", "OptionsLanguage", 180, TALL_TOP + 70, 95, 28, align="left"),
        text("label_language_name", None, 275, TALL_TOP + 70, 85, 28, align="left"),
        button("button_language", "OptionsWindowScaleNext", 360, TALL_TOP + 62,
               "the next language: English, then each file of Languages/ (sorted)"),
        checkbox("checkbox_showhints", "OptionsShowHints", 180, TALL_TOP + 110, "ShowHints"),
        text("label_soundvolume", "OptionsSoundVolume", 180, TALL_TOP + 152, 280, 20, align="left"),
        trackbar("trackbar_soundvolume", 208, TALL_TOP + 176, "SoundVolume 0..100 in steps of 5"),
        text("label_musicvolume", "OptionsMusicVolume", 180, TALL_TOP + 212, 280, 20, align="left"),
        trackbar("trackbar_musicvolume", 208, TALL_TOP + 236, "MusicVolume 0..100 in steps of 5"),
        button("button_display", "OptionsDisplay", 150, TALL_TOP + 292, "shows GS_OptionsDisplay",
               actiontype="showgamescreen", gamescreenname="GS_OptionsDisplay"),
        button("button_close", "DialogClose", 340, TALL_TOP + 292, "closes the options"),
    ], effects=True))
    # --- the display: the window's size, full screen, sharp or smooth pixels
    _current[0] = "GS_OptionsDisplay"
    scales = [text("label_windowscale_" + s, "OptionsWindowScale" + s, 300, TALL_TOP + 122, 110, 28,
                   align="left", visible=False) for s in ("1", "2", "3", "fit")]
    out.append(screen("GameScreenOptions", "GS_OptionsDisplay", [
        dialog_panel(120, TALL_TOP, tall=True),
        text("title", "OptionsDisplayTitle", 120, TALL_TOP + 12, 400, 42, font="font_title"),
        checkbox("checkbox_screenmode", "OptionsFullScreen", 180, TALL_TOP + 70, "FullScreenMode"),
        text("label_windowscale", "OptionsWindowScale", 180, TALL_TOP + 122, 120, 28, align="left"),
    ] + scales + [
        button("button_windowscale", "OptionsWindowScaleNext", 360, TALL_TOP + 114,
               "the next window size: 1x, 2x, 3x, as large as fits (F10 too)"),
        checkbox("checkbox_smoothscaling", "OptionsSmoothScaling", 180, TALL_TOP + 176, "SmoothScaling"),
        checkbox("checkbox_colourblind", "OptionsColourBlind", 180, TALL_TOP + 226,
                 "ColourBlind: the board's high-contrast flowers and outlines"),
        button("button_close", "DialogClose", 245, TALL_TOP + 292, "closes the display options"),
    ], effects=True))
    # --- quit?
    _current[0] = "GS_Quit"
    out.append(screen("GameScreenQuit", "GS_Quit", [
        dialog_panel(140, 140),
        text("title", "QuitTitle", 140, 152, 360, 42, font="font_title"),
        text("question", "QuitQuestion", 170, 200, 300, 60, multiline=True),
        button("button_exit", "MenuQuit", 160, 280, "ends the program"),
        button("button_cancel", "DialogCancel", 330, 280, "closes the dialog"),
    ], effects=True))
    out += make_stats.screens(sys.modules[__name__])
    out += make_howtoplay.screens(sys.modules[__name__])
    import make_board_screen
    out += make_map_screens.screens(sys.modules[__name__], make_board_screen.factory)
    out += pause.screens(sys.modules[__name__], [name for name, _type, _xml in out])
    return out


OPTIONS = [  # the engine's options and the game's, with their defaults
    ("ScreenWidth", "640"), ("ScreenHeight", "480"), ("ScreenBPP", "32"), ("ApplicationCaption", "Quorvanel"),
    ("FullScreenMode", "no"), ("SoundVolume", "70"), ("MusicVolume", "30"), ("ShowHints", "yes"),
    ("WindowScale", "1"), ("SmoothScaling", "no"), ("Language", ""),
    ("ShowFPS", "no"), ("ShowRects", "no"),
    ("ColourBlind", "no"),
]

LISTS = [  # name, file, load mode: what the splash screens draw loads first
    ("ui", r"data\res\ui.xml", "synch"), ("fonts", r"data\fonts\fonts.xml", "synch"),
    ("sounds", r"data\res\sounds.xml", "asynch"), ("music", r"data\res\music.xml", "asynch"),
    ("board", r"data\res\board.xml", "asynch"), ("board_extra", r"data\res\board_extra.xml", "asynch"),
    ("map", r"data\res\map.xml", "asynch"),
    # loaded over the board's pictures while the option is on
    ("board_colourblind", r"data\res\board_colourblind.xml", "asynch", "ColourBlind"),
]


def game(all_screens):
    out = ['<?xml version="1.0" encoding="UTF-8"?>',
           "<!-- The bundled game description, generated by tools/content/make_shell.py and enciphered",
           "     into data\\ini\\Zintara.ini at build time. Layout table: docs/CONTENT.md. -->",
           '<game name="Quorvanel" type="Game" splashlogosgs="GS_SplashLogos" splashgs="GS_Splash" '
           'maings="GS_Main" closequerygs="GS_Quit">',
           ' <cursors default_cursor_name="arrow">',
           '  <cursor name="arrow" hotspotx="2" hotspoty="2">' +
           image("cursor_arrow", "ui_cursor", 0, 0, 32, 32) + "</cursor>",
           " </cursors>", " <resourcefiles>"]
    for name, path, mode, *option in LISTS:
        extra = {"option": option[0]} if option else {}
        out.append("  <resourcefile%s/>" % attrs(name=name, filename=path, loadmode=mode, **extra))
    out += [" </resourcefiles>", " <params>"]
    for name, value in OPTIONS:
        out.append("  <param%s/>" % attrs(name=name, value=value))
    out += [" </params>", " <gamescreens>"]
    for _name, _type, xml in all_screens:
        out.append("  " + xml)
    out += [" </gamescreens>", "</game>"]
    from xml.dom import minidom
    head, body = "\n".join(out[:3]), "".join(line.strip() for line in out[3:])
    pretty = minidom.parseString(body).documentElement.toprettyxml(indent=" ")
    return head + "\n" + pretty


def table():
    rows = ["| screen | control | kind | centre (x, y) | what it does |", "|---|---|---|---|---|"]
    for s, c, k, x, y, what in TABLE:
        rows.append("| %s | `%s` | %s | (%d, %d) | %s |" % (s, c, k, x, y, what))
    return "\n".join(rows) + "\n"


def main(argv):
    all_screens = screens()
    if argv[1:2] == ["--table"]:
        sys.stdout.write(table())
    elif argv[1:2] == ["--preview"]:
        os.makedirs(argv[2], exist_ok=True)
        # the texts as the default language gives them (the preview has no language tables)
        import re
        from xml.etree import ElementTree
        here = os.path.dirname(os.path.abspath(__file__))
        lang = ElementTree.parse(os.path.join(here, "..", "..", "content", "lang", "default.lng"))
        strings = {e.get("name"): e.text or "" for e in lang.iter("string")}
        for name, type_, xml in all_screens:
            xml = re.sub(r'text="%(\w+)%"', lambda m: "text=" + quoteattr(strings.get(m.group(1), "?")), xml)
            xml = xml.replace('type=%s' % quoteattr(type_), 'type="GameScreen"', 1)
            with open(os.path.join(argv[2], name + ".xml"), "w", encoding="utf-8", newline="\n") as f:
                f.write(xml + "\n")
    else:
        with open(argv[1], "w", encoding="utf-8", newline="\n") as f:
            f.write(game(all_screens))
        extra = os.path.join(os.path.dirname(os.path.abspath(argv[1])), "data", "res", "board_extra.xml")
        with open(extra, "w", encoding="utf-8", newline="\n") as f:
            f.write('<?xml version="1.0" encoding="UTF-8"?>\n<!-- Generated by tools/content/make_shell.py: '
                    'names the board looks up by number that a picture of another name shows. -->\n'
                    '<resources>\n <content>\n'
                    '  <resource type="ImageResource" name="board_cell_wait_-1" '
                    'file="data\\img\\board\\cell_plain.png" format="png"/>\n'
                    ' </content>\n</resources>\n')


if __name__ == "__main__":
    main(sys.argv)
