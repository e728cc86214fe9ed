"""The enemy shader pair nq/Shaders/MobShader/DX/VS.hlsl and PS.hlsl."""
from content import framework

SOURCE_DIR = "src/shaders/MobShader"
TARGET_DIR = "nq/Shaders/MobShader/DX"
# Each file and the entry point the program compiles it with.
FILES = {"VS.hlsl": "vertex_shader", "PS.hlsl": "pixel_shader"}


def generate(ctx):
    for name, entry in sorted(FILES.items()):
        with open(ctx.source("%s/%s" % (SOURCE_DIR, name)), "rb") as fh:
            text = fh.read()
        if entry.encode() not in text:
            raise framework.BuildError("%s/%s: no %s" % (SOURCE_DIR, name, entry))
        ctx.write("%s/%s" % (TARGET_DIR, name), text)


def check(cc):
    for name, entry in sorted(FILES.items()):
        text = cc.read_text("%s/%s" % (TARGET_DIR, name))
        if text is not None and entry not in text:
            cc.error("%s/%s" % (TARGET_DIR, name), 0, "no entry point %s" % entry)
    ps = cc.read_text(TARGET_DIR + "/PS.hlsl")
    if ps is not None and "color2" not in ps:
        cc.error(TARGET_DIR + "/PS.hlsl", 0, "no color2 constant")
