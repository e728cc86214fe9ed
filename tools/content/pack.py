"""The pack step: the program's own --pack mode turns a staged copy of the
loose tree into "data.dat"; packed/ then holds it with the loose "data/" and
"logo/" folders and the levels' path caches (which the program reads from
the disk only). The preset's own data root is never packed: a "data.dat"
there would hide every later loose change."""
import os
import shutil
import signal
import subprocess
import sys
import tempfile
import time

from content import dataroot, paths

PACK_FOLDER_ARG = "nq"
APPEAR_TIMEOUT_S = 120.0   # a sanitized program starts slowly on a busy machine
EXIT_TIMEOUT_S = 15.0
POLL_S = 0.05


def link_or_copy(src, dst):
    os.makedirs(os.path.dirname(dst), exist_ok=True)
    try:
        os.link(src, dst)
    except OSError:
        shutil.copy2(src, dst)


def link_tree(src_root, dst_root, folders):
    for folder in folders:
        top = os.path.join(src_root, folder)
        for dirpath, _, filenames in os.walk(top):
            for f in filenames:
                src = os.path.join(dirpath, f)
                link_or_copy(src, os.path.join(dst_root, os.path.relpath(src, src_root)))


def fresh(folder):
    shutil.rmtree(folder, ignore_errors=True)
    os.makedirs(folder)


def build_pack(program, staging):
    """Runs the program's --pack in the staging folder; returns an error text or None."""
    pack = os.path.join(staging, dataroot.PACK_NAME)
    env = dict(os.environ, SDL_VIDEODRIVER="offscreen", SDL_AUDIODRIVER="dummy",
               LIBGL_ALWAYS_SOFTWARE="1")
    # A sanitized program: Mesa's leaks at exit would change the exit code.
    env["ASAN_OPTIONS"] = "detect_leaks=0"
    with tempfile.TemporaryDirectory(prefix="content-pack-") as home:
        env["XDG_DATA_HOME"] = home
        err_path = os.path.join(home, "stderr.txt")
        with open(err_path, "wb") as err:
            proc = subprocess.Popen([program, "--pack", PACK_FOLDER_ARG], cwd=staging, env=env,
                                    stdout=subprocess.DEVNULL, stderr=err)
            deadline = time.monotonic() + APPEAR_TIMEOUT_S
            while not os.path.isfile(pack) and proc.poll() is None and time.monotonic() < deadline:
                time.sleep(POLL_S)
            if proc.poll() is None:
                proc.send_signal(signal.SIGTERM)
                try:
                    proc.wait(EXIT_TIMEOUT_S)
                except subprocess.TimeoutExpired:
                    proc.kill()
                    proc.wait()
                    return "the program did not exit within %d s of SIGTERM" % EXIT_TIMEOUT_S
        with open(err_path, "rb") as fh:
            stderr = fh.read().decode("utf-8", "replace")
    if proc.returncode != 0:
        report = [l for l in stderr.splitlines() if l.startswith("Pack build failed")]
        return "the program exited with %d: %s" % (proc.returncode, "\n".join(report) or stderr[-2000:])
    if not os.path.isfile(pack):
        return "the program exited without writing %s" % dataroot.PACK_NAME
    return None


def run(args):
    root = os.path.abspath(args.root)
    staging = os.path.abspath(args.staging)
    packed = os.path.abspath(args.packed)
    fresh(staging)
    link_tree(root, staging, paths.CONTENT_FOLDERS)
    link_or_copy(os.path.abspath(args.program), os.path.join(staging, os.path.basename(args.program)))
    problem = build_pack(os.path.join(staging, os.path.basename(args.program)), staging)
    if problem:
        print("content pack: %s" % problem, file=sys.stderr)
        return 1
    fresh(packed)
    link_or_copy(os.path.join(staging, dataroot.PACK_NAME), os.path.join(packed, dataroot.PACK_NAME))
    link_tree(root, packed, [f for f in paths.CONTENT_FOLDERS if f + "/" != dataroot.PACK_PREFIX])
    for dirpath, _, filenames in os.walk(os.path.join(root, "nq")):
        for f in filenames:
            rel = os.path.relpath(os.path.join(dirpath, f), root).replace(os.sep, "/")
            if paths.is_path_cache(rel):
                link_or_copy(os.path.join(root, rel), os.path.join(packed, rel))
    # The check compares every entry with this loose tree byte for byte.
    with open(os.path.join(packed, ".loose-root"), "w") as fh:
        fh.write(root + "\n")
    shutil.rmtree(staging, ignore_errors=True)
    if args.stamp:
        with open(args.stamp, "wb"):
            pass
    return 0
