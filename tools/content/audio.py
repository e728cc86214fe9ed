"""Sound effects and music: text scores rendered by tools/make_audio."""
import os
import re
import struct

SOUND_FOLDER = "nq/data/sound"
SCORE_SUFFIX = ".score"


def score_format(text):
    """"ogg" or "wav", as the score's "format" line says (ogg without one)."""
    m = re.search(r"^\s*format\s+(\w+)", text, re.M)
    return m.group(1) if m else "ogg"


def render_job(env, score_path, out_rel, preview_rel):
    """Renders one score; the preview gets a WAV copy for listening, or the
    file itself when it is already a WAV or is long music."""
    tmp = env.tmpdir()
    out = os.path.join(tmp, os.path.basename(out_rel))
    args = [score_path, out]
    wav_copy = preview_rel.endswith(".wav") and not out.endswith(".wav")
    if wav_copy:
        args += ["--wav", os.path.join(tmp, "preview.wav")]
    env.run_tool("make_audio", args)
    with open(out, "rb") as fh:
        data = fh.read()
    preview = data
    if wav_copy:
        with open(os.path.join(tmp, "preview.wav"), "rb") as fh:
            preview = fh.read()
    return {out_rel: data, "preview:" + preview_rel: preview}


# --- checks of the encoded files ---

def ogg_vorbis_info(data):
    """(channels, rate) of an Ogg Vorbis file's identification header, or None."""
    if not data or not data.startswith(b"OggS"):
        return None
    at = data.find(b"\x01vorbis")
    if at < 0 or len(data) < at + 16:
        return None
    channels = data[at + 11]
    rate = struct.unpack_from("<I", data, at + 12)[0]
    return channels, rate


def wav_info(data):
    """(channels, rate, bits) of a PCM RIFF/WAVE file, or None."""
    if not data or len(data) < 44 or data[:4] != b"RIFF" or data[8:12] != b"WAVE":
        return None
    at = 12
    while at + 8 <= len(data):
        chunk, size = data[at:at + 4], struct.unpack_from("<I", data, at + 4)[0]
        if chunk == b"fmt " and size >= 16:
            fmt, channels, rate = struct.unpack_from("<HHI", data, at + 8)
            bits = struct.unpack_from("<H", data, at + 22)[0]
            return (channels, rate, bits) if fmt == 1 else None
        at += 8 + size + (size & 1)
    return None
