#!/usr/bin/env python3
"""Runs every QV-Script example of the help pages through qvs, and checks
that the pages' markup is balanced (an unclosed <pre> or <table> would swallow
the rest of a page in the viewer).

An example is a <pre class="example"> block. When a <pre class="result">
block follows it, the example's output (the values passed to
CB.SetOutputText, one per line) must be exactly that text. An example marked
data-error="CODE" must report that error code; every other example must run
without any error. The script also checks that the reference documents every
built-in of the engine's table with an example of its own.

usage: check_help_examples.py --qvs QVS --help-dir HELP --source-root ROOT
"""
import argparse
import html
import html.parser
import pathlib
import re
import subprocess
import sys
import tempfile

# The examples that read the clock see this moment, so their results are fixed.
FIXED_NOW = "2026-12-08 09:05:03.250"

EXAMPLE = re.compile(
    r'<pre class="example"(?P<attrs>[^>]*)>(?P<code>.*?)</pre>'
    r'(?:\s*<pre class="result">(?P<result>.*?)</pre>)?', re.S)
BUILTIN_ROW = re.compile(r'\{"([A-Z_0-9]+)",\s*\d+,\s*[\w:]+,')
BUILTIN_HEADING = re.compile(r'<h3><a name="([A-Z_0-9]+)">')


def text_of(markup):
    return html.unescape(re.sub(r"<[^>]+>", "", markup))


def examples_of(page):
    source = page.read_text(encoding="utf-8")
    for match in EXAMPLE.finditer(source):
        line = source.count("\n", 0, match.start()) + 1
        error = re.search(r'data-error="(\d+)"', match.group("attrs"))
        result = match.group("result")
        yield {
            "where": f"{page.name}:{line}",
            "offset": match.start(),
            "code": text_of(match.group("code")),
            "error": error.group(1) if error else None,
            "result": None if result is None else text_of(result),
        }


def run_example(qvs, example):
    with tempfile.NamedTemporaryFile("w", suffix=".qvs", encoding="utf-8", delete=False) as f:
        f.write(example["code"])
        path = f.name
    try:
        done = subprocess.run([qvs, "--lang", "en", "--now", FIXED_NOW, path],
                              input="", capture_output=True, text=True, timeout=60)
    finally:
        pathlib.Path(path).unlink()
    problems = []
    errors = re.findall(r"^error (\d+) line", done.stderr, re.M)
    if example["error"] is None and (errors or done.returncode != 0):
        problems.append(f"script error (exit {done.returncode}):\n{done.stderr.strip()}")
    if example["error"] is not None and example["error"] not in errors:
        problems.append(f"expected error {example['error']}, got: {done.stderr.strip() or 'none'}")
    if example["result"] is not None:
        want = example["result"].strip("\n")
        got = done.stdout.rstrip("\n")
        if got != want:
            problems.append(f"output differs\n--- expected\n{want}\n--- got\n{got}")
    return problems


class MarkupChecker(html.parser.HTMLParser):
    """Every element but the empty ones must be closed, in order."""
    EMPTY = {"meta", "link", "br", "hr", "img", "param"}

    def __init__(self):
        super().__init__(convert_charrefs=True)
        self.open = []
        self.problems = []

    def handle_starttag(self, tag, attrs):
        if tag not in self.EMPTY:
            self.open.append((tag, self.getpos()[0]))

    def handle_endtag(self, tag):
        if not self.open or self.open[-1][0] != tag:
            where = f"<{self.open[-1][0]}> of line {self.open[-1][1]}" if self.open else "nothing"
            self.problems.append(f"line {self.getpos()[0]}: </{tag}> closes {where}")
            return
        self.open.pop()


def check_markup(page):
    checker = MarkupChecker()
    checker.feed(page.read_text(encoding="utf-8"))
    checker.close()
    problems = checker.problems[:5]
    problems += [f"<{tag}> of line {line} is never closed" for tag, line in checker.open[:5]]
    return [f"{page.name}: {p}" for p in problems]


def builtin_names(source_root):
    names = set()
    for header in sorted((source_root / "src" / "script").rglob("*.h")):
        names.update(BUILTIN_ROW.findall(header.read_text(encoding="utf-8")))
    return names


def check_reference(pages, names):
    """Every built-in has its own heading and at least one example under it."""
    problems = []
    documented = {}
    for page in pages:
        source = page.read_text(encoding="utf-8")
        headings = list(BUILTIN_HEADING.finditer(source))
        for i, heading in enumerate(headings):
            end = headings[i + 1].start() if i + 1 < len(headings) else len(source)
            section = source[heading.start():end]
            documented[heading.group(1)] = page.name
            if '<pre class="example"' not in section:
                problems.append(f"{page.name}: {heading.group(1)} has no example")
    for name in sorted(names - documented.keys()):
        problems.append(f"built-in {name} is not documented")
    for name in sorted(documented.keys() - names):
        problems.append(f"{documented[name]}: {name} is documented but is no built-in")
    return problems


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--qvs", required=True)
    parser.add_argument("--help-dir", required=True, type=pathlib.Path)
    parser.add_argument("--source-root", required=True, type=pathlib.Path)
    args = parser.parse_args()

    pages = sorted(args.help_dir.rglob("*.html"))
    failures = []
    count = 0
    for page in pages:
        failures += check_markup(page)
        for example in examples_of(page):
            count += 1
            for problem in run_example(args.qvs, example):
                failures.append(f"{example['where']}: {problem}")
    names = builtin_names(args.source_root)
    if len(names) < 100:
        failures.append(f"found only {len(names)} built-in rows in src/script: the table moved?")
    # The built-in reference is the set of pages named qvs_*.html.
    failures += check_reference([p for p in pages if p.name.startswith("qvs_")], names)
    print(f"{count} examples in {len(pages)} pages, {len(names)} built-ins")
    for failure in failures:
        print(f"FAIL {failure}\n")
    return 1 if failures or count == 0 else 0


if __name__ == "__main__":
    sys.exit(main())
