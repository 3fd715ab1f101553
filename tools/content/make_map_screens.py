"""The map and the screens around it for make_shell.py: "GS_Map" (type
ZintaraGameScreenMap) with its two garden pages, "GS_LevelRecords",
"GS_History" (the story), "GS_Trophies" and "GS_NewDifficulty".

A page ("map1", "map2", type ZintaraMapControl) is its picture, one
location widget per landmark with its overlays, one stepping-stone button
per level ("maplevel" + number, centred on its point by the page), and the
mascot "quib" with its five poses; its description lists the levels'
points and the locations' levels (map_layout.py, shared with the pictures
of make_map.py)."""

import map_layout as layout

STONE = 30
QUIB_W, QUIB_H = 48, 56
OVERLAY = 80


def _stone_button(shell, level, x, y):
    """A level's button: the stone, its number on it."""
    return shell.widget("ButtonControl", "maplevel%d" % level, visible=True, mousestop=True, enabled=False,
                        tabstop=False, anchor_left=x - STONE // 2, anchor_top=y - STONE // 2, width=STONE,
                        height=STONE, z=2, sounds=shell.CLICK, children=[
                            shell.image("image_normal", "map_stone_normal", 0, 0, STONE, STONE, visible=False),
                            shell.image("image_selected", "map_stone_hover", 0, 0, STONE, STONE, visible=False),
                            shell.image("image_disabled", "map_stone_disabled", 0, 0, STONE, STONE,
                                        visible=False),
                            shell.widget("text_widget", "caption", visible=True, anchor_left=0, anchor_top=0,
                                         width=STONE, height=STONE - 2, resourcename="font_body",
                                         textalign="center", textvertalign="middle", text=str(level)),
                        ])


def _location(shell, name, first, last, x, y):
    """A landmark's overlays, centred a little above its foot."""
    kids = []
    for pic in ("location_animation", "location_complete", "location_lock", "clouds"):
        kids.append(shell.image(pic, "map_" + pic, -OVERLAY // 2, -OVERLAY + 14, OVERLAY, OVERLAY, visible=False))
    return shell.widget("ZintaraLocationWidget", "location_" + name, visible=True, anchor_left=x, anchor_top=y, z=1,
                        start_level=first - 1, end_level=last, children=kids)


def _quib(shell):
    poses = [shell.image(pose, "map_" + pose, 0, 0, QUIB_W, QUIB_H, visible=(pose == "quib_stay"))
             for pose in ("quib_stay", "quib1", "quib2", "quib3", "quib4")]
    return shell.widget("ZintaraQuibControl", "quib", visible=False, mousestop=True, enabled=True, anchor_left=0,
                        anchor_top=0, width=QUIB_W, height=QUIB_H, z=5, children=poses)


def _page(shell, number):
    pos = layout.level_positions()
    levels = [lv for lv in sorted(pos) if layout.page_of(lv) == number]
    kids = [shell.image("picture", "map_page%d" % number, 0, 0, shell.W, shell.H)]
    places = layout.location_places()
    for name, first, last in layout.LOCATIONS:
        x, y, page = places[name]
        if page == number:
            kids.append(_location(shell, name, first, last, x, y))
    for lv in levels:
        kids.append(_stone_button(shell, lv, *pos[lv]))
    kids.append(_quib(shell))
    head = shell.widget("ZintaraMapControl", "map%d" % number, visible=(number == 1), enabled=True, mousestop=True,
                        anchor_left=0, anchor_top=0, width=shell.W, height=shell.H, children=kids)
    points = "".join('<maplevel name="%d" anchor_left="%d" anchor_top="%d" z="1"/>' % (lv, pos[lv][0], pos[lv][1])
                     for lv in levels)
    locations = "".join(
        '<location name="%s"><levels>%s</levels></location>' %
        (name, "".join('<level number="%d"/>' % lv for lv in range(first, last + 1)))
        for name, first, last in layout.LOCATIONS if places[name][2] == number)
    # the page's description after its children
    assert head.endswith("</widget>")
    return head[:-len("</widget>")] + "<maplevels>" + points + "</maplevels><locations>" + locations + \
        "</locations></widget>"


def _map(shell):
    shell._current[0] = "GS_Map"
    shell.note("maplevelN", "button", 0, 0, "level N's stone on its page (map_layout.py gives the points); "
               "enabled below the current level, opens GS_LevelRecords")
    shell.note("quib", "mascot", 0, 0, "stands 35 px above the current level's stone; a click starts the level")
    bar_y = 432
    # Play comes first among the tab stops: Return on the map plays.
    kids = [shell.button("button_start", "MapPlay", 490, bar_y, "plays the current level (the mascot too)", z=10),
            _page(shell, 1), _page(shell, 2),
            shell.widget("stochastic_particle_system", "ps_location", visible=False, anchor_left=0, anchor_top=0,
                         width=OVERLAY, height=OVERLAY, z=20, emission_x=OVERLAY // 2, emission_y=OVERLAY // 2,
                         emission_radius=30, emission_count=0, speed_min=10, speed_max=40, spread=360,
                         direction=270, lifetime_min=400, lifetime_max=900, color_start="$FFFFE8AA",
                         color_end="$00F0C45A", children=[
                             shell.image("particle", "board_spark_small", -3, -3, 6, 6)]),
            shell.button("button_close", "MapBack", 10, bar_y, "back to the main screen (Escape too)",
                         actiontype="closegamescreen", z=10),
            shell.button("button_stage1", "MapPage1", 170, bar_y, "shows page 1 (levels 1 to 36)", z=10),
            shell.button("button_stage2", "MapPage2", 330, bar_y, "shows page 2 (levels 37 to 71)", z=10),
            shell.button("button_trophies", "MapTrophies", 490, 8, "shows GS_Trophies", z=10),
            shell.text("title", "MapTitle", 10, 8, 300, 40, font="font_title", align="left")]
    return shell.screen("ZintaraGameScreenMap", "GS_Map", kids, music="music_menu")


def _records(shell):
    shell._current[0] = "GS_LevelRecords"
    x, y, w = 140, 100, 360

    def row(name, key, top):
        return [shell.text("label_" + name, key, x + 30, top, 150, 24, align="left"),
                shell.text(name, None, x + 190, top, 140, 24, font="font_button", align="right")]

    solo = lambda mode: shell.widget("group_widget", mode, visible=False, children=(
        row("best_score_level", "RecordsBestScore", y + 96) +
        [shell.text("best_score_level_name", None, x + 30, y + 120, 300, 22, align="right")] +
        (row("best_time_level", "RecordsBestTime", y + 146) +
         [shell.text("best_time_level_name", None, x + 30, y + 170, 300, 22, align="right")]
         if mode == "classic" else [])))
    duel = shell.widget("group_widget", "duel_computer", visible=False,
                        children=row("Level_player_wins", "RecordsDuelWins", y + 96))
    kids = [shell.image("panel", "ui_panel_tall", 120, 60, 400, 360),
            shell.text("title", "RecordsTitle", 120, 72, 400, 42, font="font_title"),
            shell.text("level_info", None, x, y + 28, w, 24, font="font_score"),
            solo("relax"), solo("classic"), duel,
            shell.button("button_replay", "RecordsReplay", 140, 300, "plays the level again as a replay"),
            shell.button("button_duel2players", "RecordsDuel2", 350, 300,
                         "plays the level as a duel of two players"),
            shell.button("button_close", "DialogClose", 245, 356, "closes the records")]
    return shell.screen("ZintaraGameScreenLevelRecords", "GS_LevelRecords", kids, effects=True)


def _history(shell):
    shell._current[0] = "GS_History"
    kids = [shell.image("panel", "ui_panel_tall", 120, 60, 400, 360),
            shell.text("label_history", None, 120, 74, 400, 42, font="font_title"),
            shell.text("text_history", None, 150, 130, 340, 210, multiline=True, valign="top"),
            shell.button("button_close", "StoryGoOn", 245, 356, "closes the story")]
    return shell.screen("ZintaraGameScreenHistory", "GS_History", kids, effects=True)


def _trophies(shell, factory):
    shell._current[0] = "GS_Trophies"
    import make_map
    kids = [shell.image("wall", "map_trophies", 0, 0, shell.W, shell.H),
            shell.text("title", "TrophiesTitle", 0, 20, shell.W, 48, font="font_title")]
    for n in range(1, 15):
        cx, cy = make_map.trophy_slot(n)
        kids.append(shell.widget("ButtonControl", "artifact%d" % n, visible=False, mousestop=True, enabled=True,
                                 anchor_left=cx - 25, anchor_top=cy - 25, width=50, height=50, children=[
                                     shell.image("image_normal", "board_artifact_big_%d" % n, 0, 0, 50, 50)]))
    desc = [shell.image("panel", "ui_panel_dialog", 140, 140, 360, 200)]
    for n in range(1, 15):
        desc.append(shell.widget("group_widget", "artifact%d" % n, visible=False, children=[
            shell.text("name", "ArtifactName%d" % n, 150, 152, 340, 40, font="font_title"),
            shell.text("text", "ArtifactText%d" % n, 170, 196, 300, 80, multiline=True)]))
    desc.append(shell.button("button_ok", "DialogOK", 245, 280, "hides the description"))
    kids.append(shell.widget("group_widget", "ArtifactDescription", visible=False, z=30, children=desc))
    kids.append(shell.image("quib_new_artifact_up", "map_quib3", 296, 420, QUIB_W, QUIB_H, visible=False,
                            animationtime=600))
    kids.append(shell.image("quib_new_artifact_down", "map_quib_stay", 296, 420, QUIB_W, QUIB_H, visible=False))
    kids.append(shell.widget("stochastic_particle_system", "stsystem", visible=False, width=20, height=20, z=25,
                             emission_radius=4, emission_count=0, speed_min=5, speed_max=25, spread=360,
                             direction=90, lifetime_min=300, lifetime_max=700, color_start="$FFFFE8AA",
                             color_end="$00F0C45A",
                             children=[shell.image("particle", "board_spark_small", -3, -3, 6, 6)]))
    kids.append(shell.button("button_close", "DialogClose", 245, 428, "closes the trophy room"))
    name, type_, xml = shell.screen("ZintaraGameScreenTrophies", "GS_Trophies", kids, music="music_menu")
    # The flying artifact comes from the screen's own factory, from the
    # mascot's paws.
    artifact = factory("Artifact", '<widget type="image_widget" name="artifact" visible="yes" anchor_left="296" '
                       'anchor_top="400" width="50" height="50" resourcename="board_artifact_big_%artifact%"/>')
    xml = xml.replace("</window>", "<widgetfactories>" + artifact + "</widgetfactories></window>", 1)
    return name, type_, xml


def _new_difficulty(shell):
    shell._current[0] = "GS_NewDifficulty"
    return shell.screen("GameScreenQueryDialog", "GS_NewDifficulty", [
        shell.dialog_panel(140, 140),
        shell.text("title", "NewDifficultyTitle", 140, 152, 360, 42, font="font_title"),
        shell.text("label_text", "NewDifficultyText", 170, 200, 300, 70, multiline=True),
        shell.button("button_ok", "DialogOK", 245, 280, "starts the next round"),
    ], effects=True)


def screens(shell, factory):
    return [_map(shell), _records(shell), _history(shell), _trophies(shell, factory), _new_difficulty(shell)]
