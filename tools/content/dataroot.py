"""Read access to a data root: loose folders, or "nq/" served from "data.dat"
(the game's mount) with "data/" and "logo/" loose beside it."""
import os
import struct

from content import paths

PACK_NAME = "data.dat"
PACK_PREFIX = "nq/"
PACK_MAGIC = b"hvpack"


class PackError(Exception):
    pass


def read_pack_directory(blob):
    """Entries of a pack as {name: (offset, size)}; raises PackError when the
    directory is damaged."""
    def u32(at):
        if at + 4 > len(blob):
            raise PackError("truncated directory")
        return struct.unpack_from("<I", blob, at)[0]

    magic_len = u32(0)
    if magic_len != len(PACK_MAGIC) or blob[4:4 + magic_len] != PACK_MAGIC:
        raise PackError("bad magic")
    at = 4 + magic_len
    count = u32(at)
    at += 4
    entries = {}
    for _ in range(count):
        n = u32(at)
        at += 4
        if at + 2 * n + 13 > len(blob):
            raise PackError("truncated directory")
        name = blob[at:at + 2 * n].decode("utf-16-le")
        at += 2 * n
        size, offset = struct.unpack_from("<II", blob, at)
        at += 13
        if offset + size > len(blob):
            raise PackError("entry %s runs past the end" % name)
        entries.setdefault(name, (offset, size))
    return entries


class DataRoot:
    """Files of the content's folders, by exact relative path."""

    def __init__(self, root):
        self.root = os.path.abspath(root)
        self.pack = None
        self.pack_entries = {}
        self.problem = None
        pack_path = os.path.join(self.root, PACK_NAME)
        self.packed = os.path.isfile(pack_path) and all(paths.is_path_cache(rel) for rel in self._loose("nq"))
        if self.packed:
            with open(pack_path, "rb") as fh:
                self.pack = fh.read()
            try:
                self.pack_entries = read_pack_directory(self.pack)
            except PackError as e:
                self.problem = "%s: %s" % (PACK_NAME, e)
        self._files = self._list_all()
        self._dirs = {}
        for rel in self._files:
            parts = rel.split("/")
            for i in range(1, len(parts)):
                self._dirs.setdefault("/".join(parts[:i]), set()).add(parts[i])
        self._dirs.setdefault("", set()).update(rel.split("/")[0] for rel in self._files)

    def _loose(self, folder):
        top = os.path.join(self.root, folder)
        for dirpath, _, filenames in os.walk(top):
            for f in filenames:
                yield os.path.relpath(os.path.join(dirpath, f), self.root).replace(os.sep, "/")

    def _list_all(self):
        files = set()
        for folder in paths.CONTENT_FOLDERS:
            if self.packed and folder + "/" == PACK_PREFIX:
                files.update(PACK_PREFIX + name for name in self.pack_entries)
                continue
            files.update(self._loose(folder))
        return files

    def loose_path_cache(self, rel):
        """A packed root's loose copy of a path cache (None when it has none)."""
        path = os.path.join(self.root, rel)
        if not os.path.isfile(path):
            return None
        with open(path, "rb") as fh:
            return fh.read()

    def files(self):
        return sorted(self._files)

    def is_file(self, rel):
        return rel in self._files

    def is_dir(self, rel):
        return rel.rstrip("/") in self._dirs

    def listdir(self, rel):
        return sorted(self._dirs.get(rel.rstrip("/"), ()))

    def read(self, rel):
        if rel not in self._files:
            return None
        if self.packed and rel.startswith(PACK_PREFIX):
            offset, size = self.pack_entries[rel[len(PACK_PREFIX):]]
            return self.pack[offset:offset + size]
        with open(os.path.join(self.root, rel), "rb") as fh:
            return fh.read()

    def real_path(self, rel):
        """A loose file's path on disk (None inside the pack)."""
        if self.packed and rel.startswith(PACK_PREFIX):
            return None
        return os.path.join(self.root, rel)
