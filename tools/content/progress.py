"""Progress of a build: on a terminal one line that updates (the stage, what
is done of its total), elsewhere a plain line per stage and per tenth of it,
so that a log stays short."""
import sys

from tqdm import tqdm

PLAIN_STEPS = 10


class Progress:
    def __init__(self, stream=None, terminal=None):
        self.stream = stream or sys.stderr
        self.terminal = self.stream.isatty() if terminal is None else terminal
        self.bar = None
        self.stage_name = ""
        self.total = 0
        self.done = 0
        self.next_plain = 0

    def stage(self, name, total, unit):
        """A new stage of `total` items (files, jobs)."""
        self.stage_name, self.total, self.done = name, total, 0
        if self.terminal:
            if self.bar is None:
                self.bar = tqdm(total=total, file=self.stream, leave=False, dynamic_ncols=True,
                                bar_format="content: {desc} {n_fmt}/{total_fmt} {unit} |{bar}| {elapsed}{postfix}")
            self.bar.reset(total=total)
            self.bar.unit = unit
            self.bar.set_description_str(name, refresh=True)
            return
        self.next_plain = 0
        print("content: %s (%d %s)" % (name, total, unit), file=self.stream, flush=True)
        self.next_plain = self._step()

    def advance(self, what="", count=1):
        """`count` more items done; `what` names the last one."""
        self.done += count
        if self.terminal:
            self.bar.set_postfix_str(what, refresh=False)
            self.bar.update(count)
            return
        if self.done >= self.next_plain and self.done < self.total:
            print("content: %s %d/%d" % (self.stage_name, self.done, self.total), file=self.stream, flush=True)
            self.next_plain = self.done + self._step()

    def close(self):
        if self.bar is not None:
            self.bar.close()
            self.bar = None

    def _step(self):
        return max(1, -(-self.total // PLAIN_STEPS))


class Silent:
    """No display (library callers, tests)."""

    def stage(self, name, total, unit):
        pass

    def advance(self, what="", count=1):
        pass

    def close(self):
        pass
