"""Every label fits its place on one line in its font: the program's text box
breaks a line that is too wide, inside a word when the word alone is too
wide, and some labels are drawn without any break."""
import re

from content import labels

STRINGS = "nq/strings_en.csv"
SETUP = "nq/setup_sheet.csv"
LEVEL_FOLDERS = ("nq/levels_normal", "nq/levels_hardcore")
FONT_FOLDER = "nq/data/fonts/"
# Layouts whose buttons are over-buttons with a label place each.
SHOP = "nq/shop"
PLATE = "item_plate/Layer_1"
OVER_BUTTON_LAYOUTS = ("nq/data/mm", "nq/data/ingame", "nq/main_menu", "nq/data/profiles")


def read_text(cc, rel):
    data = cc.fs.read(rel)
    return data.decode("utf-8", "replace") if data is not None else None


def read_strings(cc):
    """key -> (text, line number)."""
    text = read_text(cc, STRINGS) or ""
    strings = {}
    for number, line in enumerate(text.split("\n"), 1):
        key, _, value = line.partition(";")
        strings.setdefault(key.strip(" \t"), (value, number))
    return strings


def over_buttons(cc):
    found = {}
    for layout in OVER_BUTTON_LAYOUTS:
        image = cc.image(layout, (layout, 0))
        if image is None:
            continue
        found[layout] = sorted(l.name.split("/")[1] for l in image.layers
                               if len(l.name.split("/")) == 3 and l.name.startswith("button/")
                               and l.name.endswith("/label"))
    return found


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
    numbered = read_strings(cc)
    strings = {key: text for key, (text, _) in numbered.items()}
    episodes, most_levels = read_episodes(cc)
    texts = labels.label_texts(strings, episodes, most_levels, most_waves(cc))
    fonts = {}
    for name in sorted({labels.WINDOW_FONT, labels.LARGE_FONT, labels.STEP_FONT, labels.HEADING_FONT} | set(labels.TAB_FONTS)):
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
        font = labels.font_for(slot, layout)
        for text in candidates:
            width = fonts[font].width(text)
            if width > place.w:
                cc.error(image.xml, place.line, "text/%s: \"%s\" is %d px wide in %s, its place %d"
                         % (slot, text, width, font, place.w))

    check_fixed(cc, numbered, fonts)
    check_plates(cc, numbered, fonts)
    check_captions(cc, numbered, fonts)


def check_captions(cc, numbered, fonts):
    """A dialog's caption is centred on its place; its letters stay clear of
    the panel's top frame."""
    font = fonts[labels.LARGE_FONT]
    for layout, keys in sorted(labels.DIALOG_CAPTIONS.items()):
        image = cc.image(layout, (layout, 0))
        back = image.layer("back") if image else None
        place = image.layer("text/caption") if image else None
        if back is None or place is None:
            continue  # the contract check reports the missing layer
        lowest_allowed = back.y + labels.PANEL_FRAME + labels.CAPTION_CLEARANCE
        for key in keys:
            if key not in numbered:
                continue  # the string check reports it
            text, number = numbered[key]
            rows = font.ink_rows(text, place.y + place.h // 2)
            if rows is not None and rows[0] < lowest_allowed:
                cc.error(image.xml, place.line, "text/caption: %s \"%s\" begins at row %d in %s, the frame of "
                         "\"back\" needs it at row %d or lower" % (key, text, rows[0], labels.LARGE_FONT,
                                                                    lowest_allowed))


def check_plates(cc, numbered, fonts):
    """On an upgrade plate the name and the step texts under it do not touch
    (one report per upgrade, against its highest step text), and the lowest
    of all step texts keeps off the plate's frame."""
    name_font, step_font = fonts[labels.WINDOW_FONT], fonts[labels.STEP_FONT]
    lowest = None
    for key, (name, number) in sorted(numbered.items()):
        found = re.fullmatch(r"(upgrade_\d+_)name", key)
        name_rows = name_font.ink_rows(name, labels.PLATE_NAME_Y) if found else None
        if name_rows is None:
            continue
        pattern = re.escape(found.group(1)) + r"(step\d+|complete)"
        steps = [(step_font.ink_rows(text, labels.PLATE_STEP_Y), step_key, text)
                 for step_key, (text, _) in sorted(numbered.items()) if re.fullmatch(pattern, step_key)]
        steps = [step for step in steps if step[0] is not None]
        if not steps:
            continue
        (top, _), step_key, step = min(steps)
        if top - name_rows[1] < labels.PLATE_TEXT_GAP:
            cc.error(STRINGS, number, "upgrade name %s: \"%s\" ends at row %d of its plate, the step text %s "
                     "\"%s\" begins at row %d (%s over %s): they need %d px between them"
                     % (key, name, name_rows[1], step_key, step, top, labels.WINDOW_FONT, labels.STEP_FONT,
                        labels.PLATE_TEXT_GAP))
        low = max(steps, key=lambda step: step[0][1])
        if lowest is None or low[0][1] > lowest[0][1]:
            lowest = low

    shop = cc.image(SHOP, (SHOP, 0))
    plate = shop.layer(PLATE) if shop else None
    if lowest is None or plate is None:
        return  # the contract check reports a missing plate
    (_, bottom), step_key, step = lowest
    if bottom > plate.h - labels.PLATE_FRAME:
        cc.error(shop.xml, plate.line, "%s: %d high, its frame %d; the step text %s \"%s\" reaches row %d in %s"
                 % (PLATE, plate.h, labels.PLATE_FRAME, step_key, step, bottom, labels.STEP_FONT))


def check_fixed(cc, numbered, fonts):
    strings = {key: text for key, (text, _) in numbered.items()}
    for label in labels.fixed_labels(strings, over_buttons(cc)):
        width, source = label.width, "%d" % label.width if isinstance(label.width, int) else None
        if not isinstance(width, int):
            image = cc.image(width[0], (width[0], 0))
            place = image.layer(width[1]) if image else None
            if place is None:
                continue  # the contract check reports the missing place
            width, source = place.w, "%s of %s" % (width[1], width[0])
        if label.margin:
            width -= 2 * label.margin
            source += " less %d at either end" % label.margin
        for key in label.keys:
            if key not in numbered:
                continue  # the string check reports it
            text, number = numbered[key]
            pieces = text.split(" ") if label.words else labels.lines_of(text)
            for piece in pieces:
                measured = fonts[label.font].width(piece, label.spacing)
                if measured > width:
                    cc.error(STRINGS, number, "%s %s: \"%s\" is %d px wide in %s, its place %s"
                             % (label.what, key, piece, measured, label.font, source))
