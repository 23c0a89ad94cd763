#!/usr/bin/python3
"""Runs every command the guide shows and compares its output with the page.

The convention (docs/guide/01-model.md says it to the reader):
  * A fence opened with ```console holds commands and their output. A line
    starting with "$ " is a command (a line ending in a backslash continues
    it on the next); the lines after it, up to the next command or the end of
    the fence, are what it prints: standard output, then standard error.
  * In the expected lines, {{TEXT}} stands for anything on that line (TEXT is
    an example the reader sees: a time, a rate, a path, a thread count), and a
    line holding only "..." stands for any number of lines, none included.
  * Every other fence (```sh, plain ```) is shown only, never run: commands
    too slow for a test, or that need a cluster, Windows, root or a network.

Each page's commands run in order, through bash, in a fresh folder of their
own holding copies of the repository's examples/ and ibis/, an empty docs/,
and build/release pointing at the build under test; `tessalune` is on PATH.
So a page reads as a session from the top of a checkout, and a later
command may use what an earlier one wrote.

The relative links of every page must name a file that exists and, with
#anchor, a heading of it.

Usage: guide_commands.py SOURCE_DIR BINARY_DIR [PAGE.md ...]
(pages default to README.md and docs/guide/*.md). Exit status 0 when every
command printed what its page shows and every link holds, 1 otherwise, 77
(skipped) when given --skip REASON; --self-test checks the matching rules.
"""

import glob
import os
import re
import shutil
import subprocess
import sys
import tempfile
import time

PLACEHOLDER = re.compile(r"\{\{.*?\}\}")
COMMAND_TIMEOUT = 300


def read_blocks(path):
    """Returns [(line number, command, [expected lines])] of a page's console fences."""
    commands = []
    in_console = in_other = False
    current = None
    with open(path, encoding="utf-8") as page:
        lines = page.read().split("\n")
    number = 0
    while number < len(lines):
        line = lines[number]
        number += 1
        if in_other:
            in_other = not line.startswith("```")
        elif not in_console:
            if line.strip() == "```console":
                in_console = True
            elif line.startswith("```"):
                in_other = True
        elif line.startswith("```"):
            in_console = False
            current = None
        elif line.startswith("$ "):
            start, text = number, line[2:]
            while text.endswith("\\") and number < len(lines):
                text = text[:-1] + lines[number]
                number += 1
            current = (start, text, [])
            commands.append(current)
        elif current is not None:
            current[2].append(line)
    return commands


LINK = re.compile(r"\]\(([^)\s]+)\)")


def slug(heading):
    """The anchor a heading gets: lower case, punctuation dropped, spaces as hyphens."""
    text = re.sub(r"[^\w\- ]", "", heading.lstrip("#").strip().lower())
    return text.replace(" ", "-")


def broken_links(page):
    """The relative links of a page whose file or heading does not exist."""
    broken = []
    with open(page, encoding="utf-8") as text:
        targets = LINK.findall(text.read())
    for target in targets:
        if re.match(r"[a-z]+:", target):
            continue
        path, _, anchor = target.partition("#")
        file = os.path.normpath(os.path.join(os.path.dirname(page), path)) if path else page
        if not os.path.exists(file):
            broken.append(target)
        elif anchor and file.endswith(".md"):
            with open(file, encoding="utf-8") as text:
                headings = [slug(line) for line in text if line.startswith("#")]
            if anchor not in headings:
                broken.append(target)
    return broken


def line_pattern(expected):
    parts = PLACEHOLDER.split(expected)
    return re.compile(".*".join(re.escape(part) for part in parts) + r"\Z", re.S)


def matches(expected, actual):
    """True when the actual lines fit the expected ones ("..." lines, {{}} parts)."""
    patterns = [None if line == "..." else line_pattern(line) for line in expected]
    # reach[j]: the first i expected lines can account for the first j actual ones.
    reach = [True] + [False] * len(actual)
    for pattern in patterns:
        following = [False] * (len(actual) + 1)
        for j in range(len(actual) + 1):
            if pattern is None:
                following[j] = reach[j] or (j > 0 and following[j - 1])
            elif j > 0:
                following[j] = reach[j - 1] and pattern.match(actual[j - 1]) is not None
        reach = following
    return reach[len(actual)]


def trimmed(lines):
    lines = [line.rstrip() for line in lines]
    while lines and not lines[-1]:
        lines.pop()
    return lines


def work_folder(source, binary):
    folder = tempfile.mkdtemp(prefix="guide-")
    for name in ("examples", "ibis"):
        shutil.copytree(os.path.join(source, name), os.path.join(folder, name))
    os.mkdir(os.path.join(folder, "docs"))
    os.mkdir(os.path.join(folder, "build"))
    os.symlink(binary, os.path.join(folder, "build", "release"))
    return folder


def run_page(page, source, binary, programs):
    """Runs a page's commands; returns the number run and the failures."""
    commands = read_blocks(page)
    if not commands:
        return 0, []
    folder = work_folder(source, binary)
    env = dict(os.environ, PATH=programs + os.pathsep + os.environ.get("PATH", ""), LC_ALL="C")
    failures = []
    try:
        for number, command, expected in commands:
            began = time.monotonic()
            try:
                done = subprocess.run(["bash", "-c", command], cwd=folder, env=env, stdin=subprocess.DEVNULL,
                                      capture_output=True, text=True, timeout=COMMAND_TIMEOUT)
                output = (done.stdout + done.stderr).split("\n")
            except subprocess.TimeoutExpired:
                output = ["(no end within %d s)" % COMMAND_TIMEOUT]
            seconds = time.monotonic() - began
            name = "%s:%d" % (os.path.relpath(page, source), number)
            print("%-40s %6.2f s  $ %s" % (name, seconds, command[:100]))
            if not matches(trimmed(expected), trimmed(output)):
                failures.append((name, command, trimmed(expected), trimmed(output)))
    finally:
        shutil.rmtree(folder, ignore_errors=True)
    return len(commands), failures


def self_test():
    """The matching rules on known cases; returns the cases that went wrong."""
    cases = [
        (["a", "b"], ["a", "b"], True),
        (["a", "b"], ["a", "c"], False),
        (["a"], ["a", "b"], False),
        (["a", "...", "d"], ["a", "b", "c", "d"], True),
        (["a", "...", "d"], ["a", "d"], True),
        (["a", "...", "d"], ["a", "b", "c"], False),
        (["...", "x", "..."], ["a", "x", "b"], True),
        (["...", "x", "..."], ["a", "b"], False),
        (["t {{0.47}} ms"], ["t 12.5 ms"], True),
        (["t {{0.47}} ms"], ["t 12.5 s"], False),
        (["{{p}}/ami/lib.so"], ["/a/b/ami/lib.so"], True),
        (["(a+b) [c]? {{x}}"], ["(a+b) [c]? y"], True),
        (["(a+b) [c]? {{x}}"], ["(a+b) c? y"], False),
        (['{ "errors": 2 }'], ['{ "errors": 2 }'], True),
    ]
    wrong = [case for case in cases if matches(case[0], case[1]) != case[2]]
    if slug("## The link bench: the generated channel end to end") != "the-link-bench-the-generated-channel-end-to-end":
        wrong.append(("slug", "colon"))
    if slug("### `tessalune check`") != "tessalune-check":
        wrong.append(("slug", "backticks"))
    folder = tempfile.mkdtemp(prefix="guide-self-")
    page = os.path.join(folder, "page.md")
    with open(page, "w", encoding="utf-8") as out:
        out.write("```sh\n$ not run\n```\ntext\n```console\n$ echo a \\\n  b\na b\n$ true\n```\n")
    found = read_blocks(page)
    shutil.rmtree(folder)
    if found != [(6, "echo a   b", ["a b"]), (9, "true", [])]:
        wrong.append(("read_blocks", found))
    return wrong


def main(argv):
    if len(argv) >= 2 and argv[1] == "--self-test":
        wrong = self_test()
        for case in wrong:
            print("wrong: %r" % (case,))
        print("matching rules: %d wrong" % len(wrong))
        return 1 if wrong else 0
    if len(argv) >= 3 and argv[1] == "--skip":
        print("skipped: " + argv[2])
        return 77
    if len(argv) < 3:
        print(__doc__)
        return 2
    source, binary = os.path.abspath(argv[1]), os.path.abspath(argv[2])
    pages = argv[3:] or [os.path.join(source, "README.md")] + sorted(
        glob.glob(os.path.join(source, "docs", "guide", "*.md")))
    programs = tempfile.mkdtemp(prefix="guide-bin-")
    os.symlink(os.path.join(binary, "tools", "tessalune"), os.path.join(programs, "tessalune"))
    total, failures = 0, []
    try:
        for page in pages:
            for target in broken_links(page):
                failures.append((os.path.relpath(page, source), "(a link)", [target], ["no such file or heading"]))
            count, failed = run_page(page, source, binary, programs)
            total += count
            failures += failed
    finally:
        shutil.rmtree(programs, ignore_errors=True)
    for name, command, expected, output in failures:
        print("\n%s: the output of\n  $ %s\ndiffers from the page. The page shows:" % (name, command))
        print("\n".join("  | " + line for line in expected))
        print("It printed:")
        print("\n".join("  | " + line for line in output))
    print("\n%d commands run, %d differ from their pages" % (total, len(failures)))
    return 1 if failures or total == 0 else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
