"""The game screen GS_Game for make_shell.py: the board control with its
widget factories (cells, flowers, locks, bursts, flights, the turn cycle's
scenarios), the score and level displays and the hint panel. Picture sizes
are read from the generated pictures, so every board picture stays centred
on its cell whatever size it is drawn at."""
import os

from PIL import Image

HERE = os.path.dirname(os.path.abspath(__file__))
BOARD = os.path.join(HERE, "..", "..", "content", "data", "img", "board")

SOUNDS = [  # the board's sound names, each its own resource
    "sound_choice", "sound_unchoice", "sound_swap1", "sound_swap2", "sound_swap3", "sound_explosion1_1",
    "sound_explosion1_2", "sound_explosion1_3", "sound_explosion2_1", "sound_explosion2_2", "sound_explosion3",
    "sound_explosion4", "sound_explosion5", "sound_appearance", "sound_shine1", "sound_shine2", "sound_shine3",
    "sound_hint_swap", "sound_startgame1", "sound_startgame2", "sound_level_failed", "sound_level_win1",
    "sound_level_win2", "sound_level_loose", "sound_cell_fly", "sound_cell", "sound_time_bonus",
]


def size(stem):
    path = os.path.join(BOARD, stem + ".png")
    if not os.path.exists(path):
        return 48, 48
    with Image.open(path) as im:
        return im.size


def centred(name, res_stem, macro_stem=None, visible=True, **kw):
    """An image centred on its owner's origin; macro_stem may hold a %macro%."""
    w, h = size(res_stem)
    return ('<widget type="image_widget" name="%s" visible="%s" anchor_left="%d" anchor_top="%d" width="%d" '
            'height="%d" resourcename="board_%s"%s/>' %
            (name, "yes" if visible else "no", -(w // 2), -(h // 2), w, h, macro_stem or res_stem,
             "".join(' %s="%s"' % kv for kv in kw.items())))


def frames(name, stem, count, ms, at=("%x%", "%y%")):
    """A picture sequence shown once: a state machine over the frames inside
    a still flight that ends with the last frame (and may wait "delay")."""
    pics = "".join(centred("f%d" % i, "%s_%d" % (stem, i), visible=False) for i in range(1, count + 1))
    pics += '<widget type="group_widget" name="blank" visible="no"/>'
    acts = "".join('<actiondef state="%d" probability="1" duration="%d" nextstate="%d" widgetname="f%d"/>' %
                   (i - 1, ms, i, i) for i in range(1, count + 1))
    acts += '<actiondef state="%d" probability="1" duration="1000000" nextstate="%d" widgetname="blank"/>' % (
        count, count)
    return ('<widget type="ZintaraFlyWidget" name="%s" visible="yes" x1="%s" y1="%s" x2="%s" y2="%s" lifetime="%d" '
            'delay="%%delay%%"><widgets><widget type="statemachine_widget" name="frames" visible="yes"><widgets>%s'
            '</widgets>%s</widget></widgets></widget>' % (name, at[0], at[1], at[0], at[1], count * ms, pics, acts))


def factory(name, widget_string):
    return '<widgetfactory type="WidgetFactory" name="%s"><widgetstring>%s</widgetstring></widgetfactory>' % (
        name, widget_string)


def factories():
    out = []
    out.append(factory("MatCell", '<widget type="group_widget" name="mat_%name%" visible="yes">' + "<widgets>" +
                       centred("mat", "mat") + "</widgets></widget>"))
    out.append(factory("CellTypeComplete", centred("background", "cell_complete")))
    out.append(factory("CellTypeNormal", centred("background", "cell_wait_1", "cell_wait_%Cellcolor%")))
    out.append(factory("CellTypeFlowerContur", centred("contour", "contour_1", "contour_%Celltype%")))
    out.append(factory("CellTypeDouble", centred("lock", "lock_double")))
    out.append(factory("CellTypeTriple", centred("lock", "lock_triple")))
    out.append(factory("FlowerColor", '<widget type="FlowerWidget" name="flower" visible="yes" '
                       'Flowercolor="%Flowercolor%"><widgets>' + centred("picture", "flower_11", "flower_%Flowercolor%") +
                       "</widgets></widget>"))
    out.append(factory("Artifact", '<widget type="FlowerWidget" name="flower" visible="yes" '
                       'Flowercolor="%Flowercolor%"><widgets>' + centred("picture", "artifact_1", "artifact_%artifact%") +
                       "</widgets></widget>"))
    out.append(factory("ExplosionFlower", frames("burst", "explosion", 8, 40)))
    out.append(factory("ExplosionAnchor2", frames("lock_open", "anchor_open_2", 6, 50)))
    out.append(factory("ExplosionAnchor3", frames("lock_open", "anchor_open_3", 6, 50)))
    out.append(factory("ShineEffect", frames("shine", "shine", 8, 45, at=("0", "0"))))
    out.append(factory("ShineArtifact", frames("shine", "shine", 8, 60, at=("0", "0"))))
    out.append(factory("move_score", '<widget type="ZintaraFlyWidget" name="score" visible="no" z="20" '
                       'x1="%x1%" y1="%y1%" x2="%x2%" y2="%y2%" start_trans_level="%start_trans_level%" '
                       'end_trans_level="%end_trans_level%" lifetime="%lifetime%" delay="%delay%"><widgets>'
                       '<widget type="text_widget" name="text" visible="yes" anchor_left="-60" anchor_top="-12" '
                       'width="120" height="24" resourcename="font_move_score" textalign="center" '
                       'textvertalign="middle" text="%text_utf8%"/></widgets></widget>'))
    out.append(factory("info_text", '<widget type="text_widget" name="info_text" visible="yes" anchor_left="-200" '
                       'anchor_top="0" width="400" height="34" resourcename="font_combo3" textalign="center" '
                       'textvertalign="middle"/>'))
    out.append(factory("transparent_widget", '<widget type="transparent_scenario" name="fade" visible="yes" '
                       'start_trans_level="%start_trans_level%" end_trans_level="%end_trans_level%" '
                       'timetolive="%timetolive%" makeinvisible="%makeinvisible%"/>'))
    out.append(factory("scenario_explosion_dummy", '<widget type="ZintaraFlyWidget" name="dummy" visible="no" '
                       'lifetime="%timetolive%"/>'))
    out.append(factory("scenario_exchange_Flowers", '<widget type="ScenarioExchangeFlowers" name="exchange" '
                       'visible="yes" RefCells="%RefCells%" duration="260"/>'))
    out.append(factory("scenario_explosion", '<widget type="ScenarioExplosion" name="explosion" visible="yes"/>'))
    out.append(factory("scenario_combination_explosion", '<widget type="ScenarioCombinationExplosion" '
                       'name="line_%name%" visible="yes" RefCells="%RefCells%" explosion_num="%explosion_num%"/>'))
    out.append(factory("scenario_falls", '<widget type="ScenarioFalls" name="falls" visible="yes"/>'))
    out += presentation_factories()
    return "<widgetfactories>" + "".join(out) + "</widgetfactories>"


# Where the players' colour flights land: the middle of the score panels.
DISPLAYS = {0: (79, 32), 1: (320, 32)}


def text_widget(name, key, x, y, w, h, font, align="center"):
    return ('<widget type="text_widget" name="%s" visible="yes" anchor_left="%d" anchor_top="%d" width="%d" '
            'height="%d" resourcename="%s" textalign="%s" textvertalign="middle"%s/>' %
            (name, x, y, w, h, font, align, ' text="%%%s%%"' % key if key else ""))


def particles(name, count, speed, life, colour, visible=False):
    return ('<widget type="stochastic_particle_system" name="%s" visible="%s" width="640" height="480" '
            'emission_count="%d" speed_min="%d" speed_max="%d" spread="360" direction="0" lifetime_min="%d" '
            'lifetime_max="%d" color_start="%s" color_end="$00FFE8AA"><widgets>%s</widgets></widget>' %
            (name, "yes" if visible else "no", count, speed // 2, speed, life // 2, life, colour,
             centred("particle", "spark_small")))


def presentation_factories():
    out = []
    out.append(factory("scenario_start_level",
                       '<widget type="ScenarioStartLevel" name="start_level" visible="yes"/>'))
    out.append(factory("scenario_start_level_Flower_fall", '<widget type="ScenarioStartLevelFlowerFall" '
                       'name="%name%" visible="yes" RefCells="%RefCells%" delay="%delay%"/>'))
    out.append(factory("move_Flower", '<widget type="move_widget" name="copy" visible="yes" timetolive="%lifetime%" '
                       'start_trans_level="%start_trans_level%" end_trans_level="%end_trans_level%" '
                       'startposx="%startposx%" startposy="%startposy%" endposx="%endposx%" endposy="%endposy%"/>'))
    out.append(factory("scenario_level_failed", '<widget type="ScenarioLevelFailed" name="level_end" visible="yes" '
                       'level_complete_status="%level_complete_status%"/>'))
    out.append(factory("scenario_hint_link", '<widget type="ScenarioHintLink" name="hint" visible="yes" '
                       'RefCells="%RefCells%" startdelaytime="%startdelaytime%" cycledelaytime="%cycledelaytime%"/>'))
    w, h = size("pointer_hand")
    out.append(factory("scenario_computer_click_Flowers", '<widget type="ScenarioComputerClickFlowers" '
                       'name="computer_click" visible="yes" RefCells="%%RefCells%%"><widgets>'
                       '<widget type="group_widget" name="cursor" visible="no" z="10"><widgets>'
                       '<widget type="image_widget" name="hand" visible="yes" anchor_left="-9" anchor_top="-2" '
                       'width="%d" height="%d" resourcename="board_pointer_hand"/></widgets></widget>'
                       '</widgets></widget>' % (w, h)))
    for player, (x2, y2) in DISPLAYS.items():
        gw, gh = size("glow")
        out.append(factory("scenario_fly_color_cell%d" % player,
                           '<widget type="ScenarioFlyColorCell" name="%%name%%" visible="yes" x0="%%x0%%" y0="%%y0%%" '
                           'x2="%d" y2="%d" Cellcolor="%%Cellcolor%%" color_start="%%color_start%%"><widgets>' %
                           (x2, y2) + particles("explosion", 100, 60, 500, "%color_start%") +
                           particles("stsystem", 60, 20, 400, "%color_start%") +
                           centred("color_cell", "cell_wait_1", "cell_wait_%Cellcolor%") +
                           centred("fly_color_cell", "fly_color_1", "fly_color_%Cellcolor%") +
                           '<widget type="blink_widget" name="glow" visible="no" anchor_left="%d" anchor_top="%d" '
                           'width="%d" height="%d" resourcename="board_glow" firstperiod="150" secondperiod="250" '
                           'start_transparentlevel="0" peak_transparentlevel="255" end_transparentlevel="0" '
                           'loops_count="1"/></widgets></widget>' % (x2 - gw // 2, y2 - gh // 2, gw, gh)))
    out.append(factory("scenario_fly_artifact", '<widget type="ScenarioFlyArtifact" name="fly_artifact" visible="yes" '
                       'x1="%x1%" y1="%y1%" x2="560" y2="32" artifact="%artifact%" '
                       'show_trothies_room="%show_trothies_room%"/>'))
    pw, ph = size("hint_panel")
    for name, key in (("widget_no_moves", "ResultNoMoves"), ("widget_level_complete", "ResultLevelComplete"),
                      ("widget_time_out", "ResultTimeOut"), ("widget_level_failed", "ResultLevelFailed")):
        out.append(factory(name, '<widget type="group_widget" name="%s" visible="yes" anchor_left="%d" '
                           'anchor_top="%d" z="10"><widgets>'
                           '<widget type="image_widget" name="panel" visible="yes" anchor_left="0" anchor_top="0" '
                           'width="%d" height="%d" resourcename="board_hint_panel"/>' %
                           (name, 320 - pw // 2, 200 - ph // 2, pw, ph) +
                           text_widget("text", key, 0, 0, pw, ph, "font_combo1") + "</widgets></widget>"))
    out.append(factory("widget_time_bonus", '<widget type="text_widget" name="widget_time_bonus" visible="yes" '
                       'anchor_left="220" anchor_top="262" width="200" height="40" resourcename="font_combo2" '
                       'textalign="center" textvertalign="middle" z="11"/>'))
    return out


def board_widget():
    sounds = "".join('<sound name="%s" resourcename="%s"/>' % (s, s) for s in SOUNDS)
    sounds += '<sound name="FlowerShine" resourcename="sound_flower_shine"/>'
    hint_texts = "".join(
        '<widget type="text_widget" name="text_hint%d" visible="no" anchor_left="16" anchor_top="12" width="288" '
        'height="70" resourcename="font_hint" textalign="left" textvertalign="top" multiline="yes" '
        'text="%%TutorialHint%d%%"/>' % (n, n) for n in range(1, 8))
    w, h = size("hint_panel")
    go = ('<widget type="ButtonControl" name="button_go" visible="yes" mousestop="yes" enabled="yes" '
          'anchor_left="%d" anchor_top="%d" width="80" height="28"><widgets>'
          '<widget type="text_widget" name="caption" visible="yes" anchor_left="0" anchor_top="0" width="80" '
          'height="28" resourcename="font_button" textalign="center" textvertalign="middle" text="%%HintGo%%"/>'
          '</widgets><sounds><sound name="sound_buttonclick" resourcename="sound_click"/></sounds></widget>' %
          (w - 92, h - 34))
    hint = ('<widget type="group_widget" name="hint" visible="no" z="120"><widgets>'
            '<widget type="image_widget" name="panel" visible="yes" anchor_left="0" anchor_top="0" width="%d" '
            'height="%d" resourcename="board_hint_panel"/>%s%s</widgets></widget>' % (w, h, hint_texts, go))
    sparkle = ('<widget type="SelectedCellParticleSystem" name="image_selectedCell" visible="yes" z="60" '
               'width="640" height="480" emission_count="0" speed_min="10" speed_max="30" spread="360" '
               'direction="0" lifetime_min="400" lifetime_max="700" color_start="$FFFFE8AA" '
               'color_end="$00F0C45A" rotate_radius="26" rotate_time="1500"><widgets>' +
               centred("particle", "sparkle") + "</widgets></widget>")
    return ('<widget type="GameBoardControl" name="gameboard" visible="yes" mousestop="yes" enabled="yes" '
            'anchor_left="0" anchor_top="0" width="640" height="480" scorewidget2="window:/duel_panel/score2">'
            '<widgets><widget type="group_widget" name="mat_group" visible="yes" z="0"/>'
            '<widget type="group_widget" name="scenaries_group" visible="yes" z="100"/>' +
            '<widget type="group_widget" name="selection_ring" visible="no" z="55"><widgets>' +
            centred("ring", "selected") + "</widgets></widget>" +
            '<widget type="group_widget" name="cursor_ring" visible="no" z="54"><widgets>' +
            centred("ring", "hover") + "</widgets></widget>" + sparkle + hint +
            "</widgets>" + factories() + "<sounds>" + sounds + "</sounds></widget>")


def display(name, x, y, width=120, height=32, value_font="font_score"):
    """A number that counts up to its "value", right-aligned."""
    return ('<widget type="NumLabelControl" name="%s" visible="yes" enabled="yes" anchor_left="%d" anchor_top="%d" '
            'width="%d" height="%d" animation="yes" maxincrementaldurationtime="800" '
            'minincrementalvaluepersecond="2000"><widgets><widget type="text_widget" name="digits" visible="yes" '
            'anchor_left="0" anchor_top="0" width="%d" height="%d" resourcename="%s" textalign="right" '
            'textvertalign="middle"/></widgets></widget>' % (name, x, y, width, height, width, height, value_font))
