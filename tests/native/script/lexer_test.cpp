#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "parser.hpp"
#include "script/parse.h"

namespace {

struct Token {
  int code;
  std::string text;  // name or literal; the integer in decimal for INTEGER
  int line;
  int column;
  bool operator==(const Token&) const = default;
};

std::ostream& operator<<(std::ostream& os, const Token& t) {
  return os << "{" << t.code << " '" << t.text << "' " << t.line << ":" << t.column << "}";
}

std::vector<Token> Scan(std::string_view text) {
  Lexer lexer;
  ParseRegistries registries;
  lexer.setRegistries(&registries);
  lexer.start(text);
  lexer.resetCounters();
  std::vector<Token> tokens;
  for (int guard = 0; guard < 1000; ++guard) {
    QVS_STYPE value{};
    int code = lexer.next(&value);
    Token t{code, "", lexer.tokenStartLine(), lexer.tokenStartColumn()};
    if (code == INTEGER) t.text = std::to_string(value.integer);
    if (code == IDENTIFIER || code == STRING_LITERAL || code == LABEL_IDENT) t.text = *value.text;
    tokens.push_back(t);
    if (code == 0) break;
  }
  return tokens;  // the registries free the token texts
}

std::vector<int> Codes(std::string_view text) {
  std::vector<int> codes;
  for (const Token& t : Scan(text)) codes.push_back(t.code);
  return codes;
}

std::string Single(std::string_view text, int expectedCode) {
  auto tokens = Scan(text);
  EXPECT_GE(tokens.size(), 2u) << text;
  EXPECT_EQ(tokens[0].code, expectedCode) << text;
  return tokens[0].text;
}

TEST(LexerTokens, KeywordsIgnoreCaseIdentifiersAreUpperCased) {
  EXPECT_EQ(Codes("WHILE While while"), (std::vector<int>{WHILE, WHILE, WHILE, 0}));
  EXPECT_EQ(Single("Whilex", IDENTIFIER), "WHILEX");
  EXPECT_EQ(Single("abc$", IDENTIFIER), "ABC$");
  EXPECT_EQ(Codes("a$$"), (std::vector<int>{IDENTIFIER, '$', 0}));
  EXPECT_EQ(Single("_x9", IDENTIFIER), "_X9");
  EXPECT_EQ(Single(":loop_1", LABEL_IDENT), ":LOOP_1");
  EXPECT_EQ(Codes("if else while loop for repeat until break continue exit cb func return goto"),
            (std::vector<int>{IF, ELSE, WHILE, LOOP, FOR, REPEAT, UNTIL, BREAK, CONTINUE, EXIT, CB, FUNC, RETURN,
                              GOTO, 0}));
  EXPECT_EQ(Codes("a?b:c"), (std::vector<int>{IDENTIFIER, '?', IDENTIFIER, LABEL_IDENT, 0}));
  EXPECT_EQ(Codes(": c"), (std::vector<int>{':', IDENTIFIER, 0}));
}

TEST(LexerTokens, Numbers) {
  struct Case {
    const char* text;
    const char* value;
  } cases[] = {
      {"0x1F", "31"},          {"0b101", "5"},           {"0B1", "1"},  {"012", "12"},
      {"4294967296", "2147483647"}, {"0xFFFFFFFF", "2147483647"}, {"0x7fffffff", "2147483647"},
      {"2147483647", "2147483647"}, {"0", "0"},
  };
  for (const Case& c : cases) EXPECT_EQ(Single(c.text, INTEGER), c.value) << c.text;
  EXPECT_EQ(Codes("1e5"), (std::vector<int>{INTEGER, IDENTIFIER, 0}));
  EXPECT_EQ(Codes("1.5"), (std::vector<int>{INTEGER, '.', INTEGER, 0}));
  EXPECT_EQ(Codes("0x"), (std::vector<int>{INTEGER, IDENTIFIER, 0}));
  EXPECT_EQ(Codes("-5"), (std::vector<int>{'-', INTEGER, 0}));
}

TEST(LexerTokens, OperatorsLongestFirst) {
  EXPECT_EQ(Codes("=== !== == != <= >= && || ++ -- += -= *= /= %= **= >>= <<= |= ^= &= ** >> << ="),
            (std::vector<int>{STRICT_EQ, STRICT_NE, EQ, NE, LE, GE, AND, OR, INC, DEC, ADD_ASSIGN, SUB_ASSIGN,
                              MUL_ASSIGN, DIV_ASSIGN, MOD_ASSIGN, POW_ASSIGN, RSHIFT_ASSIGN, LSHIFT_ASSIGN, OR_ASSIGN,
                              XOR_ASSIGN, AND_ASSIGN, POW, RS, LS, ASSIGN, 0}));
  EXPECT_EQ(Codes("( ) { } [ ] , . < > + - * / % & | ^ ! ~"),
            (std::vector<int>{'(', ')', '{', '}', '[', ']', ',', '.', '<', '>', '+', '-', '*', '/', '%', '&', '|',
                              '^', '!', '~', 0}));
  // form feed and vertical tab are not white space; other bytes are their own token
  EXPECT_EQ(Codes("\f\v\xE3"), (std::vector<int>{'\f', '\v', 0xE3, 0}));
}

TEST(LexerStrings, EscapesAndRawForms) {
  struct Case {
    const char* source;
    const char* literal;
  } cases[] = {
      {R"("a\nb")", "a\nb"},      {R"('a\tb')", "a\tb"},   {R"("\q")", "q"},         {R"("\0")", "0"},
      {R"("\\")", "\\"},          {R"("it\"s")", "it\"s"}, {R"('it\'s')", "it's"},   {R"("'")", "'"},
      {R"('"')", "\""},           {R"(@"\q")", "\\q"},     {R"(@'a\'b')", "a\\'b"},  {R"("\a\b\f\v\r")", "\a\b\f\v\r"},
      {"\"one\ntwo\"", "onetwo"}, {"\"cr\rkept\"", "cr\rkept"}, {"\"\xE6\x97\xA5\"", "\xE6\x97\xA5"},
      {R"(@"C:\dir\")", "C:\\dir\\\""},
  };
  for (const Case& c : cases) {
    auto tokens = Scan(c.source);
    ASSERT_FALSE(tokens.empty());
    if (std::string(c.source) == R"(@"C:\dir\")") {
      // a raw string cannot end with a backslash: the quote is kept and the literal runs on
      EXPECT_EQ(tokens[0].code, 0) << c.source;
      continue;
    }
    EXPECT_EQ(tokens[0].code, STRING_LITERAL) << c.source;
    EXPECT_EQ(tokens[0].text, c.literal) << c.source;
  }
  EXPECT_EQ(Codes("\"open"), (std::vector<int>{0}));
}

TEST(LexerLines, CommentsContinuationsAndLookAheads) {
  EXPECT_EQ(Codes("x = 1 # note\ny"), (std::vector<int>{IDENTIFIER, ASSIGN, INTEGER, EOL, IDENTIFIER, 0}));
  EXPECT_EQ(Codes("x = 1 ; note\n"), (std::vector<int>{IDENTIFIER, ASSIGN, INTEGER, EOL, 0}));
  EXPECT_EQ(Codes("x // note"), (std::vector<int>{IDENTIFIER, EOL, 0}));
  // an operator at the end of a line continues the expression
  EXPECT_EQ(Codes("1 +  \n2"), (std::vector<int>{INTEGER, '+', INTEGER, 0}));
  EXPECT_EQ(Codes("f(\n1)"), (std::vector<int>{IDENTIFIER, '(', INTEGER, ')', 0}));
  EXPECT_EQ(Codes("x =\n1"), (std::vector<int>{IDENTIFIER, '=', INTEGER, 0}));
  EXPECT_EQ(Codes("a,\nb"), (std::vector<int>{IDENTIFIER, ',', EOL, IDENTIFIER, 0}));
  // line breaks before "else" and "{" are swallowed
  EXPECT_EQ(Codes("}\n\n  ELSE"), (std::vector<int>{'}', ELSE, 0}));
  EXPECT_EQ(Codes(")\r\n{"), (std::vector<int>{')', '{', 0}));
  EXPECT_EQ(Codes("a\r\nb"), (std::vector<int>{IDENTIFIER, EOL, EOL, IDENTIFIER, 0}));
}

TEST(LexerLines, LineAndColumnOfEachToken) {
  std::vector<Token> tokens = Scan("ab = 'x'\n\tcd  +\n  3 # c\n:L");
  std::vector<Token> expected = {
      {IDENTIFIER, "AB", 1, 1}, {ASSIGN, "", 1, 4},    {STRING_LITERAL, "x", 1, 6}, {EOL, "", 1, 9},
      {IDENTIFIER, "CD", 2, 2}, {'+', "", 2, 6},       {INTEGER, "3", 3, 3},        {EOL, "", 3, 5},
      {LABEL_IDENT, ":L", 4, 1}, {0, "", 4, 3},
  };
  EXPECT_EQ(tokens, expected);
}

}  // namespace
