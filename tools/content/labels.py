"""The texts the HUD, the level result and the unlock message put into their
text places, each at its widest, and the bitmap font each is drawn in. The
layout preview shows them; the check measures them with the built fonts."""

# The windows draw in this font, their caption and result slots larger.
WINDOW_FONT = "main_42_3"
LARGE_FONT = "main_80"
LARGE_SLOTS = ("caption", "levelResult")

# The widest numbers the counters and scores reach: gems held, gold, a kill
# or total score, the bonus of 25 lives kept, the gems of a first 3-star clear.
MOST_GEMS = "999"
MOST_GOLD = "9999"
MOST_SCORE = "9999"
MOST_LIFE_BONUS = "2500"
MOST_STAR_GEMS = "13"
# Lives of a level start (25 plus a bought bonus): two digits either way.
MOST_LIVES = 25


def font_for(slot):
    return LARGE_FONT if slot in LARGE_SLOTS else WINDOW_FONT


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
        self.kerning = {(int(k.get("first")), int(k.get("second"))): int(k.get("amount"))
                        for k in root.iter("kerning")}

    def width(self, text):
        total, prev = 0, None
        for ch in text:
            code = ord(ch)
            if code not in self.advance:
                continue
            total += self.advance[code] + (self.kerning.get((prev, code), 0) if prev is not None else 0)
            prev = code
        return total
