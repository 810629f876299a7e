// The evaluator's shortcuts must give exactly what the general evaluation
// gives: loops whose counter is tested and stepped in place, whatever the
// body does to the counter or the limit; operators with a literal right
// operand; arrays grown one element at a time.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "core_harness.h"

namespace {

std::vector<int32_t> Codes(const ScriptOutcome& o) {
  std::vector<int32_t> codes;
  for (const ReportedError& e : o.errors) codes.push_back(e.code);
  return codes;
}

std::string Replaced(std::string text, const std::string& from, const std::string& to) {
  text.replace(text.find(from), from.size(), to);
  return text;
}

// Scripts with the one line each prints, run between a common start and end.
struct OutputCase {
  const char* script;
  const char* output;
};

void ExpectOutputs(const std::vector<OutputCase>& cases, const std::string& before, const std::string& after) {
  for (const OutputCase& c : cases) {
    SCOPED_TRACE(c.script);
    const ScriptOutcome o = RunScriptText(before + c.script + after);
    ASSERT_EQ(o.output.size(), 1u);
    EXPECT_EQ(o.output[0], c.output);
    EXPECT_TRUE(o.errors.empty());
  }
}

// Each step form beside an assignment that does the same through the
// general nodes (an assignment of a sum is never taken for a counter step).
struct StepForm {
  const char* step;
  const char* general;
};
constexpr StepForm kSteps[] = {
    {"++i", "i = i + 1"}, {"i += 3", "i = i + 3"}, {"--i", "i = i - 1"},
    {"i -= 2", "i = i - 2"}, {"i++", "i = i - -1"}, {"i--", "i = i - 1"},
};

// Loop heads and bodies that leave the plain-integer path in every way.
struct LoopCase {
  const char* name;
  const char* before;
  const char* head;  // STEP stands for the step form
  const char* body;
};
constexpr LoopCase kLoops[] = {
    {"counts up", "n = 9", "i = 0, i < n, STEP", "s = s + i"},
    {"counts down", "n = 0", "i = 9, i > n, STEP", "s = s + i"},
    {"inclusive bounds", "n = 6", "i = 0, i <= n, STEP", "s = s + i"},
    {"lower inclusive bound", "", "i = 8, i >= 2, STEP", "s = s + i"},
    {"not equal", "", "i = 0, i != 6, STEP", "s = s + i\nif (s > 40) {\nbreak\n}"},
    {"counter becomes a string", "n = 9", "i = 0, i < n, STEP", "s = s + i\nif (i == 2) {\ni = \"7\"\n}"},
    {"counter becomes text of digits", "", "i = 0, i < 30, STEP", "if (i == 3) {\ni = \"20\"\n}\ns = s + i"},
    {"counter becomes an array", "n = 9", "i = 0, i < n, STEP", "s = s + i\nif (i == 3) {\ni[2] = 5\n}"},
    {"limit changes", "n = 9", "i = 0, i < n, STEP", "s = s + i\nif (i == 2) {\nn = 5\n}"},
    {"limit is text", "n = \"8\"", "i = 0, i < n, STEP", "s = s + i"},
    {"limit is a string that is not a number", "n = \"x\"", "i = 0, i < n, STEP", "s = s + i\nif (s > 40) {\nbreak\n}"},
    {"counter starts as a string", "", "i = \"3\", i < 9, STEP", "s = s + i\nif (s > 40) {\nbreak\n}"},
    {"counter wraps", "", "i = 2147483640, i > 0, STEP", "s = s + 1\nif (s > 40) {\nbreak\n}"},
    {"counter is the limit", "", "i = 1, i < i, STEP", "s = s + 1"},
};

TEST(CountingLoop, BehavesAsTheGeneralLoop) {
  for (const LoopCase& c : kLoops) {
    for (const StepForm& f : kSteps) {
      SCOPED_TRACE(std::string(c.name) + ", step " + f.step);
      // The guard ends the loops a step form makes endless (counting down
      // while the condition waits for an upper bound).
      const std::string head = std::string("for (") + c.head + ") {\ng = g + 1\nif (g > 50) {\nbreak\n}\n";
      const std::string script = std::string("s = 0\n") + c.before + "\n" + head + c.body +
                                 "\n}\nCB.SetOutputText(\"\" + s + \"/\" + i)";
      const ScriptOutcome fast = RunScriptText(Replaced(script, "STEP", f.step));
      const ScriptOutcome general = RunScriptText(Replaced(script, "STEP", f.general));
      ASSERT_EQ(fast.output.size(), 1u);
      EXPECT_EQ(fast.output, general.output);
      EXPECT_EQ(Codes(fast), Codes(general));
    }
  }
}

TEST(CountingLoop, KnownResults) {
  ExpectOutputs({
      {"for (i = 0, i < 5, ++i) {\ns = s + i\n}", "10/5"},
      {"for (i = 10, i > 0, i -= 3) {\ns = s + i\n}", "22/-2"},
      // continue still steps; break does not
      {"for (i = 0, i < 10, ++i) {\nif (i % 2) {\ncontinue\n}\nif (i > 6) {\nbreak\n}\ns = s + i\n}", "12/8"},
      // a string counter steps by appending, then compares as text
      {"for (i = 0, i < 50, ++i) {\nif (i == 2) {\ni = \"7\"\n}\ns = s + 1\n}", "3/71"},
      {"for (i = 2147483646, i > 0, ++i) {\ns = s + 1\n}", "2/-2147483648"},
      {"for (i = 0, i < 3, ++i) {\n}", "0/3"},
  }, "s = 0\n", "\nCB.SetOutputText(\"\" + s + \"/\" + i)");
}


TEST(CountingLoop, UnassignedCounterUnderMustVarDef) {
  // Only the condition reads the counter: one error, and the run stops.
  const ScriptOutcome o = RunScriptText("DEFINE('MUSTVARDEF', 1)\nfor (j = 0, i < 3, ++i) {\nx = 1\n}\nCB.SetOutputText('no')");
  EXPECT_EQ(Codes(o), (std::vector<int32_t>{109}));
  EXPECT_TRUE(o.output.empty());
  // Without it the counter reads as 0 and is created by its first step.
  const ScriptOutcome plain = RunScriptText("for (j = 0, i < 3, ++i) {\nx = x + 1\n}\nCB.SetOutputText(\"\" + x + i)");
  ASSERT_EQ(plain.output.size(), 1u);
  EXPECT_EQ(plain.output[0], "33");
}

TEST(IntegerOperators, LiteralRightOperandAsTheGeneralForm) {
  // Each expression beside one whose right operand is read through a
  // variable holding the same literal.
  const char* const values[] = {"7", "-3", "\"12\"", "\"abc\"", "\"\"", "2147483647", "-2147483648"};
  const char* const operators[] = {"-", "*", "/", "%", "^", "|", "&", "<<", ">>", "==", "!=", "<", ">", "<=", ">=", "===", "!=="};
  const char* const literals[] = {"0", "1", "-1", "2", "31", "12"};
  for (const char* value : values) {
    for (const char* op : operators) {
      for (const char* literal : literals) {
        SCOPED_TRACE(std::string(value) + " " + op + " " + literal);
        const std::string setup = std::string("x = ") + value + "\nk = " + literal + "\n";
        const ScriptOutcome shaped = RunScriptText(setup + "CB.SetOutputText(\"\" + (x " + op + " " + literal + "))");
        const ScriptOutcome general = RunScriptText(setup + "CB.SetOutputText(\"\" + (x " + op + " k))");
        const ScriptOutcome nested = RunScriptText(setup + "CB.SetOutputText(\"\" + ((x + 0) " + op + " " + literal + "))");
        const ScriptOutcome nestedGeneral = RunScriptText(setup + "CB.SetOutputText(\"\" + ((x + 0) " + op + " k))");
        ASSERT_EQ(shaped.output.size(), 1u);
        EXPECT_EQ(shaped.output, general.output);
        EXPECT_EQ(Codes(shaped), Codes(general));
        EXPECT_EQ(nested.output, nestedGeneral.output);
        EXPECT_EQ(Codes(nested), Codes(nestedGeneral));
      }
    }
  }
}

TEST(IntegerOperators, LiteralRightOperandErrors) {
  const struct {
    const char* script;
    std::vector<int32_t> codes;
  } cases[] = {
      {"x = 5\ny = x / 0", {102}},
      {"x = 5\ny = x % 0", {103}},
      {"y = (2 + 3) / 0", {102}},
      {"DEFINE('MUSTVARDEF', 1)\ny = z * 2", {109}},
      {"DEFINE('MUSTVARDEF', 1)\ny = z < 2", {109}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.script);
    EXPECT_EQ(Codes(RunScriptText(c.script)), c.codes);
  }
}

TEST(ArrayGrowth, InOrderGapsAndOverwrites) {
  ExpectOutputs({
      {"for (i = 0, i < 100, ++i) {\na[i] = i * 2\n}\nr = \"\" + ArraySize(a) + \"/\" + a[0] + \"/\" + a[99]", "100/0/198"},
      {"a[5] = 1\na[2] = 7\na[6] = 3\nr = \"\" + ArraySize(a) + \"/\" + a[2] + a[3] + a[5] + a[6]", "7/7013"},
      {"a[0] = 1\na[0] = \"x\"\na[1] = 2\nr = \"\" + ArraySize(a) + a[0] + a[1]", "2x2"},
      {"a = \"text\"\na[0] = 4\nr = \"\" + ArraySize(a) + \"/\" + a[0]", "1/4"},
      {"b[0] = 1\nb[1] = 2\na = b\na[2] = 3\nr = \"\" + ArraySize(a) + \"/\" + ArraySize(b)", "3/2"},
  }, "", "\nCB.SetOutputText(r)");
}

}  // namespace

namespace {

// Function bodies whose result leaves the plain-integer path in each way.
// Each runs through a one-parameter call given an integer (the recursive
// shape) and through the same function with a second, unused parameter.
struct ResultCase {
  const char* body;
  const char* output;
};
constexpr ResultCase kResults[] = {
    {"return k + 1", "5"},
    {"return \"t\" + k", "t4"},
    {"a[1] = k\nreturn a", "A"},  // an array gives its text, its name
    {"k = \"s\"\nreturn k", "s"},
    {"return", "0"},
    {"x = k", "0"},
    {"if (k > 3) {\nreturn k * 2\n}\nreturn 1", "8"},
    {"return ToInt(\"9\") + k", "13"},
};

}  // namespace

TEST(UserCalls, EveryResultShapeOnBothCallPaths) {
  for (const ResultCase& c : kResults) {
    for (const char* params : {"k", "k, unused"}) {
      SCOPED_TRACE(std::string(c.body) + " / (" + params + ")");
      const std::string args = std::string(params) == "k" ? "4" : "4, 0";
      const ScriptOutcome o = RunScriptText(std::string("k = 77\nfunc f(") + params + ") {\n" + c.body +
                                            "\n}\nr = f(" + args + ")\nCB.SetOutputText(\"\" + r + \"/\" + k)");
      ASSERT_EQ(o.output.size(), 1u);
      // The parameter is a global put back after the call, whatever the body did to it.
      EXPECT_EQ(o.output[0], std::string(c.output) + "/77");
      EXPECT_TRUE(o.errors.empty());
    }
  }
}

TEST(UserCalls, RecursionKeepsEachFramesParameter) {
  ExpectOutputs({{"func fib(k) {\nif (k < 2) { return k }\nreturn fib(k - 1) + fib(k - 2)\n}\nr = fib(15)", "610/5"},
                 {"func s(k) {\nif (k == 0) { return \"\" }\nreturn s(k - 1) + k\n}\nr = s(4)", "1234/5"},
                 {"func g(k) {\nif (k == 0) { return 0 }\nreturn k + g(k - 1) + k\n}\nr = g(3)", "12/5"}},
                "k = 5\n", "\nCB.SetOutputText(\"\" + r + \"/\" + k)");
}

namespace {

// What a variable holds before an operator between it and a literal is
// computed in place: plain integers (at the wrap-around edges too), texts,
// an array, nothing at all, and nothing under MUSTVARDEF.
constexpr const char* kOperandSetups[] = {
    "k = 2",
    "k = -5",
    "k = 2147483647",
    "k = -2147483647 - 1",
    "k = \"2\"",
    "k = \"12\"",
    "k = \"x\"",
    "k = \"\"",
    "k[0] = 3",
    "",
    "DEFINE('MUSTVARDEF', 1)",
};

constexpr const char* kOperators[] = {"+", "-", "*", "<", ">", "<=", ">=", "==", "!=", "===", "!=="};
constexpr const char* kLiterals[] = {"2", "0", "-3", "2147483647"};

std::string Describe(const ScriptOutcome& o) {
  std::ostringstream text;
  text << "result " << o.result << "; output";
  for (const std::string& line : o.output) text << " [" << line << "]";
  text << "; errors";
  for (const ReportedError& e : o.errors) text << " " << e.code << "@" << e.line;
  return text.str();
}

// Runs the script with EXPR as `k op literal` (the shape computed in place)
// and as `k op (literal + 0)`, which only the general operator node
// evaluates; both runs must give the same output, errors and result.
void ExpectSameAsGeneralOperator(const std::string& script) {
  for (const char* setup : kOperandSetups) {
    for (const char* op : kOperators) {
      for (const char* literal : kLiterals) {
        const std::string shortForm = std::string("k ") + op + " " + literal;
        const std::string generalForm = std::string("k ") + op + " (" + literal + " + 0)";
        SCOPED_TRACE(std::string(setup) + " / " + shortForm);
        const std::string body = std::string(setup) + "\n" + script;
        const ScriptOutcome fast = RunScriptText(Replaced(body, "EXPR", shortForm));
        const ScriptOutcome general = RunScriptText(Replaced(body, "EXPR", generalForm));
        EXPECT_EQ(Describe(fast), Describe(general));
      }
    }
  }
}

}  // namespace

TEST(VariableLiteralOperators, IfConditionAsTheGeneralOperator) {
  ExpectSameAsGeneralOperator(
      "if (EXPR) {\nr = 'then'\n} else {\nr = 'else'\n}\nCB.SetOutputText(r + '/' + TypeOf(k) + '/' + k)");
}

TEST(VariableLiteralOperators, CallArgumentAsTheGeneralOperator) {
  // One parameter of another name, restored after the call.
  ExpectSameAsGeneralOperator(
      "p = 'old'\nfunc f(p) {\nreturn TypeOf(p) + ':' + p\n}\nr = f(EXPR)\nCB.SetOutputText(r + '/' + p)");
  // The parameter is the variable the argument reads: the argument sees the
  // caller's value, the body the argument's.
  ExpectSameAsGeneralOperator(
      "func g(k) {\nreturn TypeOf(k) + ':' + k\n}\nr = g(EXPR)\nCB.SetOutputText(r + '/' + TypeOf(k) + ':' + k)");
}

TEST(VariableLiteralOperators, KnownResultsInPlace) {
  ExpectOutputs({
      {"k = 5\nr = f(k + 2147483647)", "-2147483644"},  // wraps
      {"k = -2147483647 - 1\nr = f(k - 1)", "2147483647"},
      {"k = 65536\nr = f(k * 65536)", "0"},
      {"k = 3\nr = f(k >= 3) + f(k > 3) + f(k <= 2) + f(k != 3) + f(k === 3)", "2"},
      {"k = \"7\"\nr = f(k + 1)", "71"},  // a text on the left joins
  }, "func f(x) {\nreturn x\n}\n", "\nCB.SetOutputText(r)");
}

namespace {

std::vector<int32_t> g_stopLines;
int32_t RecordStopLine(int32_t line) {
  g_stopLines.push_back(line);
  return 0;
}

}  // namespace

// The stop check sees every completed statement's line, innermost block
// first, and none after a return: calls run their function's body and ifs
// their then-block inline, and must still ask at the same points.
TEST(StopCheck, SeesEveryCompletedStatementOnce) {
  g_stopLines.clear();
  const ScriptOutcome o = RunScriptText(
      "func f(k) {\n"             // 1
      "  if (k < 1) {\n"          // 2
      "    return 5\n"            // 3
      "  }\n"                     // 4
      "  x = k\n"                 // 5
      "  return k\n"              // 6
      "}\n"                       // 7
      "a = f(0)\n"                // 8
      "b = f(2)\n"                // 9
      "for (i = 0, i < 3, ++i) {\n"  // 10
      "  if (i == 1) {\n"         // 11
      "    continue\n"            // 12
      "  }\n"                     // 13
      "  if (i == 2) {\n"         // 14
      "    break\n"               // 15
      "  }\n"                     // 16
      "}\n"                       // 17
      "CB.SetOutputText(a + b)\n",  // 18
      {.stopCheck = RecordStopLine});
  ASSERT_EQ(o.output, std::vector<std::string>{"7"});
  // A compound statement reports the line it ends on.
  const std::vector<int32_t> expected = {
      7,                   // the function's definition
      8,                   // f(0) returns from inside its if: no check in it; a = f(0)
      4, 5, 9,             // f(2): the if (false), x = k, the return (no check); b = f(2)
      13, 16,              // i = 0: both ifs false
      12, 13,              // i = 1: continue, the if holding it; the body is left
      13, 15, 16,          // i = 2: the first if, break, the if holding it
      17, 18,              // the loop, the output
  };
  EXPECT_EQ(g_stopLines, expected);
}

// An if runs its then-block without the block's own stack check; tall
// nests of ifs are still checked and end in a report, never a crash.
TEST(NestedIfs, RunOrStopCleanlyWithoutTheBlocksOwnCheck) {
  std::string nest = "k = 1\n";
  constexpr int kDepth = 1000;
  for (int i = 0; i < kDepth; ++i) nest += "if (k < 2) {\n";
  nest += "CB.SetOutputText('deepest')\n";
  for (int i = 0; i < kDepth; ++i) nest += "}\n";
  const ScriptOutcome roomy = RunScriptText(nest);
  EXPECT_TRUE(roomy.errors.empty());
  EXPECT_EQ(roomy.output, std::vector<std::string>{"deepest"});
  const ScriptOutcome tight = RunScriptText(nest, {.stackBudget = 16 * 1024});
  ASSERT_EQ(tight.errors.size(), 1u);
  EXPECT_EQ(tight.errors[0].code, 106);
  EXPECT_TRUE(tight.output.empty());
}

// A return travelling out of a loop leaves a break that a function called
// earlier in the same statement left pending: that break ends the caller's
// loop, and nothing after the returning loop runs.
TEST(UserCalls, ReturnFromALoopKeepsAPendingBreakForTheCaller) {
  for (const char* pending : {"break", "continue"}) {
    SCOPED_TRACE(pending);
    const ScriptOutcome o = RunScriptText(std::string("func f() {\n") + pending + "\n}\n"
                                          "func g() {\nwhile (1) {\nreturn 5\n}\nCB.SetOutputText('after the loop')\n}\n"
                                          "n = 0\nloop {\nn = n + 1\nif (n > 3) {\nbreak\n}\nx = f() + g()\n}\n"
                                          "CB.SetOutputText('' + n + '/' + x)");
    EXPECT_TRUE(o.errors.empty());
    // break ends the caller's loop at once; continue goes on to its next pass.
    EXPECT_EQ(o.output, std::vector<std::string>{std::string(pending) == "break" ? "1/5" : "4/5"});
  }
}
