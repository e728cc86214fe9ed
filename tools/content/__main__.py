"""Entry point: python3 tools/content {build,check,pack} ..."""
import os
import sys

# Nothing generated lands in the source tree, compiled modules included.
sys.dont_write_bytecode = True

# Run as a folder: make the package importable as `content`.
sys.path.insert(0, os.path.dirname(os.path.dirname(os.path.abspath(__file__))))

from content.cli import main  # noqa: E402

if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
