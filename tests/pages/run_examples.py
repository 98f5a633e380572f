#!/usr/bin/env python3
"""Runs every shell example of the README and of the manual page, and checks that each
prints what the page shows.

An example is a command on a line of its own that starts with "$ ", inside a fenced code
block of the README or a no-fill block (.nf to .fi) of the manual page, whose roff escapes
are decoded first; what follows it, up to the next command or the end of the block, is what
it must print, standard output and standard error together. A command marked
"# typed at a terminal" is a session a person types, shown and not run. The examples of one
page run in order, in one scratch folder, so a later one may use a file an earlier made;
the program under test is found first on PATH.

Usage: run_examples.py PAGE...   (README.md, or a manual page by its .1 suffix)
"""

import os
import re
import subprocess
import sys
import tempfile

PROMPT = "$ "
NOT_RUN = "# typed at a terminal"

# The roff escapes the manual page uses, decoded as the page renders them.
ROFF_ESCAPES = [
    (re.compile(r"\\f[BIRP]"), ""),
    (re.compile(r"\\&"), ""),
    (re.compile(r"\\-"), "-"),
    (re.compile(r"\\\(bu"), "\u2022"),
    (re.compile(r"\\\(lq"), "\u201c"),
    (re.compile(r"\\\(rq"), "\u201d"),
    (re.compile(r"\\e"), "\0"),  # a backslash, once the others are decoded
]


def decode_roff(line):
    for pattern, replacement in ROFF_ESCAPES:
        line = pattern.sub(replacement, line)
    if "\\" in line:
        sys.exit(f"an escape the runner does not know: {line!r}")
    return line.replace("\0", "\\")


def markdown_blocks(text):
    """The lines of each fenced code block."""
    block = None
    for line in text.split("\n"):
        if line.startswith("```"):
            if block is None:
                block = []
            else:
                yield block
                block = None
        elif block is not None:
            block.append(line)


def roff_blocks(text):
    """The decoded lines of each no-fill block."""
    block = None
    for line in text.split("\n"):
        if line.startswith(".nf"):
            block = []
        elif line.startswith(".fi"):
            if block is not None:
                yield block
            block = None
        elif block is not None and not line.startswith("."):
            block.append(decode_roff(line))


def examples(blocks):
    """(command, expected output) for each example of the blocks."""
    for block in blocks:
        command, output = None, []
        for line in block + [None]:
            if line is None or line.startswith(PROMPT):
                if command is not None:
                    yield command, "".join(part + "\n" for part in output)
                command, output = (line[len(PROMPT):], []) if line is not None else (None, [])
            elif command is not None:
                output.append(line)


def run_page(page):
    with open(page, encoding="utf-8") as source:
        text = source.read()
    blocks = roff_blocks(text) if page.endswith(".1") else markdown_blocks(text)
    failures = ran = shown = 0
    with tempfile.TemporaryDirectory(prefix="intcalc-examples-") as folder:
        for command, expected in examples(blocks):
            if NOT_RUN in command:
                shown += 1
                continue
            ran += 1
            run = subprocess.run(["sh", "-c", command], cwd=folder, stdin=subprocess.DEVNULL,
                                 stdout=subprocess.PIPE, stderr=subprocess.STDOUT, timeout=60)
            printed = run.stdout.decode("utf-8", "replace")
            if printed != expected:
                failures += 1
                print(f"{page}: $ {command}\n--- the page shows\n{expected}--- it printed\n{printed}---")
    print(f"{page}: {ran} examples run, {failures} differ, {shown} shown as typed at a terminal")
    return failures == 0 and ran > 0


def main():
    if len(sys.argv) < 2:
        sys.exit(__doc__)
    results = [run_page(page) for page in sys.argv[1:]]
    sys.exit(0 if all(results) else 1)


if __name__ == "__main__":
    main()
