"""The build: runs every generator module, caches expensive items, writes the
data root (only files whose bytes change) and deletes what no longer belongs.

A generator module is a file "gen_<name>.py" of this package with a function
`generate(ctx)`; see content/README.md for the whole interface.
"""
import concurrent.futures
import hashlib
import importlib
import multiprocessing
import os
import pickle
import random
import shutil
import subprocess
import sys
import tempfile
import time
import tomllib
import traceback

from content import paths, progress

# Bump when the cache layout or the key recipe changes.
KEY_VERSION = "content-key-1"
PREVIEW_PREFIX = "preview:"


class BuildError(Exception):
    """A generator found its sources unusable; the message says why."""


def generator_modules(only=()):
    names = sorted(f[:-3] for f in os.listdir(paths.PACKAGE_DIR)
                   if f.startswith("gen_") and f.endswith(".py"))
    if only:
        names = [n for n in names if n in only or n[4:] in only]
    return [importlib.import_module("content." + n) for n in names]


def stable_seed(name):
    """A seed derived from an item's name, the same on every machine."""
    return int.from_bytes(hashlib.sha256(name.encode("utf-8")).digest()[:8], "little")


def rng(name):
    return random.Random(stable_seed(name))


def _hash_path(h, path):
    if os.path.isdir(path):
        for dirpath, dirnames, filenames in os.walk(path):
            dirnames.sort()
            for f in sorted(filenames):
                full = os.path.join(dirpath, f)
                h.update(os.path.relpath(full, path).encode("utf-8") + b"\0")
                with open(full, "rb") as fh:
                    h.update(hashlib.sha256(fh.read()).digest())
    elif os.path.isfile(path):
        with open(path, "rb") as fh:
            h.update(hashlib.sha256(fh.read()).digest())
    else:
        h.update(b"<missing>" + path.encode("utf-8"))


_code_hash_memo = {}


def _package_modules_used(module, seen):
    """The modules of this package that `module` uses, itself included."""
    if module.__name__ in seen:
        return
    seen.add(module.__name__)
    for value in list(vars(module).values()):
        target = value if isinstance(value, type(sys)) else sys.modules.get(getattr(value, "__module__", "") or "")
        if target is not None and target.__name__.startswith("content."):
            _package_modules_used(target, seen)


def code_hash(module_name):
    """Hash of the generator code an item uses: its module and every module of
    the package that module uses, transitively."""
    if module_name in _code_hash_memo:
        return _code_hash_memo[module_name]
    seen = set()
    _package_modules_used(sys.modules[module_name], seen)
    h = hashlib.sha256()
    for name in sorted(seen):
        f = sys.modules[name].__file__
        h.update(name.encode() + b"\0")
        _hash_path(h, f)
    _code_hash_memo[module_name] = h.hexdigest()
    return _code_hash_memo[module_name]


def library_versions():
    import PIL
    return "python %d.%d PIL %s" % (sys.version_info[0], sys.version_info[1], PIL.__version__)


class JobEnv:
    """What a job function receives besides its arguments. Nothing here enters
    the cache key: tool binaries differ per preset, their sources do not."""

    def __init__(self, tools_dir):
        self.tools_dir = tools_dir

    def tool(self, name):
        return os.path.join(self.tools_dir, name)

    def run_tool(self, name, args, cwd=None):
        cmd = [self.tool(name)] + [str(a) for a in args]
        done = subprocess.run(cmd, cwd=cwd, capture_output=True)
        if done.returncode != 0:
            raise BuildError("%s failed (%d): %s" % (" ".join(cmd), done.returncode,
                                                     done.stderr.decode("utf-8", "replace").strip()))
        return done

    def tmpdir(self):
        return tempfile.mkdtemp(prefix="content-job-")

    @staticmethod
    def rng(name):
        return rng(name)


class Job:
    def __init__(self, name, fn, args, deps, cache):
        self.name = name
        self.fn = fn
        self.args = args
        self.deps = deps
        self.cache = cache
        self.key = None


class BuildContext:
    """Handed to every generator's `generate(ctx)`."""

    def __init__(self, root, tools_dir, cache_dir, preview_dir):
        self.root = os.path.abspath(root)
        self.tools_dir = os.path.abspath(tools_dir)
        self.cache_dir = os.path.abspath(cache_dir)
        self.preview_dir = os.path.abspath(preview_dir) if preview_dir else None
        self.src = paths.SOURCE_DIR
        self.repo = paths.REPO_DIR
        self.files = {}      # data-root relpath -> bytes
        self.previews = {}   # preview relpath -> bytes
        self.adopted = set()
        self.jobs = []
        self._job_names = set()
        self.module = None

    # --- sources ---
    def source(self, rel):
        return os.path.join(self.src, rel)

    def load_toml(self, rel):
        with open(self.source(rel), "rb") as fh:
            return tomllib.load(fh)

    def tool_sources(self, *names):
        """Source folders of tools under tools/ (for cache keys)."""
        return [os.path.join(paths.TOOLS_SOURCE_DIR, n) for n in names]

    def tool(self, name):
        return os.path.join(self.tools_dir, name)

    @staticmethod
    def pkg_version(name):
        done = subprocess.run(["pkg-config", "--modversion", name], capture_output=True, text=True)
        return name + " " + (done.stdout.strip() if done.returncode == 0 else "?")

    @staticmethod
    def rng(name):
        return rng(name)

    # --- output ---
    def write(self, rel, data):
        """One file of the data root, by its exact relative path."""
        if isinstance(data, str):
            data = data.encode("utf-8")
        check_relpath(rel)
        if not paths.in_content_folders(rel):
            raise BuildError("%s: outside the content's folders" % rel)
        if rel in self.files or rel in self.adopted:
            raise BuildError("%s: written twice" % rel)
        self.files[rel] = bytes(data)

    def preview(self, rel, data):
        if isinstance(data, str):
            data = data.encode("utf-8")
        self.previews[rel] = bytes(data)

    def adopt(self, rel):
        """A file of the content's folders that another build step writes."""
        self.adopted.add(rel)

    def job(self, name, fn, *args, deps=(), cache=True):
        """Runs fn(env, *args) in the worker pool. It returns a dict of
        data-root relpath -> bytes; keys starting with "preview:" go to the
        preview folder. With cache=True the result is kept in the shared cache
        under a key made of the name, the arguments, the deps (files, folders
        or strings), the generator code and the library versions."""
        if name in self._job_names:
            raise BuildError("job %s declared twice" % name)
        self._job_names.add(name)
        self.jobs.append(Job(name, fn, args, tuple(deps), cache))

    def _accept(self, result, origin):
        for rel, data in sorted(result.items()):
            if rel.startswith(PREVIEW_PREFIX):
                self.preview(rel[len(PREVIEW_PREFIX):], data)
            else:
                try:
                    self.write(rel, data)
                except BuildError as e:
                    raise BuildError("%s (job %s)" % (e, origin))


def check_relpath(rel):
    if "\\" in rel or ".." in rel.split("/") or rel.startswith("/") or not rel.isascii() or rel.endswith("/"):
        raise BuildError("bad output path %r" % rel)


def job_key(job):
    h = hashlib.sha256()
    h.update(KEY_VERSION.encode())
    h.update(job.name.encode("utf-8") + b"\0")
    h.update((job.fn.__module__ + "." + job.fn.__qualname__).encode() + b"\0")
    h.update(code_hash(job.fn.__module__).encode())
    h.update(repr(job.args).encode("utf-8"))
    for d in job.deps:
        if isinstance(d, bytes):
            h.update(b"b" + hashlib.sha256(d).digest())
        elif isinstance(d, str) and os.path.isabs(d):
            h.update(b"p")
            _hash_path(h, d)
        else:
            h.update(b"s" + str(d).encode("utf-8") + b"\0")
    h.update(library_versions().encode())
    return h.hexdigest()


def _cache_file(cache_dir, key):
    return os.path.join(cache_dir, key[:2], key + ".pickle")


def _run_job(tools_dir, fn, args):
    started = time.monotonic()
    try:
        return True, fn(JobEnv(tools_dir), *args), time.monotonic() - started
    except Exception:  # reported by the parent with the job's name
        return False, traceback.format_exc(), 0.0


def write_if_changed(path, data):
    """True when the file was (re)written."""
    try:
        with open(path, "rb") as fh:
            if fh.read() == data:
                return False
    except OSError:
        pass
    os.makedirs(os.path.dirname(path), exist_ok=True)
    tmp = "%s.%d.tmp-content" % (path, os.getpid())
    with open(tmp, "wb") as fh:
        fh.write(data)
    os.replace(tmp, path)
    return True


def _remove_empty_dirs(top):
    for dirpath, dirnames, filenames in os.walk(top, topdown=False):
        if dirpath != top and not os.listdir(dirpath):
            os.rmdir(dirpath)


def sync_tree(root, files, keep, folders, shown=None):
    """Writes `files` under root and deletes every other file below `folders`
    that is not in `keep`. Returns (written, deleted) counts."""
    written = 0
    for rel, data in sorted(files.items()):
        written += write_if_changed(os.path.join(root, rel), data)
        if shown:
            shown.advance(rel)
    deleted = 0
    for folder in folders:
        top = os.path.join(root, folder)
        if not os.path.isdir(top):
            continue
        for dirpath, _, filenames in os.walk(top):
            for f in filenames:
                rel = os.path.relpath(os.path.join(dirpath, f), root).replace(os.sep, "/")
                if rel not in files and rel not in keep:
                    os.remove(os.path.join(dirpath, f))
                    deleted += 1
        _remove_empty_dirs(top)
    return written, deleted


def build(args):
    started = time.monotonic()
    ctx = BuildContext(args.root, args.tools or args.root, args.cache,
                       None if args.no_preview else args.preview)
    shown = progress.Progress()
    try:
        modules = generator_modules(args.only)
        shown.stage("reading the sources", len(modules), "generators")
        for module in modules:
            ctx.module = module.__name__
            module.generate(ctx)
            shown.advance(module.__name__[len("content.gen_"):])
        run_jobs(ctx, args.jobs, shown)
    except BuildError as e:
        shown.close()
        print("content: %s" % e, file=sys.stderr)
        return 1
    shown.stage("writing", len(ctx.files), "files")

    if args.only:
        # A partial build writes its files and deletes nothing.
        written = 0
        for rel, data in sorted(ctx.files.items()):
            written += write_if_changed(os.path.join(ctx.root, rel), data)
            shown.advance(rel)
        shown.close()
        print("content: %d files written (partial build)" % written)
        return 0

    written, deleted = sync_tree(ctx.root, ctx.files, ctx.adopted, paths.CONTENT_FOLDERS, shown)
    shown.close()
    listing = "".join(rel + "\n" for rel in sorted(set(ctx.files) | ctx.adopted))
    write_if_changed(os.path.join(ctx.root, paths.WRITTEN_LIST), listing.encode())
    if ctx.preview_dir:
        # Both presets share the preview; a clash with the other preset's
        # build only leaves a stale preview file, never a failed build.
        try:
            os.makedirs(ctx.preview_dir, exist_ok=True)
            sync_tree(ctx.preview_dir, ctx.previews, set(),
                      sorted(os.listdir(ctx.preview_dir)) + sorted({r.split("/")[0] for r in ctx.previews}))
        except OSError as e:
            print("content: preview not updated: %s" % e, file=sys.stderr)
    if args.stamp:
        with open(args.stamp, "wb"):
            pass  # touched on every successful run: the build tool compares its time
    print("content: %d files (%d written, %d deleted) in %.1f s"
          % (len(ctx.files), written, deleted, time.monotonic() - started))
    return 0


def run_jobs(ctx, jobs, shown=None):
    shown = shown or progress.Silent()
    pending = []
    shown.stage("generating", len(ctx.jobs), "jobs")
    for job in ctx.jobs:
        if job.cache:
            job.key = job_key(job)
            try:
                with open(_cache_file(ctx.cache_dir, job.key), "rb") as fh:
                    ctx._accept(pickle.load(fh), job.name)
                shown.advance(job.name)
                continue
            except (OSError, EOFError, pickle.UnpicklingError):
                pass
        pending.append(job)
    if not pending:
        return
    failures = []
    timings = []
    mp = multiprocessing.get_context("fork")
    with concurrent.futures.ProcessPoolExecutor(max_workers=max(1, jobs), mp_context=mp) as pool:
        futures = {pool.submit(_run_job, ctx.tools_dir, j.fn, j.args): j for j in pending}
        for fut in concurrent.futures.as_completed(futures):
            job = futures[fut]
            ok, result, seconds = fut.result()
            shown.advance(job.name)
            timings.append((seconds, job.name))
            if not ok:
                failures.append("job %s failed:\n%s" % (job.name, result))
                continue
            if job.cache:
                path = _cache_file(ctx.cache_dir, job.key)
                os.makedirs(os.path.dirname(path), exist_ok=True)
                tmp = path + ".%d.tmp" % os.getpid()
                with open(tmp, "wb") as fh:
                    pickle.dump(result, fh, protocol=pickle.HIGHEST_PROTOCOL)
                os.replace(tmp, path)
            ctx._accept(result, job.name)
    if os.environ.get("HV_CONTENT_TIMES"):
        for seconds, name in sorted(timings, reverse=True)[:15]:
            print("content: %6.1f s  %s" % (seconds, name))
    if failures:
        raise BuildError("\n".join(failures))
