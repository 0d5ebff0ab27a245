#!/usr/bin/env python3
"""Fails when a file under src/ or include/ includes a header of a folder that
its own folder may not depend on.

The library's folders form layers: each may include the folders listed for
it below, which sit under it, and never the other way round. Beside the
layers, a few headers are the foundations that every folder builds on, and a
few named files make a deliberate upward step, each with its reason. An edge
that none of these lists is reported with the file and line that makes it.

Usage: check_include_layers.py <source root>
"""

import pathlib
import re
import sys

# Folder -> folders it may include (its own folder is always allowed).
LAYERS = {
    "utilities": set(),
    # The code tables and conversions below the machines.
    "korean": {"utilities"},
    "japanese": {"utilities"},
    # The detector machines, over the code tables.
    "detectors": {"utilities", "japanese", "korean"},
    # The traversers, over the machines.
    "traversal": {"utilities", "japanese", "korean", "detectors"},
    # The concrete encodings and the locales on top.
    "encodings": {"utilities", "japanese", "korean", "detectors", "traversal"},
    "locales": {"utilities", "japanese", "korean", "detectors", "traversal", "encodings"},
}

# The abstract interfaces at the bottom, which any folder may include.
FOUNDATIONS = {
    "encodings/AbstractEncoding.h",  # the interface and its EncodingID numbers
    "detectors/AbstractDetectorSM.h",
    "traversal/AbstractTraverser.h",
}

# Deliberate upward edges: (including file, included header) -> reason.
EXCEPTIONS = {
    ("include/charsetkit/traversal/TraverserContainer.h", "locales/AbstractLocale.h"):
        "the container hands out one traverser per locale identifier, "
        "so its public lookup takes the locale enumeration",
    ("src/japanese/JapaneseTranscoder.cpp", "detectors/Utf8DetectorSM.h"):
        "the transcoder reads its UTF-8 input with the UTF-8 machine, "
        "so that it accepts exactly what UTF-8 verification accepts",
}

INCLUDE = re.compile(r'^\s*#\s*include\s*[<"]([^>"]+)[>"]')


def folder_of(relative):
    """The layer folder of a path relative to src/ or include/charsetkit/."""
    parts = relative.split("/")
    return parts[0] if len(parts) > 1 else None


def check(root):
    problems = []
    trees = [root / "src", root / "include" / "charsetkit"]
    for tree in trees:
        for path in sorted(tree.rglob("*")):
            if path.suffix not in (".h", ".cpp") or not path.is_file():
                continue
            own = folder_of(path.relative_to(tree).as_posix())
            if own is None:
                continue  # the umbrella header and the export header
            if own not in LAYERS:
                problems.append(f"{path.relative_to(root)}: folder '{own}' has no layer")
                continue
            text = path.read_text(encoding="utf-8", errors="replace")
            for number, line in enumerate(text.splitlines(), 1):
                match = INCLUDE.match(line)
                if not match:
                    continue
                header = match.group(1)
                if header.startswith("charsetkit/"):
                    header = header[len("charsetkit/"):]
                target = folder_of(header)
                if target is None or target not in LAYERS or target == own:
                    continue
                if target in LAYERS[own] or header in FOUNDATIONS:
                    continue
                key = (path.relative_to(root).as_posix(), header)
                if key in EXCEPTIONS:
                    continue
                problems.append(
                    f"{path.relative_to(root)}:{number}: '{own}' may not include '{header}'")
    return problems


def main():
    if len(sys.argv) != 2:
        print(__doc__, file=sys.stderr)
        return 2
    root = pathlib.Path(sys.argv[1])
    problems = check(root)
    for problem in problems:
        print(problem)
    if problems:
        print(f"{len(problems)} include(s) run against the layers")
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
