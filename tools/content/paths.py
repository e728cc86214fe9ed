"""Where the sources, the cache and the preview live."""
import os

PACKAGE_DIR = os.path.dirname(os.path.abspath(__file__))
REPO_DIR = os.path.dirname(os.path.dirname(PACKAGE_DIR))
SOURCE_DIR = os.path.join(REPO_DIR, "content")
CONTRACT_DIR = os.path.join(SOURCE_DIR, "contract")
TOOLS_SOURCE_DIR = os.path.join(REPO_DIR, "tools")

# The content's own folders in the data root; everything else there (programs,
# test output) is not the content's.
CONTENT_FOLDERS = ("nq", "data", "logo")

# The list of files the generator wrote, kept in the data root.
WRITTEN_LIST = ".content-files"


def default_cache():
    return os.path.join(REPO_DIR, "build", "content-cache")


def default_preview():
    return os.path.join(REPO_DIR, "build", "content-preview")


def in_content_folders(rel):
    return rel.split("/", 1)[0] in CONTENT_FOLDERS


# Path caches: the program opens them on the disk only, never in the pack, so
# a packed root keeps them loose beside "data.dat".
PATH_CACHE_EXT = ".cache"


def is_path_cache(rel):
    return rel.startswith("nq/levels_") and rel.endswith(PATH_CACHE_EXT)
