"""The contract: what the program looks up, read from content/contract/*.txt.

One entry per line, blank-separated, '#' starts a comment line:
  file PATH                 a file opened by its exact path
  picture PATH              a picture named without extension
  image PATH [screen]       a layered image (a folder with layers.xml);
                            "screen": its layers lie within the screen
  layer IMAGE NAME KIND     a layer of an image; KIND is picture, rect or any
  frames SET GROUP MIN      a sprite-set group with at least MIN frames
  key NAME [SIGNATURE]      a string key; SIGNATURE is its placeholders in
                            order (%d%s...), "-" or nothing for none
  sound TAG                 a sound tag of the sound sheet
  effect NAME               a particle effect
  id N                      a unit, tower or ammo id of the sheets
  unreferenced PATH         a file that nothing references but belongs
  pattern KIND TEMPLATE     a family of entries derived from the data
"""
import os

from content import paths

KINDS = {"file": 1, "picture": 1, "image": (1, 2), "layer": 3, "frames": 3, "key": (1, 2),
         "sound": 1, "effect": 1, "id": 1, "unreferenced": 1, "pattern": 2}


class Entry:
    def __init__(self, kind, args, where):
        self.kind = kind
        self.args = args
        self.where = where  # (file, line)

    def __repr__(self):
        return "Entry(%s %s)" % (self.kind, " ".join(self.args))


class Contract:
    def __init__(self, folder=paths.CONTRACT_DIR):
        self.entries = []
        self.problems = []
        if not os.path.isdir(folder):
            return
        for name in sorted(os.listdir(folder)):
            if not name.endswith(".txt"):
                continue
            full = os.path.join(folder, name)
            shown = os.path.relpath(full, paths.REPO_DIR)
            with open(full, encoding="utf-8") as fh:
                for number, line in enumerate(fh, 1):
                    line = line.strip()
                    if not line or line.startswith("#"):
                        continue
                    parts = line.split()
                    kind, args = parts[0], parts[1:]
                    want = KINDS.get(kind)
                    if want is None:
                        self.problems.append((shown, number, "unknown contract entry %r" % kind))
                        continue
                    lo, hi = want if isinstance(want, tuple) else (want, want)
                    if kind == "pattern":
                        hi = 99
                    if not lo <= len(args) <= hi:
                        self.problems.append((shown, number, "%s takes %d value(s)" % (kind, lo)))
                        continue
                    self.entries.append(Entry(kind, args, (shown, number)))

    def of(self, kind):
        return [e for e in self.entries if e.kind == kind]

    def names(self, kind):
        return [e.args[0] for e in self.of(kind)]

    def patterns(self, kind):
        return [e for e in self.of("pattern") if e.args[0] == kind]
