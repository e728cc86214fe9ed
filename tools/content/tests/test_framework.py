"""The build writes only what changed, deletes what no longer belongs to the
content's folders (nothing else) and answers repeated jobs from its cache."""
import io
import os
import tempfile
import unittest

from content import framework, progress


def counted_job(env, counter, text):
    with open(counter, "a") as fh:
        fh.write("x")
    return {"nq/job.txt": text.encode(), "preview:job.txt": b"seen"}


class SyncTree(unittest.TestCase):
    def setUp(self):
        self.tmp = tempfile.TemporaryDirectory()
        self.root = self.tmp.name

    def tearDown(self):
        self.tmp.cleanup()

    def put(self, rel, data=b"x"):
        path = os.path.join(self.root, rel)
        os.makedirs(os.path.dirname(path), exist_ok=True)
        with open(path, "wb") as fh:
            fh.write(data)

    def test_unchanged_files_are_not_rewritten_and_changed_ones_are(self):
        files = {"nq/a.txt": b"one", "data/b.txt": b"two"}
        self.assertEqual(framework.sync_tree(self.root, files, set(), ("nq", "data")), (2, 0))
        self.assertEqual(framework.sync_tree(self.root, files, set(), ("nq", "data")), (0, 0))
        files["nq/a.txt"] = b"changed"
        self.assertEqual(framework.sync_tree(self.root, files, set(), ("nq", "data")), (1, 0))

    def test_orphans_of_the_content_folders_go_and_everything_else_stays(self):
        self.put("nq/old/stale.png")
        self.put("nq/data/anim/kept.anim")
        self.put("BramblecoatWars")
        self.put("test_output/result.xml")
        written, deleted = framework.sync_tree(self.root, {"nq/new.txt": b"n"}, {"nq/data/anim/kept.anim"},
                                               ("nq", "data", "logo"))
        self.assertEqual((written, deleted), (1, 1))
        self.assertFalse(os.path.exists(os.path.join(self.root, "nq/old")))
        for rel in ("nq/data/anim/kept.anim", "BramblecoatWars", "test_output/result.xml", "nq/new.txt"):
            self.assertTrue(os.path.exists(os.path.join(self.root, rel)), rel)


class JobCache(unittest.TestCase):
    def test_a_repeated_job_comes_from_the_cache_and_a_changed_one_runs_again(self):
        with tempfile.TemporaryDirectory() as tmp:
            counter = os.path.join(tmp, "runs")

            def run(text):
                ctx = framework.BuildContext(os.path.join(tmp, "root"), tmp, os.path.join(tmp, "cache"), None)
                ctx.job("test/job", counted_job, counter, text)
                framework.run_jobs(ctx, 2)
                return ctx

            first = run("hello")
            second = run("hello")
            self.assertEqual(first.files, second.files)
            self.assertEqual(second.previews, {"job.txt": b"seen"})
            run("changed")
            with open(counter) as fh:
                self.assertEqual(fh.read(), "xx")

    def test_a_file_written_twice_is_refused(self):
        ctx = framework.BuildContext("/nonexistent", "/nonexistent", "/nonexistent", None)
        ctx.write("nq/a.txt", b"1")
        with self.assertRaises(framework.BuildError):
            ctx.write("nq/a.txt", b"2")
        with self.assertRaises(framework.BuildError):
            ctx.write("bin/program", b"x")


if __name__ == "__main__":
    unittest.main()


class ProgressDisplay(unittest.TestCase):
    """A terminal gets one line redrawn in place; a log gets a line per stage
    and per tenth of it, never one per file."""

    class Stream(io.StringIO):
        def __init__(self, terminal):
            super().__init__()
            self.terminal = terminal

        def isatty(self):
            return self.terminal

    def run_stages(self, terminal):
        out = self.Stream(terminal)
        shown = progress.Progress(out)
        shown.stage("generating", 3, "jobs")
        for name in ("a", "b", "c"):
            shown.advance(name)
        shown.stage("writing", 100, "files")
        for k in range(100):
            shown.advance("nq/f%d" % k)
        shown.close()
        return out.getvalue()

    def test_a_log_gets_plain_lines(self):
        lines = self.run_stages(False).splitlines()
        self.assertNotIn("\r", "".join(lines))
        self.assertEqual(lines[0], "content: generating (3 jobs)")
        self.assertIn("content: writing (100 files)", lines)
        self.assertIn("content: writing 50/100", lines)
        self.assertLessEqual(len(lines), 2 + 2 + 10)

    def test_a_terminal_gets_one_line_that_updates(self):
        text = self.run_stages(True)
        self.assertNotIn("\n", text.rstrip("\n"))
        self.assertIn("\r", text)
        self.assertIn("writing", text)
        self.assertRegex(text, r"\d+/100 files")
