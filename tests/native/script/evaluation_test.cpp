#include <gtest/gtest.h>

#include <set>
#include <string>

#include "core_harness.h"
#include "script/builtin_table.h"

namespace {

std::vector<int32_t> Codes(const ScriptOutcome& o) {
  std::vector<int32_t> codes;
  for (const ReportedError& e : o.errors) codes.push_back(e.code);
  return codes;
}

// Runs a script that keeps its variables, then reads one back.
std::string AfterRun(const std::string& script, const std::string& expression) {
  RunScriptText("DEFINE('KEEPVAR', 1)\n" + script);
  ScriptOutcome o = RunScriptText("CB.SetOutputText(" + expression + ")");
  return o.output.empty() ? "<none>" : o.output[0];
}

TEST(EvaluationErrors, StatementFinishesThenTheRunStops) {
  EXPECT_EQ(AfterRun("x[-1] = 5", "x[0]"), "5");
  EXPECT_EQ(AfterRun("DEFINE('MUSTVARDEF', 1)\ny = z + 1\nw = 2", "'' + y + w"), "10");
  EXPECT_EQ(AfterRun("n = 3\nn /= 0", "n"), "3");  // a failed /= leaves the variable alone
  EXPECT_EQ(AfterRun("n = 3\nm = (n %= 0)", "m"), "0");
  ScriptOutcome o = RunScriptText("DEFINE('MUSTVARDEF', 1)\nx = z + z$ + 1\nCB.SetOutputText('no')");
  EXPECT_EQ(Codes(o), (std::vector<int32_t>{109, 109}));  // once per read
  EXPECT_TRUE(o.output.empty());
}

TEST(EvaluationErrors, AssignmentReadsItsOwnTargetBeforeCreatingIt) {
  // Every assignment form reads the value first: an unassigned target is
  // still unassigned while its own right-hand side is evaluated.
  const char* const statements[] = {"x = x * 2", "x = x", "x = x + 1", "x = -x", "x = (x < 1)",
                                    "x = f(x)", "x[0] = x"};
  for (const char* statement : statements) {
    SCOPED_TRACE(statement);
    ScriptOutcome o = RunScriptText(std::string("func f(n) {\nreturn n\n}\nDEFINE('MUSTVARDEF', 1)\n") +
                                    statement + "\nCB.SetOutputText('no')");
    EXPECT_EQ(Codes(o), (std::vector<int32_t>{109}));
    EXPECT_TRUE(o.output.empty());
  }
}

TEST(EvaluationErrors, CallDepthLimitIsAboveFiveHundredTwelve) {
  EXPECT_EQ(AfterRun("func down(n) {\ndeepest = n\ndown(n + 1)\n}\ndown(1)", "deepest"), "513");
  ScriptOutcome o = RunScriptText("func down(n) {\ndown(n + 1)\n}\ndown(1)");
  EXPECT_EQ(Codes(o), (std::vector<int32_t>{108}));
}

// A function calling itself twice per body, with no way out: after the one
// refusal the run ends, instead of running 2^512 bodies on its way out.
TEST(EvaluationErrors, ARefusedCallEndsTheRunWithoutRunningMoreBodies) {
  ScriptOutcome o = RunScriptText("func fib(k) {\nreturn fib(k - 1) + fib(k - 2)\n}\nCB.SetOutputText(fib(27))");
  EXPECT_EQ(Codes(o), (std::vector<int32_t>{108}));
  // exit still runs the first statement of a function called in its expression
  EXPECT_EQ(AfterRun("func f() {\nx = 5\n}\nexit f()", "x"), "5");
}

TEST(EvaluationErrors, MessagesAreCutTo1024BytesOnACharacterBoundary) {
  std::string name;
  for (int i = 0; i < 600; ++i) name += "\xE3\x81\x82";  // not a valid identifier: use a long ASCII one
  std::string longName(3000, 'A');
  ScriptOutcome o = RunScriptText(longName + "()", {.language = 1});
  ASSERT_EQ(o.errors.size(), 1u);
  EXPECT_LE(o.errors[0].text.size(), 1024u);
  EXPECT_TRUE(o.errors[0].text.starts_with("Runtime Error 行番号:1  関数または引数が正しくありません。AAAA"));
  o = RunScriptText("ASSERT(0, '" + name + "')");
  ASSERT_EQ(o.errors.size(), 1u);
  EXPECT_EQ(o.errors[0].text.size(), 1023u);  // 341 whole characters
  EXPECT_EQ(o.errors[0].text.find("\xEF\xBF\xBD"), std::string::npos);
}

TEST(EvaluationCalls, CBCallsWithoutAHostEvaluateNothing) {
  ScriptOutcome o = RunScriptText("DEFINE('KEEPVAR', 1)\nx = CB.Foo$(n = 5, 'a')", {.withHost = false});
  ASSERT_EQ(o.errors.size(), 1u);
  EXPECT_EQ(o.errors[0].code, 105);
  EXPECT_EQ(o.errors[0].line, 2);
  EXPECT_EQ(o.errors[0].text, "Runtime error at line 2: Unknown application provided function call:FOO$(args:2)\n");
  EXPECT_EQ(RunScriptText("CB.SetOutputText('' + n + '/' + x)").output, std::vector<std::string>{"0/0"});
  o = RunScriptText("x = CB.Foo()", {.language = 1, .withHost = false});
  ASSERT_EQ(o.errors.size(), 1u);
  EXPECT_EQ(o.errors[0].text, "Runtime Error 行番号:1  この環境で呼び出せるアプリ提供関数がありません。FOO(args:0)\n");
}

TEST(EvaluationCalls, CBCallsPassFlagsIntegersAndTexts) {
  ScriptOutcome o = RunScriptText(
      "a[2] = 'e'\na.x = 1\nCB.SetOutputText(CB.Count(1, 'two', a, 4) + CB.Count())\n"
      "CB.SetOutputText(CB.Echo$('日本') + CB.Echo$(7))");
  // "a.x = 1" is a syntax error: nothing runs
  EXPECT_TRUE(o.output.empty());
  o = RunScriptText(
      "a[2] = 'e'\nCB.SetOutputText(CB.Count(1, 'two', a, 4) + CB.Count())\n"
      "CB.SetOutputText(CB.Echo$('日本') + CB.Echo$(7))\nCB.SetOutputText(a)\nCB.SetOutputText('' + a)");
  EXPECT_EQ(o.output, (std::vector<std::string>{"4", "日本7", "0", "A"}));
}

TEST(EvaluationCalls, CBTextsThatCannotBeConvertedBecomeEmpty) {
  // Left cuts bytes, so half a character is no UTF-8
  ScriptOutcome o = RunScriptText("CB.SetOutputText('[' + CB.Echo$(Left('\xC3\xA9', 1)) + ']')\nCB.SetOutputText(CB.Echo$('\xC3\xA9'))");
  EXPECT_EQ(o.output, (std::vector<std::string>{"[]", "\xC3\xA9"}));
}

TEST(EvaluationCalls, LogicalOperatorsShortCircuit) {
  ScriptOutcome o = RunScriptText(
      "r = (0 && CB.SetOutputText('and'))\nr = (1 || CB.SetOutputText('or'))\n"
      "r = (1 && CB.SetOutputText('and ran'))\nCB.SetOutputText(r)");
  EXPECT_EQ(o.output, (std::vector<std::string>{"and ran", "0"}));
}

TEST(EvaluationCalls, ArgumentsBeyondTheParametersAreNotEvaluated) {
  ScriptOutcome o = RunScriptText(
      "func f(a, b) {\nreturn a + b\n}\nfunc g() {\nCB.SetOutputText('g ran')\n}\n"
      "CB.SetOutputText(f(1, 2, g()))\nCB.SetOutputText(f(a = 10, a))");
  EXPECT_EQ(o.output, (std::vector<std::string>{"3", "20"}));
}

TEST(EvaluationCalls, GotoOutOfAFunctionRestoresItsParameters) {
  EXPECT_EQ(AfterRun("p = 'kept'\nfunc f(p) {\ngoto :OUT\n}\nf('param')\n:OUT", "'' + p"), "kept");
  EXPECT_EQ(AfterRun("func f(q) {\nreturn q\n}\nf(1)", "'[' + q + ']'"), "[0]");
}

TEST(EvaluationStrings, RepeatedAppendKeepsEveryPiece) {
  ScriptOutcome o = RunScriptText("s = ''\nfor (i = 0, i < 2000, i++) {\ns += i % 10\n}\n"
                                  "CB.SetOutputText(s)\nt = 'a'\nt += t\nt += t\nCB.SetOutputText(t)");
  ASSERT_EQ(o.output.size(), 2u);
  std::string expected;
  for (int i = 0; i < 2000; ++i) expected += std::to_string(i % 10);
  EXPECT_EQ(o.output[0], expected);
  EXPECT_EQ(o.output[1], "aaaa");
}

TEST(EvaluationStrings, AppendingAFunctionResultSeesTheOldValue) {
  ScriptOutcome o = RunScriptText("s = 'a'\nfunc f() {\ns = 'changed'\nreturn 'b'\n}\ns += f()\nCB.SetOutputText(s)");
  EXPECT_EQ(o.output, std::vector<std::string>{"ab"});
  o = RunScriptText("s = 'x'\nt = s + (s = 'y')\nCB.SetOutputText(t)");
  EXPECT_EQ(o.output, std::vector<std::string>{"xy"});
}

// The rows every family contributes, with their argument counts.
struct ExpectedRow {
  const char* name;
  uint16_t minArgs;
  uint16_t maxArgs;
};
constexpr ExpectedRow kExpectedRows[] = {
      {"ABS", 1, 1}, {"ARRAYADD", 1, kNoArgLimit}, {"ARRAYINIT", 1, kNoArgLimit}, {"ARRAYSIZE", 1, 1},
      {"ARRAYTOMULTILINESTRING", 1, 2}, {"ASCIICODE", 1, 1}, {"CHR", 1, 1}, {"CLAMP", 3, 3}, {"CONVCHAR", 2, 2},
      {"DEFINE", 2, 2}, {"DELARRAYITEM", 2, 2}, {"DELCTRLC", 2, 2}, {"DELEMPTYARRAY", 1, 1}, {"ENDSWITH", 2, 2},
      {"ERROR", 1, 2}, {"FORMAT", 1, kNoArgLimit}, {"GETACTIVEWINDOWTITLE", 0, 0}, {"GETASCIICODE", 2, 2},
      {"GETCLIPBOARDTEXT", 0, 0}, {"GETCURRENTDAY", 0, 0}, {"GETCURRENTDAYOFWEEK", 0, 0}, {"GETCURRENTHOUR", 0, 0},
      {"GETCURRENTMILLISECONDS", 0, 0}, {"GETCURRENTMINUTE", 0, 0}, {"GETCURRENTMONTH", 0, 0},
      {"GETCURRENTSECOND", 0, 0}, {"GETCURRENTYEAR", 0, 0}, {"GETCURSORPOSX", 0, 0}, {"GETCURSORPOSY", 0, 0},
      {"GETENV", 1, 1}, {"GETIMESTATE", 0, 0}, {"GETKEYINPUTDEVICELIST", 1, 1}, {"GETKEYSTATE", 1, 1},
      {"GETMONITORSRECT", 4, 6}, {"GETQV_SCRIPTVERSION", 0, 0}, {"GETSYSTEMMETRICS", 1, 1}, {"GETTICKCOUNT", 0, 0},
      {"INFORMATION", 1, 2}, {"INPUT", 1, 2}, {"INSCRLF", 3, 3}, {"JOIN", 1, 2}, {"KEYBDEVENT", 2, 2},
      {"LCLITE", 2, 2}, {"LEFT", 2, 2}, {"LEN", 1, 1}, {"MAX", 1, kNoArgLimit}, {"MBLEFT", 2, 2}, {"MBMID", 3, 3},
      {"MBRIGHT", 2, 2}, {"MBSTRLEN", 1, 1}, {"MBSTRSTR", 2, 2}, {"MBSTRSTRI", 2, 2}, {"MBSUBSTR", 3, 3},
      {"MBSUBSTRING", 3, 3}, {"MESSAGE", 1, 2}, {"MESSAGEBEEP", 1, 1}, {"MESSAGEBOX", 1, 2}, {"MID", 3, 3},
      {"MIN", 1, kNoArgLimit}, {"MOUSEBUTTONLEFT", 1, 1}, {"MOUSEBUTTONMIDDLE", 1, 1}, {"MOUSEBUTTONRIGHT", 1, 1},
      {"MOUSEBUTTONX1", 1, 1}, {"MOUSEBUTTONX2", 1, 1}, {"MOUSEWHEEL", 1, 1}, {"MOVEMOUSE", 2, 2},
      {"MULTILINETOSTRINGARRAY", 1, 1}, {"PADLEFT", 2, 3}, {"PADRIGHT", 2, 3}, {"QUESTION", 1, 2},
      {"QUESTIONOKCANCEL", 1, 2}, {"QUESTIONYESNO", 1, 2}, {"QUESTIONYESNOCANCEL", 1, 2},
      {"QUESTION_OKCANCEL", 1, 2}, {"QUESTION_YESNO", 1, 2}, {"QUESTION_YESNOCANCEL", 1, 2}, {"RAND", 0, 0},
      {"REGEX_MATCH", 2, 3}, {"REGEX_REPLACE", 3, 4}, {"REGEX_SEARCH", 2, 5}, {"REPLACE", 2, 3}, {"RESIZE", 2, 2},
      {"RIGHT", 2, 2}, {"SENDINPUTUNICODE", 2, 2}, {"SETCLIPBOARDTEXT", 1, 1}, {"SETCURSORPOS", 2, 2},
      {"SETENV", 2, 2}, {"SETIMESTATE", 1, 1}, {"SLEEP", 1, 1}, {"SORTARRAY", 1, 1}, {"SORTARRAYDESC", 1, 1},
      {"SPLIT", 3, 3}, {"SQRT", 1, 1}, {"SRAND", 0, 1}, {"STARTSWITH", 2, 2}, {"STRCMP", 2, 2}, {"STRCMPI", 2, 2},
      {"STRLEN", 1, 1}, {"STRLWR", 1, 1}, {"STRSTR", 2, 2}, {"STRSTRI", 2, 2}, {"STRUPR", 1, 1}, {"SUBSTR", 3, 3},
      {"SUBSTRING", 3, 3}, {"TEXTOUT", 1, 2}, {"TOINT", 1, 1}, {"TOSTR", 1, 1}, {"TOSTR16", 1, 1}, {"TOSTR2", 1, 1},
      {"TRIMLEFT", 1, 2}, {"TRIMRIGHT", 1, 2}, {"TYPEOF", 1, 1}, {"UNIQARRAY", 1, 1}, {"WARNING", 1, 2},
};

TEST(BuiltinTableTest, MergedTableIsSortedUniqueAndComplete) {
  std::span<const BuiltinRow> table = BuiltinTable();
  for (std::size_t i = 1; i < table.size(); ++i) EXPECT_LT(table[i - 1].name, table[i].name) << table[i].name;
  std::set<std::string> missing;
  for (const ExpectedRow& row : kExpectedRows) {
    const BuiltinRow* found = FindBuiltin(row.name);
    if (!found) {
      missing.insert(row.name);
      continue;
    }
    EXPECT_EQ(found->minArgs, row.minArgs) << row.name;
    EXPECT_EQ(found->maxArgs, row.maxArgs) << row.name;
    EXPECT_NE(found->handler, nullptr) << row.name;
  }
  EXPECT_TRUE(missing.empty()) << missing.size() << " rows missing, first " << *missing.begin();
  EXPECT_EQ(table.size(), kBuiltinCount);
  EXPECT_EQ(FindBuiltin("ASSERT"), nullptr);
  EXPECT_EQ(FindBuiltin("define"), nullptr);  // callers upper-case first
}

TEST(BuiltinTableTest, SharedHandlers) {
  const char* groups[][3] = {
      {"ARRAYSIZE", "LEN", nullptr},         {"ASCIICODE", "CHR", nullptr},
      {"MID", "SUBSTR", "SUBSTRING"},        {"MBMID", "MBSUBSTR", "MBSUBSTRING"},
      {"TEXTOUT", "MESSAGE", "MESSAGEBOX"},  {"QUESTION", "QUESTIONYESNO", "QUESTION_YESNO"},
      {"QUESTIONOKCANCEL", "QUESTION_OKCANCEL", nullptr},
      {"QUESTIONYESNOCANCEL", "QUESTION_YESNOCANCEL", nullptr},
  };
  for (auto& group : groups) {
    const BuiltinRow* first = FindBuiltin(group[0]);
    if (!first) continue;  // reported by the completeness test
    for (int i = 1; i < 3 && group[i]; ++i) {
      const BuiltinRow* other = FindBuiltin(group[i]);
      if (other) {
        EXPECT_EQ(other->handler, first->handler) << group[0] << " / " << group[i];
      }
    }
  }
}

}  // namespace

namespace {

// Array variables handed to built-ins by value: the built-ins that read an
// array by its name still see it, and ArrayAdd still stores the whole array.
TEST(ArrayArguments, BuiltinsSeeArrayVariablesWholeOrByName) {
  struct Case {
    const char* script;
    const char* printed;
  };
  const Case cases[] = {
      {"a[0] = 5\na[3] = 7\nCB.SetOutputText(ArraySize(a) + a[3])", "11"},
      {"a[0] = \"x\"\na[1] = \"y\"\nCB.SetOutputText(Join(a, \"-\"))", "x-y"},
      {"a[0] = \"b\"\na[1] = \"a\"\nSortArray(a)\nCB.SetOutputText(a[0] + a[1])", "ab"},
      {"a[0] = 1\na[1] = 2\nArrayAdd(\"b\", a)\nc = b[0]\nCB.SetOutputText(\"\" + ArraySize(c) + c[1])", "22"},
  };
  for (const Case& c : cases) {
    const ScriptOutcome outcome = RunScriptText(c.script);
    EXPECT_TRUE(outcome.errors.empty()) << c.script;
    EXPECT_EQ(outcome.output, std::vector<std::string>{c.printed}) << c.script;
  }
}

}  // namespace
