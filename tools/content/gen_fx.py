"""The particle library nq/fx/fx2.ptc (hand-written, content/src/fx/) and the
atlases it names, drawn by the recipes of fx.py."""
import os
import re
import subprocess
import tempfile

from content import framework, fx

SOURCE = "src/fx/" + fx.LIBRARY_NAME
ATLASES = "src/fx/atlases.toml"
# The most live particles any effect may reach, as ptc_check reports them.
PEAK_LIMIT = 300


def run_ptc_check(tool, path):
    """(exit code, output, atlas names, {effect: peak particles})."""
    done = subprocess.run([tool, path], capture_output=True, text=True)
    out = done.stdout + done.stderr
    atlases = re.findall(r"^atlas \d+: (\S+)", out, re.M)
    peaks = {m.group(1): int(m.group(2)) for m in re.finditer(r"^\s*(\S+)\s+\(\d+ types?\) peak (\d+) particles", out, re.M)}
    return done.returncode, out, atlases, peaks


def atlas_job(env, name, spec):
    image = fx.draw_atlas(spec)
    return {"%s/%s" % (fx.FX_FOLDER, name): fx._png(image), "preview:fx/" + name: fx._png(fx.on_dark(image))}


def generate(ctx):
    source = ctx.source(SOURCE)
    with open(source, "rb") as fh:
        ptc = fh.read()
    code, out, _, peaks = run_ptc_check(ctx.tool("ptc_check"), source)
    if code != 0:
        raise framework.BuildError("ptc_check refused %s:\n%s" % (SOURCE, out.strip()))
    for name, peak in sorted(peaks.items()):
        if peak > PEAK_LIMIT:
            raise framework.BuildError("%s: effect %s peaks at %d particles (at most %d)"
                                       % (SOURCE, name, peak, PEAK_LIMIT))
    ctx.write(fx.FX_FOLDER + "/" + fx.LIBRARY_NAME, ptc)
    table = ctx.load_toml(ATLASES)["atlas"]
    for name in fx.atlas_names(ptc.decode("utf-8")):
        if name not in table:
            raise framework.BuildError("%s names the atlas %s, which %s does not draw" % (SOURCE, name, ATLASES))
        ctx.job("fx/" + name, atlas_job, name, table[name], deps=(ctx.source(ATLASES),))


def collect(cc):
    data = cc.fs.read(fx.FX_FOLDER + "/" + fx.LIBRARY_NAME)
    cc.facts["effects"] = set(fx.effect_names(data.decode("utf-8", "replace"))) if data else set()


def check(cc):
    rel = fx.FX_FOLDER + "/" + fx.LIBRARY_NAME
    data = cc.fs.read(rel)
    if data is None:
        return  # the contract reports it
    path = cc.fs.real_path(rel)
    with tempfile.TemporaryDirectory() as tmp:
        if path is None:
            path = os.path.join(tmp, fx.LIBRARY_NAME)
            with open(path, "wb") as fh:
                fh.write(data)
        code, out, atlases, peaks = run_ptc_check(cc.tool("ptc_check"), path)
    if code != 0:
        cc.error(rel, 0, "ptc_check refuses it: %s" % out.strip().splitlines()[0] if out.strip() else "ptc_check failed")
        return
    for name in atlases:
        cc.ref(fx.FX_FOLDER + "/" + name, (rel, 0), what="particle atlas")
    for name, peak in sorted(peaks.items()):
        if peak > PEAK_LIMIT:
            cc.error(rel, 0, "effect %s peaks at %d particles (at most %d)" % (name, peak, PEAK_LIMIT))
    names = fx.effect_names(data.decode("utf-8", "replace"))
    for name in sorted({n for n in names if names.count(n) > 1}):
        cc.error(rel, 0, "effect name %s is used more than once" % name)
