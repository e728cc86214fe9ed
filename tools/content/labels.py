"""The texts the screens put into their text places, each at its widest, and
the bitmap font each is drawn in. The layout preview shows the slot texts; the
check measures every label with the built fonts."""
import re

# The windows draw in this font, their caption and result slots larger.
WINDOW_FONT = "main_42_3"
LARGE_FONT = "main_80"
LARGE_SLOTS = ("caption", "levelResult")
# Tab labels: built, selected, not selected.
TAB_FONTS = ("main_42_1", "main_42_3", "main_32_2")
STEP_FONT = "main_32_2"
HEADING_FONT = "main_42_2"   # the options' section headings
# Slots a window draws in another font than its own.
SLOT_FONTS = {("nq/data/message", "button"): LARGE_FONT}
# Widths the program gives its own text layers.
BADGE_WRAP = 80          # the level select's "new" seal
PAGE_BADGE_WRAP = 270    # the episode select's "new" seal
PAGE_TEXT_WRAP = 320     # a closed episode's page text, word by word
SHOP_CAPTION_WRAP = 429
TAB_WRAP = 211
PLATE_WRAP = 333         # an upgrade plate's name and step text
# A plate centres its name and, below it, its step text on these rows; the
# lowest ink of the name and the highest of the step text keep this gap.
PLATE_NAME_Y = 45
PLATE_STEP_Y = 74
PLATE_TEXT_GAP = 3
PLATE_FRAME = 6          # the plate picture's frame, which the texts keep off
# Over-button labels: every one large in the in-game menu and in the message
# box (its ok and cancel), else only "b2_play".
LARGE_LABEL_LAYOUTS = ("nq/data/ingame", "nq/data/mm")
LARGE_LABEL = "b2_play"
# Texts of the message box, which breaks lines only at "\n".
MESSAGE_BOX_KEYS = ("IllegalResolutionMessage", "profile_corrupt", "progress_confirm_text")
# An over-button's label keeps this much of its button free at either end,
# so that its letters stay off the button's rim.
BUTTON_LABEL_MARGIN = 12
# The switches' labels carry 2 px between letters.
SWITCH_SPACING = 2

# The dialogs whose caption, in the large font, stands under their panel's
# top frame, with the captions each shows; the caption's highest ink keeps
# this far below the frame (the panel's border, see draw.panel).
DIALOG_CAPTIONS = {
    "nq/data/mm": ["profile_edit_caption", "tutorial_skip_caption", "HardcoreTitle", "profile_delete_caption",
                   "profile_reset_caption", "reset_upgrades_title", "convertCristallToMoneyDialogTitle",
                   "buyHealthDialogTitle"],
    "nq/data/message": ["unlock_caption"],
}
PANEL_FRAME = 10
CAPTION_CLEARANCE = 12

# The widest numbers the counters and scores reach: gems held, gold, a kill
# or total score, the bonus of 25 lives kept, the gems of a first 3-star clear.
MOST_GEMS = "999"
MOST_GOLD = "9999"
MOST_SCORE = "9999"
MOST_LIFE_BONUS = "2500"
MOST_STAR_GEMS = "13"
# Lives of a level start (25 plus a bought bonus): two digits either way.
MOST_LIVES = 25


def font_for(slot, layout=None):
    if (layout, slot) in SLOT_FONTS:
        return SLOT_FONTS[(layout, slot)]
    return LARGE_FONT if slot in LARGE_SLOTS else WINDOW_FONT


def lines_of(text):
    """The lines of a text: the program breaks at "\n" written in the strings."""
    return text.split("\\n")


class Fixed:
    """Texts that must fit one line of a width: a number, or the width of a
    layer (layout, layer name)."""

    def __init__(self, what, font, width, keys, spacing=0, words=False, margin=0):
        self.what, self.font, self.width, self.keys = what, font, width, keys
        self.spacing, self.words, self.margin = spacing, words, margin


def fixed_labels(strings, over_buttons):
    """[Fixed] for the labels that lie in no text slot. strings: key -> text
    (only its keys are read here); over_buttons: {layout: [folder]}."""
    upgrade = sorted(k for k in strings if re.fullmatch(r"upgrade_\d+_name", k))
    steps = sorted(k for k in strings if re.fullmatch(r"upgrade_\d+_(step\d+|complete)", k))
    result = [
        Fixed("level select seal", WINDOW_FONT, BADGE_WRAP, ["episodeSelectNew"]),
        Fixed("episode select seal", LARGE_FONT, PAGE_BADGE_WRAP, ["episodeSelectNew"]),
        Fixed("closed episode page", LARGE_FONT, PAGE_TEXT_WRAP, ["unlockEpisodeText", "comingSoon"], words=True),
        Fixed("shop caption", LARGE_FONT, SHOP_CAPTION_WRAP, ["shop"]),
        Fixed("shop caption", LARGE_FONT, ("nq/shop", "text/caption"), ["shop"]),
        Fixed("upgrade name", WINDOW_FONT, PLATE_WRAP, upgrade),
        Fixed("upgrade step", STEP_FONT, PLATE_WRAP, steps),
        Fixed("message box", WINDOW_FONT, ("nq/data/mm", "text/message"), list(MESSAGE_BOX_KEYS)),
        Fixed("options title", LARGE_FONT, ("nq/options", "main_options/options_title"), ["options_OptionsTitle"]),
        Fixed("options heading", HEADING_FONT, ("nq/options", "main_options/sounds_and_music"), ["options_OptionsSounds"]),
        Fixed("options heading", HEADING_FONT, ("nq/options", "main_options/game_type"), ["options_OptionsGameType"]),
        Fixed("options heading", HEADING_FONT, ("nq/options", "main_options/window_type"), ["options_OptionsWindowType"]),
        Fixed("options button", LARGE_FONT, ("nq/options", "buttons/close/close_caption"), ["options_OptionsOk"]),
        Fixed("window switch", WINDOW_FONT, ("nq/options", "main_options/window/window_in"), ["options_caption"]),
        Fixed("fullscreen switch", WINDOW_FONT, ("nq/options", "main_options/fullscreen/main_menu_in"), ["options_fs"],
              spacing=SWITCH_SPACING),
    ]
    for font in TAB_FONTS:
        result.append(Fixed("tab", font, TAB_WRAP, ["shop_tab_%d" % i for i in range(3)] +
                            ["level_tab_%d" % i for i in range(3)]))
    for layout, folders in sorted(over_buttons.items()):
        for folder in folders:
            font = LARGE_FONT if layout in LARGE_LABEL_LAYOUTS or folder == LARGE_LABEL else WINDOW_FONT
            result.append(Fixed("button label", font, (layout, "button/%s/label" % folder), [folder],
                                margin=BUTTON_LABEL_MARGIN))
    return result


def label_texts(strings, episodes, most_levels, most_waves):
    """{(layout, slot): [texts]} for the given strings (key -> text), episode
    indices, the most levels of an episode and the most waves of a level. A
    text whose key is missing is left out (the string check reports it)."""
    def join(*parts):
        return None if None in parts else "".join(parts)

    s = strings.get
    result = "nq/ui_levelresult"
    texts = {
        ("nq/ui", "crystals"): [MOST_GEMS],
        ("nq/ui", "mana"): ["%d/%d" % (MOST_LIVES, MOST_LIVES)],
        ("nq/ui", "coins"): [MOST_GOLD],
        ("nq/ui", "waves"): [join(s("game_wave"), " %d/%d" % (most_waves, most_waves))],
        (result, "levelResult"): [s("game_win"), s("game_lose")],
        (result, "levelName"): [join(s(key % e), " %d - %d" % (e + 1, most_levels))
                                for e in episodes for key in ("episode%d", "episodeHardcore%d")],
        (result, "gameName"): [s("diff_easy"), s("diff_normal"), s("diff_hard")],
        (result, "killScore"): [join(s("game_kill_score"), MOST_SCORE)],
        (result, "lifeBonus"): [join(s("game_life_bonus"), MOST_LIFE_BONUS)],
        (result, "totalScore"): [join(s("game_total_score"), MOST_SCORE)],
        (result, "bestScore"): [join(s("game_best_score"), MOST_SCORE)],
        (result, "gems"): [join(s("gems"), ": " + MOST_STAR_GEMS)],
        ("nq/data/message", "caption"): [s("unlock_caption")],
        ("nq/data/message", "button"): [s("unlock_button")],
    }
    return {place: [t for t in candidates if t is not None] for place, candidates in texts.items()}


class FontMetrics:
    """Advances and kerning of a ".fnt" file, measured as the program's text
    box does: every glyph's advance plus the kerning from the one before;
    a character without a glyph adds nothing."""

    def __init__(self, fnt_bytes):
        import xml.etree.ElementTree as ET
        root = ET.fromstring(fnt_bytes)
        self.advance = {int(c.get("id")): int(c.get("xadvance")) for c in root.iter("char")}
        info = root.find("info")
        # The program's text box is as high as the font's size.
        self.size = int(info.get("size")) if info is not None else 0
        self.rows = {int(c.get("id")): (int(c.get("yoffset")), int(c.get("yoffset")) + int(c.get("height")))
                     for c in root.iter("char") if int(c.get("height")) > 0}
        self.kerning = {(int(k.get("first")), int(k.get("second"))): int(k.get("amount"))
                        for k in root.iter("kerning")}

    def width(self, text, spacing=0):
        total, prev = 0, None
        for ch in text:
            code = ord(ch)
            if code not in self.advance:
                continue
            total += self.advance[code] + spacing + (self.kerning.get((prev, code), 0) if prev is not None else 0)
            prev = code
        return total

    def ink_rows(self, text, centre_y):
        """(top, bottom) of a one-line text's ink when the program centres it
        vertically on centre_y, or None for a text without ink."""
        rows = [self.rows[ord(ch)] for ch in text if ord(ch) in self.rows]
        if not rows:
            return None
        top = centre_y - self.size // 2
        return top + min(r[0] for r in rows), top + max(r[1] for r in rows)
