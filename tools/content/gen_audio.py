"""Sound effects (nq/data/sound/), music (nq/data/music/) and the intro's
soundtrack, rendered from the scores of content/src/sound/ and src/music/."""
import os

from content import audio, framework

SOUND_DIR = "src/sound"
MUSIC_DIR = "src/music"
TABLE = "src/audio.toml"
RATE = 44100


def _deps(ctx, score):
    return (score, *ctx.tool_sources("make_audio", "audio_encoder"), ctx.pkg_version("vorbisenc"))


def generate(ctx):
    sound_dir = ctx.source(SOUND_DIR)
    for name in sorted(os.listdir(sound_dir)):
        if not name.endswith(audio.SCORE_SUFFIX):
            continue
        score = os.path.join(sound_dir, name)
        with open(score, encoding="utf-8") as fh:
            fmt = audio.score_format(fh.read())
        stem = name[:-len(audio.SCORE_SUFFIX)]
        ctx.job("sound/" + stem, audio.render_job, score, "%s/%s.%s" % (audio.SOUND_FOLDER, stem, fmt),
                "sounds/%s.wav" % stem, deps=_deps(ctx, score))
    music = ctx.load_toml(TABLE)["music"]
    for stem, out in sorted(music.items()):
        score = ctx.source("%s/%s%s" % (MUSIC_DIR, stem, audio.SCORE_SUFFIX))
        if not os.path.isfile(score):
            raise framework.BuildError("%s: no score for %s" % (TABLE, stem))
        ctx.job("music/" + stem, audio.render_job, score, out, "music/%s.ogg" % stem, deps=_deps(ctx, score))


def check(cc):
    for rel in sorted(cc.fs.files()):
        if not (rel.startswith(audio.SOUND_FOLDER + "/") or rel.startswith("nq/data/music/")
                or rel == "nq/video/intro.ogg"):
            continue
        data = cc.fs.read(rel)
        if rel.endswith(".wav"):
            info = audio.wav_info(data)
            if info is None or info[2] != 16 or info[1] != RATE:
                cc.error(rel, 0, "not a 16-bit PCM WAV at %d Hz" % RATE)
        elif rel.endswith(".ogg"):
            info = audio.ogg_vorbis_info(data)
            if info is None or info[1] != RATE:
                cc.error(rel, 0, "not an Ogg Vorbis stream at %d Hz" % RATE)
        else:
            cc.error(rel, 0, "a sound is .ogg or .wav")
