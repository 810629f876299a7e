#!/usr/bin/env python3
"""Checks that the golden-script harness reads expectations and catches every
kind of mismatch (a harness that passes everything would hide real faults)."""

import os
import sys
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import run_golden  # noqa: E402

SCRIPT = """\
# args: --answer no --now "2026-01-02 03:04:05.678"
# stdin: typed text
# env: KIRABI_X=1
CB.SetOutputText(1)        # expect: 1
CB.SetOutputText("")       # expect:
Question("go?")            # expect dialog: box 36 [Question] go?
x = 1 / 0                  # expect error 102 line 7: Runtime error: first
                           # expect error-text: second
# expect result: 0
"""


class ReadExpectations(unittest.TestCase):
    def test_collects_every_kind_in_order(self):
        found = run_golden.read_expectations(SCRIPT)
        self.assertEqual(found.output, ["1", ""])
        self.assertEqual(found.errors, [[102, 7, ["Runtime error: first", "second"]]])
        self.assertEqual(found.dialogs, ["box 36 [Question] go?"])
        self.assertEqual(found.result, 0)
        self.assertEqual(found.args, ["--answer", "no", "--now", "2026-01-02 03:04:05.678"])
        self.assertEqual(found.stdin, ["typed text"])
        self.assertEqual(found.env, {"KIRABI_X": "1"})

    def test_error_text_without_error_is_refused(self):
        with self.assertRaises(ValueError):
            run_golden.read_expectations("# expect error-text: lost\n")


class Compare(unittest.TestCase):
    def setUp(self):
        self.expected = run_golden.read_expectations(SCRIPT)
        self.good_out = ["1", "", "result: 0"]
        self.good_err = ["box 36 [Question] go?", "error 102 line 7: Runtime error: first", "second",
                         "third, not expected but allowed"]

    def test_matching_run_passes(self):
        self.assertEqual(run_golden.compare(self.expected, 1, self.good_out, self.good_err), [])

    def test_each_mismatch_is_reported(self):
        cases = [
            ("missing output", 1, ["1", "result: 0"], self.good_err, "output line 2"),
            ("extra output", 1, ["1", "", "2", "result: 0"], self.good_err, "output line 3"),
            ("wrong output", 1, ["2", "", "result: 0"], self.good_err, "output line 1"),
            ("wrong result", 1, ["1", "", "result: 5"], self.good_err, "result: expected 0"),
            ("no result line", 1, ["1", ""], self.good_err, "result: expected 0"),
            ("exit status", 0, self.good_out, self.good_err, "exit status"),
            ("wrong code", 1, self.good_out,
             ["box 36 [Question] go?", "error 103 line 7: Runtime error: first", "second"], "expected 102"),
            ("wrong line", 1, self.good_out,
             ["box 36 [Question] go?", "error 102 line 8: Runtime error: first", "second"], "line 7"),
            ("wrong text", 1, self.good_out,
             ["box 36 [Question] go?", "error 102 line 7: Runtime error: other", "second"], "text line 1"),
            ("missing error", 1, self.good_out, ["box 36 [Question] go?"], "missing error"),
            ("extra error", 1, self.good_out, self.good_err + ["error 105 line 9: x"], "unexpected error"),
            ("missing dialog", 1, self.good_out, self.good_err[1:], "dialog 1"),
            ("stray stderr", 1, self.good_out, ["garbage"] + self.good_err, "unexpected standard error"),
        ]
        for name, exit_code, out, err, needle in cases:
            with self.subTest(name):
                problems = run_golden.compare(self.expected, exit_code, out, err)
                self.assertTrue(any(needle in p for p in problems), problems)

    def test_clean_script_expects_exit_zero(self):
        expected = run_golden.read_expectations("CB.SetOutputText(1) # expect: 1\n")
        self.assertEqual(run_golden.compare(expected, 0, ["1", "result: 0"], []), [])
        self.assertTrue(run_golden.compare(expected, 1, ["1", "result: 0"], []))


if __name__ == "__main__":
    unittest.main()
