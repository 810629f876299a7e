#!/usr/bin/env python3
"""Runs one golden QV-Script through qvs and checks what it printed.

Expectations are comments in the script (QV-Script comments start with #),
usually at the end of the line that causes them:

  CB.SetOutputText(1 + 2)      # expect: 3
  x = 1 / 0                    # expect error 102 line 2
  y = 1 / 0                    # expect error 102 line 3: Runtime error ...
                               # expect error-text: second line of that error
  Question("Go on?")           # expect dialog: box 36 [Question] Go on?
  # expect result: 7           (the value qv_script returned)
  # expect exit: 2             (default: 1 when an error is expected, else 0)

and directives for the run:

  # args: --answer no --now "2026-01-02 03:04:05.678"
  # stdin: a line given to INPUT
  # env: NAME=VALUE

Standard output must hold exactly the expected lines (the "result: N" line
that qvs --result adds is checked only by "expect result"). Standard error
is split into error reports ("error CODE line LINE: TEXT" and the lines
that continue TEXT) and dialog lines ("box ", "input ", "notify "); both must
match the expectations in order. Errors are matched on code and line, and on
the text lines that the expectation gives.
"""

import argparse
import os
import re
import shlex
import subprocess
import sys

EXPECT_OUTPUT = re.compile(r"#\s*expect:\s?(.*)$")
EXPECT_ERROR = re.compile(r"#\s*expect error (-?\d+) line (-?\d+)(?::\s?(.*))?$")
EXPECT_ERROR_TEXT = re.compile(r"#\s*expect error-text:\s?(.*)$")
EXPECT_DIALOG = re.compile(r"#\s*expect dialog:\s?(.*)$")
EXPECT_RESULT = re.compile(r"#\s*expect result:\s*(-?\d+)\s*$")
EXPECT_EXIT = re.compile(r"#\s*expect exit:\s*(\d+)\s*$")
DIRECTIVE_ARGS = re.compile(r"^\s*#\s*args:\s?(.*)$")
DIRECTIVE_STDIN = re.compile(r"^\s*#\s*stdin:\s?(.*)$")
DIRECTIVE_ENV = re.compile(r"^\s*#\s*env:\s*([A-Za-z_][A-Za-z0-9_]*)=(.*)$")
ERROR_LINE = re.compile(r"^error (-?\d+) line (-?\d+): ?(.*)$")
DIALOG_PREFIXES = ("box ", "input ", "notify ")
RESULT_LINE = re.compile(r"^result: (-?\d+)$")


class Expectations:
    def __init__(self):
        self.output = []
        self.errors = []  # [code, line, [text lines]]
        self.dialogs = []
        self.result = None
        self.exit = None
        self.args = []
        self.stdin = []
        self.env = {}


def read_expectations(source_text):
    """Collects the expectations and directives of a script's text."""
    found = Expectations()
    for line in source_text.splitlines():
        line = line.rstrip("\r")
        if m := DIRECTIVE_ARGS.match(line):
            found.args += shlex.split(m.group(1))
        elif m := DIRECTIVE_STDIN.match(line):
            found.stdin.append(m.group(1))
        elif m := DIRECTIVE_ENV.match(line):
            found.env[m.group(1)] = m.group(2)
        elif m := EXPECT_ERROR.search(line):
            text = [m.group(3)] if m.group(3) is not None else []
            found.errors.append([int(m.group(1)), int(m.group(2)), text])
        elif m := EXPECT_ERROR_TEXT.search(line):
            if not found.errors:
                raise ValueError("'expect error-text' before any 'expect error': " + line)
            found.errors[-1][2].append(m.group(1))
        elif m := EXPECT_DIALOG.search(line):
            found.dialogs.append(m.group(1))
        elif m := EXPECT_RESULT.search(line):
            found.result = int(m.group(1))
        elif m := EXPECT_EXIT.search(line):
            found.exit = int(m.group(1))
        elif m := EXPECT_OUTPUT.search(line):
            found.output.append(m.group(1))
    return found


def split_stderr(lines):
    """Error reports (code, line, text lines) and dialog lines of qvs's stderr."""
    errors, dialogs, stray = [], [], []
    for line in lines:
        if m := ERROR_LINE.match(line):
            errors.append((int(m.group(1)), int(m.group(2)), [m.group(3)]))
        elif line.startswith(DIALOG_PREFIXES):
            dialogs.append(line)
        elif errors:
            errors[-1][2].append(line)
        else:
            stray.append(line)
    return errors, dialogs, stray


def compare(expected, exit_code, stdout_lines, stderr_lines):
    """Returns the list of mismatches (empty when the run is as expected)."""
    problems = []
    result = None
    if stdout_lines and (m := RESULT_LINE.match(stdout_lines[-1])):
        result = int(m.group(1))
        stdout_lines = stdout_lines[:-1]
    for i in range(max(len(expected.output), len(stdout_lines))):
        want = expected.output[i] if i < len(expected.output) else None
        got = stdout_lines[i] if i < len(stdout_lines) else None
        if want != got:
            problems.append(f"output line {i + 1}: expected {want!r}, got {got!r}")
    errors, dialogs, stray = split_stderr(stderr_lines)
    for line in stray:
        problems.append(f"unexpected standard error line: {line!r}")
    for i in range(max(len(expected.errors), len(errors))):
        want = expected.errors[i] if i < len(expected.errors) else None
        got = errors[i] if i < len(errors) else None
        if want is None:
            problems.append(f"unexpected error {got[0]} line {got[1]}: {got[2][0]!r}")
        elif got is None:
            problems.append(f"missing error {want[0]} line {want[1]}")
        elif (want[0], want[1]) != (got[0], got[1]):
            problems.append(f"error {i + 1}: expected {want[0]} line {want[1]}, "
                            f"got {got[0]} line {got[1]}: {got[2][0]!r}")
        else:
            for k, text in enumerate(want[2]):
                have = got[2][k] if k < len(got[2]) else None
                if text != have:
                    problems.append(f"error {i + 1} text line {k + 1}: expected {text!r}, got {have!r}")
    for i in range(max(len(expected.dialogs), len(dialogs))):
        want = expected.dialogs[i] if i < len(expected.dialogs) else None
        got = dialogs[i] if i < len(dialogs) else None
        if want != got:
            problems.append(f"dialog {i + 1}: expected {want!r}, got {got!r}")
    if expected.result is not None and expected.result != result:
        problems.append(f"result: expected {expected.result}, got {result}")
    want_exit = expected.exit if expected.exit is not None else (1 if expected.errors else 0)
    if exit_code != want_exit:
        problems.append(f"exit status: expected {want_exit}, got {exit_code}")
    return problems


def run(qvs, script, timeout):
    with open(script, "rb") as f:
        raw = f.read()
    if raw.startswith(b"\xff\xfe") or raw.startswith(b"\xfe\xff"):
        source_text = raw.decode("utf-16")
    else:
        source_text = raw.decode("utf-8-sig", errors="replace")
    expected = read_expectations(source_text)
    env = dict(os.environ)
    env.pop("QZ_LANG", None)
    env.update(expected.env)
    command = [qvs, "--result"] + expected.args + [script]
    stdin = "".join(line + "\n" for line in expected.stdin).encode()
    try:
        done = subprocess.run(command, input=stdin, capture_output=True, env=env, timeout=timeout)
    except subprocess.TimeoutExpired:
        return [f"no end within {timeout} s"], b"", b""
    stdout_lines = done.stdout.decode("utf-8", errors="replace").splitlines()
    stderr_lines = done.stderr.decode("utf-8", errors="replace").splitlines()
    return compare(expected, done.returncode, stdout_lines, stderr_lines), done.stdout, done.stderr


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--qvs", required=True, help="the qvs program")
    parser.add_argument("--timeout", type=float, default=60)
    parser.add_argument("scripts", nargs="+")
    options = parser.parse_args()
    failed = 0
    for script in options.scripts:
        problems, out, err = run(options.qvs, script, options.timeout)
        if problems:
            failed += 1
            print(f"FAIL {script}")
            for problem in problems:
                print("  " + problem)
            print("  --- standard output ---")
            sys.stdout.write(out.decode("utf-8", errors="replace"))
            print("  --- standard error ---")
            sys.stdout.write(err.decode("utf-8", errors="replace"))
        else:
            print(f"ok   {script}")
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
