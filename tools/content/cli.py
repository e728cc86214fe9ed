"""Command line of the content generator."""
import argparse
import os
import sys

from content import paths


def main(argv):
    parser = argparse.ArgumentParser(prog="content")
    sub = parser.add_subparsers(dest="command", required=True)

    b = sub.add_parser("build", help="write the data root")
    b.add_argument("root", help="data root (the preset's executable folder)")
    b.add_argument("--tools", help="folder of the built tools (default: the root)")
    b.add_argument("--cache", default=paths.default_cache(), help="shared cache folder")
    b.add_argument("--preview", default=paths.default_preview(), help="preview folder")
    b.add_argument("--no-preview", action="store_true", help="skip the preview")
    b.add_argument("--jobs", type=int, default=os.cpu_count() or 1)
    b.add_argument("--only", action="append", default=[], help="run only this generator module")
    b.add_argument("--stamp", help="file touched after a successful build")

    c = sub.add_parser("check", help="check a loose or packed data root")
    c.add_argument("root")
    c.add_argument("--tools", help="folder of the built tools (default: the root)")

    p = sub.add_parser("pack", help="pack the loose root with the program's --pack mode")
    p.add_argument("root", help="loose data root")
    p.add_argument("program", help="the program that builds the pack")
    p.add_argument("--staging", required=True)
    p.add_argument("--packed", required=True)
    p.add_argument("--tools", help="folder of the built tools (default: the root)")
    p.add_argument("--stamp", help="file touched after a successful pack")

    args = parser.parse_args(argv)
    if args.command == "build":
        from content import framework
        return framework.build(args)
    if args.command == "check":
        from content import checker
        return checker.run(args.root, args.tools or args.root)
    from content import pack
    return pack.run(args)


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
