#include <gtest/gtest.h>

#include <string>

#include "common/utf.h"
#include "script/parse.h"

namespace {

// A compact picture of a tree: operators by their code, names as written.
std::string Show(const Node* node) {
  if (!node) return "-";
  if (auto* n = dynamic_cast<const IntNode*>(node)) return std::to_string(n->value);
  if (auto* n = dynamic_cast<const StringNode*>(node)) return "'" + n->text() + "'";
  if (auto* n = dynamic_cast<const VarNode*>(node)) return n->name;
  if (auto* n = dynamic_cast<const BinaryNode*>(node))
    return "(" + std::to_string(n->kind) + " " + Show(n->left.get()) + " " + Show(n->right.get()) + ")";
  if (auto* n = dynamic_cast<const UnaryNode*>(node)) return "(u" + std::to_string(n->kind) + " " + Show(n->operand.get()) + ")";
  if (auto* n = dynamic_cast<const AssignNode*>(node))
    return "(=" + std::to_string(n->op) + " " + n->target->name + " " + Show(n->value.get()) + ")";
  if (auto* n = dynamic_cast<const CondNode*>(node))
    return "(? " + Show(n->condition.get()) + " " + Show(n->ifTrue.get()) + " " + Show(n->ifFalse.get()) + ")";
  if (auto* n = dynamic_cast<const ArrayAssignNode*>(node))
    return "([]= " + n->name + " " + Show(n->index.get()) + " " + Show(n->value.get()) + ")";
  if (auto* n = dynamic_cast<const ArrayAccessNode*>(node)) return "([] " + n->name + " " + Show(n->index.get()) + ")";
  if (auto* n = dynamic_cast<const FuncCallNode*>(node)) {
    std::string s = "(call " + n->name;
    for (auto& a : n->arguments) s += " " + Show(a.get());
    return s + ")";
  }
  if (auto* n = dynamic_cast<const CBCallNode*>(node)) {
    std::string s = "(cb " + n->name;
    for (auto& a : n->arguments) s += " " + Show(a.get());
    return s + ")";
  }
  if (auto* n = dynamic_cast<const BlockNode*>(node)) {
    std::string s = "{";
    for (auto& st : n->statements) s += (s.size() > 1 ? " " : "") + Show(st.get());
    return s + "}";
  }
  if (auto* n = dynamic_cast<const IfNode*>(node))
    return "(if " + Show(n->condition.get()) + " " + Show(n->thenBlock.get()) + " " + Show(n->elsePart.get()) + ")";
  if (auto* n = dynamic_cast<const WhileNode*>(node))
    return std::string(n->endless ? "(loop " : "(while ") + Show(n->condition.get()) + " " + Show(n->body.get()) + ")";
  if (auto* n = dynamic_cast<const ForNode*>(node))
    return "(for " + Show(n->init.get()) + " " + Show(n->condition.get()) + " " + Show(n->step.get()) + " " +
           Show(n->body.get()) + ")";
  if (auto* n = dynamic_cast<const DoWhileNode*>(node)) return "(repeat " + Show(n->body.get()) + " " + Show(n->condition.get()) + ")";
  if (auto* n = dynamic_cast<const ExitNode*>(node)) return "(exit " + Show(n->code.get()) + ")";
  if (auto* n = dynamic_cast<const ReturnNode*>(node)) return "(return " + Show(n->value.get()) + ")";
  if (auto* n = dynamic_cast<const GotoNode*>(node)) return "(goto " + (n->target ? Show(n->target.get()) : n->label) + ")";
  if (auto* n = dynamic_cast<const LabelNode*>(node)) return n->name;
  if (dynamic_cast<const TrueNode*>(node)) return "true";
  if (dynamic_cast<const DummyNode*>(node)) return "dummy";
  if (node->kind == kNodeBreak) return "break";
  if (node->kind == kNodeContinue) return "continue";
  return "?";
}

std::vector<std::string> g_errors;
void CollectError(int32_t, int32_t, const char16_t* text) { g_errors.push_back(Utf16ToUtf8(text)); }

struct Parsed {
  bool ok;
  std::string tree;
  std::string error;
  std::vector<std::string> functions;
  std::size_t leftover = 0;  // registered allocations not owned by the tree
};

Parsed Parse(std::string text) {
  text += '\n';
  ScriptRun run;
  run.host.errorCallback = CollectError;
  g_errors.clear();
  std::size_t begin = 0;
  while (begin < text.size()) {
    std::size_t end = text.find('\n', begin);
    run.sourceLines.push_back(text.substr(begin, end - begin));
    begin = end + 1;
  }
  Lexer lexer;
  ParseRegistries registries;
  lexer.setRegistries(&registries);
  lexer.start(text);
  lexer.resetCounters();
  ParseContext context{run, lexer, registries, nullptr};
  Parsed p;
  p.ok = ParseScript(context);
  if (p.ok && context.root->depth < 200) p.tree = Show(context.root.get());
  if (!g_errors.empty()) p.error = g_errors.front();
  for (auto& [name, def] : run.functions) p.functions.push_back(name + "(" + std::to_string(def->params.size()) + ")");
  p.leftover = registries.nodes.size() + registries.texts.size() + registries.lists.size();
  return p;
}

std::string Tree(const std::string& text) {
  Parsed p = Parse(text);
  EXPECT_TRUE(p.ok) << text << "\n" << p.error;
  EXPECT_EQ(p.leftover, 0u) << text;
  return p.tree;
}

TEST(ParserPrecedence, ExpressionShapes) {
  struct Case {
    const char* source;
    const char* tree;
  } cases[] = {
      {"a = 1 + 2 * 3", "{(=1 A (15 1 (17 2 3)))}"},
      {"a = 10 - 2 - 3", "{(=1 A (16 (16 10 2) 3))}"},
      {"a = 2 ** 3 ** 2", "{(=1 A (20 (20 2 3) 2))}"},
      {"a = 2 * 3 ** 2", "{(=1 A (20 (17 2 3) 2))}"},
      {"a = -2 ** 2", "{(=1 A (20 (u16 2) 2))}"},
      {"a = 1 | 2 == 2", "{(=1 A (21 1 (27 2 2)))}"},
      {"a = 1 << 1 + 1", "{(=1 A (25 1 (15 1 1)))}"},
      {"a = 1 < 2 == 1", "{(=1 A (27 (31 1 2) 1))}"},
      {"a = 1 ^ 2 & 3 | 4", "{(=1 A (21 (23 1 (22 2 3)) 4))}"},
      {"x = b ? c : d", "{(=1 X (? B C D))}"},
      {"x = a ? b : c ? d : e", "{(=1 X (? A B (? C D E)))}"},
      {"x = a ? b = 1 : c", "{(=1 X (? A (=1 B 1) C))}"},
      {"x = a + b ? c : d", "{(=1 X (? (15 A B) C D))}"},
      {"x = 1 + a = 2", "{(=1 X (15 1 (=1 A 2)))}"},
      {"a = b || c", "{(36 (=1 A B) C)}"},
      {"!a && b || c", "{(36 (35 (u37 A) B) C)}"},
      {"a || b && c", "{(36 A (35 B C))}"},
      {"x = b & c === d", "{(=1 X (22 B (29 C D)))}"},
      {"x = b === c & d", "{(=1 X (29 B (22 C D)))}"},
      {"x = b === c === d", "{(=1 X (29 B (29 C D)))}"},
      {"x = b + c === d + e", "{(=1 X (15 B (29 C (15 D E))))}"},
      {"x = b !== c", "{(=1 X (30 B C))}"},
      {"x = ~-a", "{(=1 X (u24 (u16 A)))}"},
      {"++i", "{(=38 I 1)}"},
      {"--i", "{(=39 I 1)}"},
      {"i++", "{(=49 I 1)}"},
      {"i--", "{(=50 I 1)}"},
      {"x **= 2", "{(=48 X 2)}"},
      {"x >>= 1", "{(=43 X 1)}"},
      {"x <<= 1", "{(=44 X 1)}"},
      {"x[i + 1] = 'v'", "{([]= X (15 I 1) 'v')}"},
      {"y = x[2]", "{(=1 Y ([] X 2))}"},
      {"f()", "{(call F)}"},
      {"CB.Foo(1, 'a')", "{(cb FOO 1 'a')}"},
      {"s$ = Left$(t, 2)", "{(=1 S$ (call LEFT$ T 2))}"},
  };
  for (const Case& c : cases) EXPECT_EQ(Tree(c.source), c.tree) << c.source;
}

TEST(ParserStatements, BlocksLoopsAndJumps) {
  struct Case {
    const char* source;
    const char* tree;
  } cases[] = {
      {"if (a) {\n}\nelse if (b) {\n}", "{(if A {} (if B {} -))}"},
      {"if a {\nx = 1\n} else {\nx = 2\n}", "{(if A {(=1 X 1)} {(=1 X 2)})}"},
      {"if (a)\n{\nb = 1\n}\nelse\n{\n}", "{(if A {(=1 B 1)} {})}"},
      {"for (,,) {\n}", "{(for dummy true dummy {})}"},
      {"for (i = 0, i < 3, i++) {\nbreak\n}", "{(for (=1 I 0) (31 I 3) (=49 I 1) {break})}"},
      {"while x < 3 {\ncontinue\n}", "{(while (31 X 3) {continue})}"},
      {"loop {\nexit\n}", "{(loop - {(exit -)})}"},
      {"repeat {\n} until x > 1", "{(repeat {} (32 X 1))}"},
      {"exit 7", "{(exit 7)}"},
      {"goto :L\n:L x = 1", "{(goto :L) :L (=1 X 1)}"},
      {"goto ':L' + n", "{(goto (15 ':L' N))}"},
      {"if (a) { return 1 }", "{(if A {(return 1)} -)}"},
      {"if (a) { goto :Z }", "{(if A {(goto :Z)} -)}"},
      {"return", "{(return -)}"},
      {"# only\n\n; comments\n", "{}"},
      {"x = 1 +\n2", "{(=1 X (15 1 2))}"},
      {"f(\n1)", "{(call F 1)}"},
      {"a = 1\r\nb = 2\r\n", "{(=1 A 1) (=1 B 2)}"},
  };
  for (const Case& c : cases) EXPECT_EQ(Tree(c.source), c.tree) << c.source;
}

TEST(ParserFunctions, RegisteredWhileParsingEvenInBlocksThatNeverRun) {
  Parsed p = Parse("if (0) {\nfunc g(a, b) {\nreturn a\n}\n}\nfunc f() {\n}\nfunc f(x) {\n}");
  ASSERT_TRUE(p.ok) << p.error;
  EXPECT_EQ(p.functions, (std::vector<std::string>{"F(1)", "G(2)"}));  // the later f replaces the earlier
  EXPECT_EQ(p.tree, "{(if 0 {dummy} -) dummy dummy}");
}

TEST(ParserErrors, ExactTexts) {
  struct Case {
    const char* source;
    const char* error;
  } cases[] = {
      {"x = (1", "line 1, col 7: parse error, expecting `AND' or `OR' or `')''\n   1 | x = (1\n             ^"},
      {"x = 1 1", "line 1, col 7: parse error, expecting `AND' or `OR' or `EOL' (got '1')\n   1 | x = 1 1\n             ^"},
      {"repeat {\n}", "line 2, col 2: parse error, expecting `UNTIL'\n   2 | }\n        ^"},
      {"f(1,", "line 1, col 5: parse error\n   1 | f(1,\n           ^"},
      {"x =\n1", "line 1, col 3: parse error, expecting `AND' or `OR' or `EOL' (got '=\n')\n   1 | x =\n         ^~"},
      {"if (a) { b = 1 }",
       "line 1, col 16: parse error, expecting `AND' or `OR' or `EOL' (got '}')\n   1 | if (a) { b = 1 }\n                      ^"},
      {"a = !b", "line 1, col 5: parse error (got '!')\n   1 | a = !b\n           ^"},
      {"x[i] += 1", "line 1, col 6: parse error, expecting `AND' or `OR' or `EOL' (got '+=')\n   1 | x[i] += 1\n            ^~"},
      {"y = 1\nz = a?b:c", "line 2, col 8: parse error (got ':c')\n   2 | z = a?b:c\n              ^~"},
  };
  for (const Case& c : cases) {
    Parsed p = Parse(c.source);
    EXPECT_FALSE(p.ok) << c.source;
    EXPECT_EQ(p.error, c.error) << c.source;
  }
}

TEST(ParserErrors, LongLinesAreCutInTheQuote) {
  std::string line = "x = 1 " + std::string(400, ' ') + "2";
  Parsed p = Parse(line);
  ASSERT_FALSE(p.ok);
  auto first = p.error.find('\n');
  auto second = p.error.find('\n', first + 1);
  ASSERT_NE(second, std::string::npos);
  EXPECT_EQ(second - first - 1, 255u);  // the quote line
  std::string marker = p.error.substr(second + 1);
  EXPECT_EQ(marker, std::string(252, ' ') + "^");
  EXPECT_LE(p.error.size(), 1024u);
}

TEST(ParserErrors, MarkerKeepsWithinItsLimits) {
  struct Case {
    int blanks;       // before "x = 1 abc", whose "abc" is the offending token
    std::size_t caret;  // where the ^ lands in the marker line
    bool tildes;
  } cases[] = {{0, 13, true}, {230, 243, true}, {238, 251, true}, {239, 252, false}, {300, 252, false}};
  for (const Case& c : cases) {
    Parsed p = Parse(std::string(c.blanks, ' ') + "x = 1 abc");
    ASSERT_FALSE(p.ok);
    std::string marker = p.error.substr(p.error.rfind('\n') + 1);
    EXPECT_EQ(marker.find('^'), c.caret) << c.blanks;
    EXPECT_EQ(marker.ends_with("^~~"), c.tildes) << c.blanks << ": " << marker.size();
    EXPECT_LE(marker.size(), 255u);
  }
}

TEST(ParserLimits, StackOverflowAndDeepTreesAreRefused) {
  std::string deep = "x = " + std::string(12000, '(') + "1" + std::string(12000, ')');
  Parsed p = Parse(deep);
  EXPECT_FALSE(p.ok);
  EXPECT_TRUE(p.error.starts_with("line 1, col ")) << p.error;
  EXPECT_TRUE(p.error.ends_with(": parser stack overflow")) << p.error;
  EXPECT_TRUE(Parse("x = " + std::string(4000, '(') + "1" + std::string(4000, ')')).ok);

  std::string chain = "x = 1";
  for (int i = 0; i < 5000; ++i) chain += " + 1";
  p = Parse(chain);
  EXPECT_FALSE(p.ok);
  EXPECT_NE(p.error.find("nesting too deep"), std::string::npos) << p.error;

  std::string fine = "x = 1";
  for (int i = 0; i < 2000; ++i) fine += " + 1";
  EXPECT_TRUE(Parse(fine).ok);
}

TEST(ParserOwnership, FailedParsesLeaveEverythingToTheRegistries) {
  // Whatever a failed parse built is still registered (and freed with the
  // registries); a successful parse leaves nothing behind.
  for (const char* source : {"x = f(1, 'a', b[2]) +", "func f(a, b) {\nreturn a\n", "if (a) {\nx = 'str'\n} else"}) {
    Parsed p = Parse(source);
    EXPECT_FALSE(p.ok) << source;
    EXPECT_GT(p.leftover, 0u) << source;
  }
  EXPECT_EQ(Parse("x = f(1, 'a', b[2])").leftover, 0u);
}

}  // namespace
