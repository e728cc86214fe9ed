"""The intro video nq/video/intro.ogv (its soundtrack is a music score)."""
import struct

from content import framework, video

# Theora pixel formats: 0 is 4:2:0, the only one the player's conversion is tuned for.
PIXEL_FORMAT_420 = 0


def generate(ctx):
    spec = ctx.load_toml(video.SOURCE)
    try:
        video.check_spec(spec)
    except ValueError as e:
        raise framework.BuildError("%s: %s" % (video.SOURCE, e))
    ctx.job("video/intro", video.video_job, spec,
            deps=(ctx.source(video.SOURCE), video.SERIF_BOLD, *ctx.tool_sources("make_video"),
                  ctx.pkg_version("theoraenc")))


def theora_info(data):
    """(width, height, fps numerator, fps denominator, pixel format) of the
    first Theora identification header, or None."""
    at = data.find(b"\x80theora") if data else -1
    if at < 0 or len(data) < at + 42:
        return None
    h = data[at + 7:at + 42]
    fmbw, fmbh = struct.unpack_from(">HH", h, 3)
    picw = int.from_bytes(h[7:10], "big")
    pich = int.from_bytes(h[10:13], "big")
    frn, frd = struct.unpack_from(">II", h, 15)
    # After the aspect ratio (6 bytes), the colour space (1) and the bit rate (3):
    # 6 bits quality, 5 bits key-frame shift, 2 bits pixel format.
    bits = int.from_bytes(h[33:35], "big")
    pixel_format = (bits >> 3) & 3
    del fmbw, fmbh
    return picw, pich, frn, frd, pixel_format


def check(cc):
    rel = video.VIDEO_PATH
    data = cc.fs.read(rel)
    if data is None:
        return  # the contract reports it
    info = theora_info(data)
    if info is None:
        cc.error(rel, 0, "no Theora stream")
        return
    w, h, frn, frd, pf = info
    if w % 16 or h % 16:
        cc.error(rel, 0, "frame size %dx%d is not a multiple of 16" % (w, h))
    if frn == 0 or frd == 0:
        cc.error(rel, 0, "frame rate %d/%d" % (frn, frd))
    if pf != PIXEL_FORMAT_420:
        cc.error(rel, 0, "pixel format is not 4:2:0")
