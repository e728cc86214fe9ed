"""Every label of the HUD, the level result and the unlock message fits its
text place on one line in its font: the program's text box breaks a line
that is too wide, inside a word when the word alone is too wide."""
import re

from content import labels

STRINGS = "nq/strings_en.csv"
SETUP = "nq/setup_sheet.csv"
LEVEL_FOLDERS = ("nq/levels_normal", "nq/levels_hardcore")
FONT_FOLDER = "nq/data/fonts/"


def read_text(cc, rel):
    data = cc.fs.read(rel)
    return data.decode("utf-8", "replace") if data is not None else None


def read_strings(cc):
    text = read_text(cc, STRINGS) or ""
    strings = {}
    for line in text.split("\n"):
        key, _, value = line.partition(";")
        strings.setdefault(key.strip(" \t"), value)
    return strings


def read_episodes(cc):
    """Episode indices and the most levels of an episode, normal or hardcore."""
    episodes, most = [], 0
    for line in (read_text(cc, SETUP) or "").split("\n"):
        cells = line.split(";")
        if len(cells) < 3 or not all(c.strip().isdigit() for c in cells[:3]):
            continue
        episodes.append(int(cells[0]))
        most = max(most, int(cells[1]), int(cells[2]))
    return sorted(episodes), most


def most_waves(cc):
    most = 0
    for folder in LEVEL_FOLDERS:
        for name in cc.fs.listdir(folder) or []:
            if name.endswith(".xml"):
                most = max(most, len(re.findall(r"<wave\b", read_text(cc, folder + "/" + name) or "")))
    return most


def check(cc):
    strings = read_strings(cc)
    episodes, most_levels = read_episodes(cc)
    texts = labels.label_texts(strings, episodes, most_levels, most_waves(cc))
    fonts = {}
    for name in (labels.WINDOW_FONT, labels.LARGE_FONT):
        data = cc.fs.read(FONT_FOLDER + name + ".fnt")
        if data is None:
            return  # the font check reports the missing font
        fonts[name] = labels.FontMetrics(data)
    for (layout, slot), candidates in sorted(texts.items()):
        image = cc.image(layout, (layout, 0))
        if image is None:
            continue
        place = image.layer("text/" + slot)
        if place is None:
            continue  # the contract check reports the missing place
        font = labels.font_for(slot)
        for text in candidates:
            width = fonts[font].width(text)
            if width > place.w:
                cc.error(image.xml, place.line, "text/%s: \"%s\" is %d px wide in %s, its place %d"
                         % (slot, text, width, font, place.w))
