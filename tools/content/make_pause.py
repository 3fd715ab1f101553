#!/usr/bin/env python3
"""The pause menu, its two queries and the timed mode's oil lamp.

Drawn here (make-assets.sh runs it before the lists):
  img/board/lamp_*.png   the oil lamp of the classic game screen: the brass
                         and glass body full of oil, the empty glass that
                         covers the oil from the top as the time goes, the
                         gloss, the glass's glint, the warning glow and the
                         flame strips (normal, low, ending, its shine)
  img/ui/pause_*.png     the drop-down menu: its head with the title, one
                         row per button (normal and hover) and its foot
For make_shell.py: `lamp()` is the lamp's widget text on GS_Game,
`screens(shell)` the screens GS_MiniMenu, GS_QueryMainMenu and
GS_QueryRestart, `game_musics()` the game screen's music items.
    make_pause.py DATA      draws the pictures into DATA/img
"""
import math
import os
import sys

from artlib import (DUSK, GOLD, INK, MIST, MOON, NIGHT, Canvas, blurred_shadow, glow_of, lin, mix, rad, rgb,
                    rounded_rect, save_png)
from make_ui import button as pill

HERE = os.path.dirname(os.path.abspath(__file__))
DATA = os.path.join(HERE, "..", "..", "content", "data")

# --- the lamp -----------------------------------------------------------------------------
# The lamp control stands in the middle of the top strip of the game screen,
# above the board's top row; all positions below are in its own pixels.
LAMP_X, LAMP_Y, LAMP_W, LAMP_H = 220, 0, 200, 40
BULB = (96, 22, 44, 13)           # centre x, centre y, outer radii of the glass bulb
INNER = (96, 22, 40, 10.5)        # the oil inside it
OIL_BOX = (56, 11, 80, 22)        # the empty glass picture: left, top, width, height
TIP = (178, 21)                   # the wick at the end of the spout
FLAME_BOX = (169, 0, 18, 24)      # a flame frame, its bottom on the wick
SHINE_BOX = (159, 0, 38, 30)      # the glow around the flame
WARN_BOX = (44, 4, 104, 36)       # the warning glow around the bulb
BRASS = (214, 160, 72)
BRASS_LIGHT = (255, 230, 160)
BRASS_DARK = (104, 62, 20)
OIL = (246, 168, 48)
OIL_DARK = (150, 70, 12)


def ellipse(c, cx, cy, rx, ry):
    c.save()
    c.translate(cx, cy)
    c.scale(rx, ry)
    c.new_sub_path()
    c.arc(0, 0, 1, 0, 2 * math.pi)
    c.restore()


def brass(c, x0, y0, x1, y1):
    return lin(c, x0, y0, x1, y1, [(0, rgb(BRASS_LIGHT)), (0.45, rgb(BRASS)), (1, rgb(BRASS_DARK))])


def outline(c, width=0.9, alpha=0.9):
    c.set_source_rgba(*rgb(INK, alpha))
    c.set_line_width(width)
    c.stroke()


def lamp_body():
    """Handle, lid, spout and foot in brass; the glass bulb full of oil."""
    cv = Canvas(LAMP_W, LAMP_H)
    c = cv.ctx
    bx, by, brx, bry = BULB
    # the handle: a loop on the left
    c.move_to(bx - brx + 4, by - 6)
    c.curve_to(bx - brx - 20, by - 14, bx - brx - 22, by + 10, bx - brx + 3, by + 6)
    c.set_source(brass(c, 20, 8, 50, 34))
    c.set_line_width(3.4)
    c.stroke_preserve()
    c.set_source_rgba(*rgb(INK, 0.5))
    c.set_line_width(0.7)
    c.stroke()
    # the spout, rising a little to the wick
    tx, ty = TIP
    c.move_to(bx + brx - 6, by - 3)
    c.curve_to(bx + brx + 10, by - 4, tx - 14, ty - 1, tx + 1, ty - 2.4)
    c.line_to(tx + 2, ty + 1.8)
    c.curve_to(tx - 12, ty + 3.5, bx + brx + 8, by + 8, bx + brx - 6, by + 6)
    c.close_path()
    c.set_source(brass(c, bx + brx, by - 6, tx, ty + 6))
    c.fill_preserve()
    outline(c)
    # the wick
    c.rectangle(tx - 0.2, ty - 3.8, 2.2, 2.2)
    c.set_source_rgba(*rgb((50, 30, 20)))
    c.fill()
    # the foot
    c.move_to(bx - 14, by + bry - 1)
    c.line_to(bx + 14, by + bry - 1)
    c.line_to(bx + 19, LAMP_H - 1.2)
    c.line_to(bx - 19, LAMP_H - 1.2)
    c.close_path()
    c.set_source(brass(c, bx - 19, by + bry, bx + 19, LAMP_H))
    c.fill_preserve()
    outline(c)
    # the glass bulb: its rim, then the oil inside
    ellipse(c, bx, by, brx, bry)
    c.set_source(lin(c, 0, by - bry, 0, by + bry, [(0, rgb(mix(MIST, MOON, 0.3), 0.9)),
                                                   (1, rgb(mix(MIST, INK, 0.4), 0.95))]))
    c.fill_preserve()
    outline(c, 1.0)
    ix, iy, irx, iry = INNER
    ellipse(c, ix, iy, irx, iry)
    c.set_source(rad(c, ix - 12, iy - 4, 2, irx + 6, [(0, rgb(mix(OIL, MOON, 0.45))), (0.5, rgb(OIL)),
                                                       (1, rgb(OIL_DARK))]))
    c.fill()
    # the brass band round the bulb's middle and the lid with its knob
    c.save()
    ellipse(c, bx, by, brx, bry)
    c.clip()
    c.rectangle(bx - 2, by - bry, 4, 2 * bry)
    c.set_source_rgba(*rgb(BRASS_DARK, 0.45))
    c.fill()
    c.restore()
    c.move_to(bx - 13, by - bry + 2.5)
    c.curve_to(bx - 11, by - bry - 6, bx + 11, by - bry - 6, bx + 13, by - bry + 2.5)
    c.close_path()
    c.set_source(brass(c, bx - 13, by - bry - 6, bx + 13, by - bry + 2))
    c.fill_preserve()
    outline(c)
    ellipse(c, bx, by - bry - 5.5, 2.6, 2.3)
    c.set_source(brass(c, bx - 3, by - bry - 8, bx + 3, by - bry - 3))
    c.fill_preserve()
    outline(c, 0.7)
    out = cv.layer()
    out.paint_layer(blurred_shadow(cv, 1.0, 0.55))
    out.paint_layer(cv)
    return out.image()


def inner_canvas():
    """A canvas of the empty-glass box, the interior ellipse in its space."""
    x, y, w, h = OIL_BOX
    cv = Canvas(w, h)
    ix, iy, irx, iry = INNER
    return cv, ix - x, iy - y, irx, iry


def lamp_empty():
    """The glass with no oil: dark and clear, the bulb's far side showing."""
    cv, cx, cy, rx, ry = inner_canvas()
    c = cv.ctx
    ellipse(c, cx, cy, rx, ry)
    c.set_source(lin(c, 0, cy - ry, 0, cy + ry, [(0, rgb(mix(NIGHT, MIST, 0.35), 0.97)),
                                                 (1, rgb(mix(NIGHT, DUSK, 0.6), 0.97))]))
    c.fill()
    # the film of oil the level leaves on the glass
    ellipse(c, cx, cy, rx - 0.6, ry - 0.6)
    c.set_source_rgba(*rgb(OIL, 0.25))
    c.set_line_width(0.8)
    c.stroke()
    return cv.image()


def lamp_glass():
    """The gloss on the bulb's upper half, over the oil and the empty glass."""
    cv, cx, cy, rx, ry = inner_canvas()
    c = cv.ctx
    c.save()
    ellipse(c, cx, cy, rx, ry)
    c.clip()
    ellipse(c, cx - 6, cy - ry * 0.55, rx * 0.72, ry * 0.32)
    c.set_source(lin(c, 0, cy - ry, 0, cy, [(0, (1, 1, 1, 0.55)), (1, (1, 1, 1, 0.04))]))
    c.fill()
    c.move_to(cx - rx * 0.8, cy + ry * 0.5)
    c.curve_to(cx - rx * 0.4, cy + ry * 0.95, cx + rx * 0.4, cy + ry * 0.95, cx + rx * 0.8, cy + ry * 0.5)
    c.set_source_rgba(*rgb(MOON, 0.35))
    c.set_line_width(0.8)
    c.stroke()
    c.restore()
    return cv.image()


def strip(frames):
    """Frames side by side in one picture (an animation's grid of one row)."""
    from PIL import Image
    w, h = frames[0].size
    out = Image.new("RGBA", (w * len(frames), h), (0, 0, 0, 0))
    for i, frame in enumerate(frames):
        out.paste(frame, (i * w, 0))
    return out


GLINT_FRAMES = 8


def lamp_glint():
    """A band of light sweeping over the glass from the left; the last frame
    is empty, so the animation ends on nothing."""
    frames = []
    for i in range(GLINT_FRAMES):
        cv, cx, cy, rx, ry = inner_canvas()
        c = cv.ctx
        if i < GLINT_FRAMES - 1:
            t = i / (GLINT_FRAMES - 2)
            x = cx - rx - 10 + t * (2 * rx + 20)
            c.save()
            ellipse(c, cx, cy, rx, ry)
            c.clip()
            c.move_to(x - 4, cy + ry)
            c.line_to(x + 4, cy + ry)
            c.line_to(x + 12, cy - ry)
            c.line_to(x + 4, cy - ry)
            c.close_path()
            c.set_source(lin(c, x - 4, 0, x + 12, 0, [(0, (1, 1, 1, 0)), (0.5, (1, 0.97, 0.85, 0.75)),
                                                      (1, (1, 1, 1, 0))]))
            c.fill()
            c.restore()
        frames.append(cv.image())
    return strip(frames)


def lamp_warning():
    """A red-gold glow round the bulb, blinked once at each warning."""
    x, y, w, h = WARN_BOX
    cv = Canvas(w, h)
    c = cv.ctx
    bx, by, brx, bry = BULB
    ellipse(c, bx - x, by - y, brx + 1, bry + 1)
    c.set_source_rgba(*rgb((255, 120, 60)))
    c.set_line_width(2.0)
    c.stroke()
    out = cv.layer()
    out.paint_layer(glow_of(cv, 3.0, (255, 110, 40), 1.0))
    out.paint_layer(cv, 0.8)
    return out.image()


def flame(c, cx, base, height, width, lean, hot, edge):
    """A teardrop flame standing on (cx, base), leaning by `lean` at its tip."""
    top = base - height
    c.move_to(cx, base)
    c.curve_to(cx - width, base - 0.1 * height, cx - 0.7 * width + lean * 0.5, base - 0.65 * height, cx + lean, top)
    c.curve_to(cx + 0.7 * width + lean * 0.5, base - 0.65 * height, cx + width, base - 0.1 * height, cx, base)
    c.close_path()
    c.set_source(rad(c, cx, base - 0.3 * height, 0.5, height * 0.85, [(0, rgb(hot)), (0.45, rgb(edge, 0.95)),
                                                                      (1, rgb(edge, 0.0))]))
    c.fill()


def flame_frames(count, height, width, hot, edge, seed, sputter=False):
    frames = []
    x, y, w, h = FLAME_BOX
    cx, base = TIP[0] + 1 - x, TIP[1] - 1 - y
    for i in range(count):
        phase = 2 * math.pi * i / count
        flicker = 1 + 0.12 * math.sin(phase + seed) + 0.06 * math.sin(2 * phase + 2 * seed)
        if sputter and i % 3 == 2:
            flicker *= 0.35
        lean = 1.6 * math.sin(phase * 1 + seed * 0.7)
        cv = Canvas(w, h)
        layer = cv.layer()
        flame(layer.ctx, cx, base, height * flicker, width * (0.9 + 0.1 * flicker), lean, hot, edge)
        cv.paint_layer(glow_of(layer, 1.6, edge, 0.6))
        cv.paint_layer(layer)
        # the blue root
        c = cv.ctx
        ellipse(c, cx, base - 1.2, width * 0.35, 1.6)
        c.set_source_rgba(0.35, 0.55, 1.0, 0.55)
        c.fill()
        frames.append(cv.image())
    return strip(frames)


def fire_shine():
    """The flame's glow blooming and fading again (8 frames)."""
    x, y, w, h = SHINE_BOX
    cx, cy = TIP[0] + 1 - x, TIP[1] - 9 - y
    frames = []
    for i in range(8):
        s = math.sin(math.pi * (i + 0.5) / 8)
        cv = Canvas(w, h)
        c = cv.ctx
        c.arc(cx, cy, 4 + 12 * s, 0, 2 * math.pi)
        c.set_source(rad(c, cx, cy, 0, 4 + 12 * s, [(0, (1, 0.95, 0.75, 0.85 * s)), (0.5, (1, 0.75, 0.3, 0.35 * s)),
                                                    (1, (1, 0.6, 0.2, 0))]))
        c.fill()
        for k in range(4):
            a = k * math.pi / 4 + 0.3
            c.move_to(cx, cy)
            c.line_to(cx + math.cos(a) * 15 * s, cy + math.sin(a) * 15 * s)
            c.move_to(cx, cy)
            c.line_to(cx - math.cos(a) * 15 * s, cy - math.sin(a) * 15 * s)
        c.set_source_rgba(1, 0.95, 0.8, 0.5 * s)
        c.set_line_width(0.8)
        c.stroke()
        frames.append(cv.image())
    return strip(frames)


def ember():
    """A soft spark leaving the flame (drawn white; the particles tint it)."""
    cv = Canvas(6, 6)
    c = cv.ctx
    c.arc(3, 3, 2.6, 0, 2 * math.pi)
    c.set_source(rad(c, 3, 3, 0, 2.6, [(0, (1, 1, 1, 1)), (0.5, (1, 1, 1, 0.55)), (1, (1, 1, 1, 0))]))
    c.fill()
    return cv.image()


FIRE = dict(normal=(6, 720), low=(6, 480), end=(9, 810))


def draw_lamp(board):
    save_png(lamp_body(), os.path.join(board, "lamp_body.png"))
    save_png(lamp_empty(), os.path.join(board, "lamp_empty.png"))
    save_png(lamp_glass(), os.path.join(board, "lamp_glass.png"))
    save_png(lamp_glint(), os.path.join(board, "lamp_glint.png"))
    save_png(lamp_warning(), os.path.join(board, "lamp_warning.png"))
    save_png(flame_frames(FIRE["normal"][0], 20, 6.0, (255, 252, 220), (255, 150, 40), 0.4),
             os.path.join(board, "lamp_fire.png"))
    save_png(flame_frames(FIRE["low"][0], 11, 4.2, (255, 220, 150), (240, 90, 30), 1.3),
             os.path.join(board, "lamp_fire_low.png"))
    save_png(flame_frames(FIRE["end"][0], 7, 3.2, (200, 210, 255), (200, 60, 40), 2.1, sputter=True),
             os.path.join(board, "lamp_fire_end.png"))
    save_png(fire_shine(), os.path.join(board, "lamp_fire_shine.png"))
    save_png(ember(), os.path.join(board, "lamp_ember.png"))


def attr(**kw):
    return "".join(' %s="%s"' % (k, ("yes" if v else "no") if isinstance(v, bool) else v) for k, v in kw.items())


def pic(name, res, box, visible=True, **kw):
    x, y, w, h = box
    return '<widget type="image_widget" name="%s"%s/>' % (name, attr(visible=visible, anchor_left=x, anchor_top=y,
                                                                      width=w, height=h, resourcename=res, **kw))


def animation(name, res, box, frames, ms, loop, visible, cycle=0):
    x, y, w, h = box
    return '<widget type="animation_widget" name="%s"%s/>' % (
        name, attr(visible=visible, anchor_left=x, anchor_top=y, width=w, height=h, resourcename=res,
                   framescount=frames, resourcewidth=w * frames, resourceleft=0, resourcetop=0, resourceheight=h,
                   animationtime=ms, loop=loop, startdelaytime=0, cycledelaytime=cycle, stoponfirst=False,
                   reverse=False))


def resource_names(list_name):
    path = os.path.join(DATA, "res", list_name)
    if not os.path.exists(path):
        return set()
    import re
    with open(path, encoding="utf-8") as f:
        return set(re.findall(r'name="([^"]+)"', f.read()))


def sound_resource(name, fallback):
    """The sound's own resource when the sounds have it, else a stand-in."""
    return name if name in resource_names("sounds.xml") else fallback


def lamp():
    """The "quest_mode" group of GS_Game with the lamp; the board shows the
    lamp in the timed mode only."""
    flame_box = FLAME_BOX
    parts = [
        pic("body", "board_lamp_body", (0, 0, LAMP_W, LAMP_H)),
        pic("image_oil_lamp", "board_lamp_empty", OIL_BOX),
        pic("glass", "board_lamp_glass", OIL_BOX),
        animation("image_oil_lamp_shine", "board_lamp_glint", OIL_BOX, GLINT_FRAMES, 560, False, False),
        '<widget type="blink_widget" name="blink_OilLamp"%s/>' % attr(
            visible=False, anchor_left=WARN_BOX[0], anchor_top=WARN_BOX[1], width=WARN_BOX[2], height=WARN_BOX[3],
            resourcename="board_lamp_warning", firstperiod=160, secondperiod=480, start_transparentlevel=0,
            peak_transparentlevel=255, end_transparentlevel=0, loops_count=1),
        animation("fire_shine", "board_lamp_fire_shine", SHINE_BOX, 8, 640, True, True, cycle=30000),
        animation("fire", "board_lamp_fire", flame_box, FIRE["normal"][0], FIRE["normal"][1], True, True),
        animation("fire_animation", "board_lamp_fire_low", flame_box, FIRE["low"][0], FIRE["low"][1], True, False),
        animation("fire_end", "board_lamp_fire_end", flame_box, FIRE["end"][0], FIRE["end"][1], True, False),
        '<widget type="stochastic_particle_system" name="ps_OilLamp"%s><widgets>%s</widgets></widget>' % (
            attr(visible=True, width=LAMP_W, height=LAMP_H, emission_x=TIP[0] + 1, emission_y=TIP[1] - 12,
                 emission_radius=2, emission_count=0, speed_min=8, speed_max=22, spread=70, direction=270,
                 lifetime_min=300, lifetime_max=800, color_start="$FFFFD890", color_end="$00FF7030"),
            '<widget type="image_widget" name="particle" visible="yes" anchor_left="-3" anchor_top="-3" '
            'width="6" height="6" resourcename="board_lamp_ember"/>'),
    ]
    sounds = ('<sounds><sound name="sound_attention" resourcename="%s"/>'
              '<sound name="sound_attention2s" resourcename="%s"/></sounds>' %
              (sound_resource("sound_attention", "sound_tick"), sound_resource("sound_attention2s", "sound_tick")))
    control = ('<widget type="ZintaraOilLampControl" name="OilLamp_control"%s><widgets>%s</widgets>%s</widget>' %
               (attr(visible=False, anchor_left=LAMP_X, anchor_top=LAMP_Y, width=LAMP_W, height=LAMP_H,
                     OilLampStartAnimationTime=60000, OilLampEndAnimationTime=15000), "".join(parts), sounds))
    return '<widget type="group_widget" name="quest_mode" visible="yes" z="50"><widgets>%s</widgets></widget>' % control


def game_musics():
    """The game screen's musics: the three background loops (the plain
    game music standing in for those not made yet) and the plain one."""
    have = resource_names("music.xml")
    items = [("music_background%d" % i, "music_background%d" % i if "music_background%d" % i in have
              else "music_game") for i in range(3)]
    return items + [("music_background", "music_game")]


# --- the pause menu --------------------------------------------------------------------------
MENU_W = 240
HEAD_H, ROW_H, FOOT_H = 64, 40, 26
MENU_X, MENU_HEAD_Y = 200, 82
PILL_W, PILL_H = 200, 36


def menu_panel(rows=4):
    """The whole drop-down drawn once at its full length; the pictures are
    cut from it, so its rows tile without a seam."""
    h = HEAD_H + ROW_H * rows + FOOT_H
    cv = Canvas(MENU_W, h)
    c = cv.ctx
    m = 4
    rounded_rect(c, m, m, MENU_W - 2 * m, h - 2 * m, 20)
    c.set_source_rgba(*rgb(mix(DUSK, NIGHT, 0.35), 0.97))
    c.fill()
    # the title band
    rounded_rect(c, m + 6, m + 6, MENU_W - 2 * m - 12, HEAD_H - m - 10, 14)
    c.set_source(lin(c, 0, m, 0, HEAD_H, [(0, rgb(mix(DUSK, MIST, 0.35), 0.9)), (1, rgb(DUSK, 0.6))]))
    c.fill()
    rounded_rect(c, m + 0.8, m + 0.8, MENU_W - 2 * m - 1.6, h - 2 * m - 1.6, 19.2)
    c.set_source(lin(c, 0, 0, MENU_W * 0.3, h * 0.4, [(0, rgb(mix(GOLD, (255, 255, 255), 0.4))), (0.5, rgb(GOLD)),
                                                      (1, rgb(mix(GOLD, INK, 0.45)))]))
    c.set_line_width(1.8)
    c.stroke()
    rounded_rect(c, m + 3.2, m + 3.2, MENU_W - 2 * m - 6.4, h - 2 * m - 6.4, 16.8)
    c.set_source_rgba(*rgb(MOON, 0.2))
    c.set_line_width(0.8)
    c.stroke()
    out = cv.layer()
    out.paint_layer(blurred_shadow(cv, 1.2, 0.6))
    out.paint_layer(cv)
    return out.image(), h


def draw_menu(ui):
    panel, h = menu_panel()
    head = panel.crop((0, 0, MENU_W, HEAD_H))
    row = panel.crop((0, HEAD_H + ROW_H, MENU_W, HEAD_H + 2 * ROW_H))
    foot = panel.crop((0, h - FOOT_H, MENU_W, h))
    save_png(head, os.path.join(ui, "pause_head.png"))
    save_png(foot, os.path.join(ui, "pause_foot.png"))
    for state, name in (("normal", "normal"), ("hover", "hover"), ("disabled", "disabled")):
        out = row.copy()
        button = pill(PILL_W, PILL_H, state)
        out.alpha_composite(button, ((MENU_W - PILL_W) // 2, (ROW_H - PILL_H) // 2))
        save_png(out, os.path.join(ui, "pause_row_%s.png" % name))


PAUSE_BUTTONS = [  # name, caption, what it does
    ("button_unpause", "LevelResume", "closes the menu: play goes on"),
    ("button_restart", "PauseRestart", "asks GS_QueryRestart, then the same level starts again"),
    ("button_options", "MenuOptions", "shows GS_Options"),
    ("button_rules", "PauseRules", "shows GS_HowToPlay"),
    ("button_main_menu", "LevelMenu", "asks GS_QueryMainMenu, then the game screen closes"),
]
# The shade leaves the top strip (scores, level and lamp) clear, so the
# game screen below stays in view (a screen covered whole is not drawn).
SHADE_TOP = 37


def screens(shell, names=()):
    """GS_MiniMenu, GS_QueryMainMenu and GS_QueryRestart, with the shell's
    helpers (make_shell) for the widgets and the layout table. "Rules" is
    shown when the game has the how-to-play screen among `names` (the
    menu counts and lays out its visible buttons only)."""
    out = []
    shell._current[0] = "GS_MiniMenu"
    group_top = MENU_HEAD_Y + HEAD_H
    rows = []
    shown = [b for b in PAUSE_BUTTONS if b[0] != "button_rules" or "GS_HowToPlay" in names]
    for name, key, what in PAUSE_BUTTONS:
        i = shown.index((name, key, what)) if (name, key, what) in shown else -1
        if i >= 0:
            shell.note(name, "button", MENU_X + MENU_W // 2, group_top + ROW_H * i + ROW_H // 2,
                       what + " (once the menu has dropped down)")
        rows.append(shell.widget("ButtonControl", name, visible=i >= 0, mousestop=True, enabled=True, tabstop=True,
                                 anchor_left=0, anchor_top=0, width=MENU_W, height=ROW_H, sounds=shell.CLICK,
                                 children=[
                                     shell.image("image_normal", "ui_pause_row_normal", 0, 0, MENU_W, ROW_H,
                                                 visible=False),
                                     shell.image("image_selected", "ui_pause_row_hover", 0, 0, MENU_W, ROW_H,
                                                 visible=False),
                                     shell.image("image_disabled", "ui_pause_row_disabled", 0, 0, MENU_W, ROW_H,
                                                 visible=False),
                                     shell.text("caption", key, 0, 0, MENU_W, ROW_H - 2, font="font_button"),
                                 ]))
    # Stacked at the top, the last row lies uppermost: it slides out first
    # and uncovers the one before it.
    out.append(shell.screen("ZintaraMiniMenuGameScreen", "GS_MiniMenu", [
        shell.widget("rect_widget", "shadow_rect", visible=True, anchor_left=0, anchor_top=SHADE_TOP, width=shell.W,
                     height=shell.H - SHADE_TOP, color="$B8060818", transparentlevel=0),
        shell.widget("group_widget", "buttons_group", visible=True, mousestop=True, anchor_left=MENU_X, anchor_top=group_top,
                     children=rows),
        shell.image("bottom_window", "ui_pause_foot", MENU_X, group_top + ROW_H, MENU_W, FOOT_H),
        shell.image("head", "ui_pause_head", MENU_X, MENU_HEAD_Y, MENU_W, HEAD_H),
        shell.text("title", "LevelPaused", MENU_X, MENU_HEAD_Y + 8, MENU_W, HEAD_H - 14, font="font_title"),
    ]))
    for name, title, question in (("GS_QueryRestart", "QueryRestartTitle", "QueryRestartText"),
                                  ("GS_QueryMainMenu", "QueryMainMenuTitle", "QueryMainMenuText")):
        shell._current[0] = name
        out.append(shell.screen("GameScreenQueryDialog", name, [
            shell.dialog_panel(140, 140),
            shell.text("title", title, 140, 152, 360, 42, font="font_title"),
            shell.text("question", question, 170, 200, 300, 60, multiline=True),
            shell.button("button_yes", "DialogYes", 160, 280, "answers yes"),
            shell.button("button_cancel", "DialogNo", 330, 280, "back to the pause (Escape too)"),
        ], effects=True))
    return out


def main(data):
    draw_lamp(os.path.join(data, "img", "board"))
    draw_menu(os.path.join(data, "img", "ui"))


if __name__ == "__main__":
    main(sys.argv[1])
