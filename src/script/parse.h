#pragma once
// Turning script text into a syntax tree: the scanner state, the parse
// registries that own everything built so far, and the parse itself.

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

#include "script/nodes.h"
#include "script/script_run.h"

using NameList = std::vector<std::string>;

// Everything the parser allocates stays here until a parent node takes it;
// after a failed parse whatever is left is released.
struct ParseRegistries {
  std::unordered_set<Node*> nodes;
  std::unordered_set<std::string*> texts;
  std::unordered_set<NameList*> lists;

  ~ParseRegistries() { release(); }
  void release();
};

// The scanner of one engine: a copy of the text and the line and column
// counters read by node construction and the syntax-error report.
class Lexer {
 public:
  Lexer();
  ~Lexer();
  Lexer(const Lexer&) = delete;
  Lexer& operator=(const Lexer&) = delete;

  // Takes a copy of the text up to its first NUL byte.
  void start(std::string_view utf8);
  void resetCounters();
  // The next token code (0 at the end); fills the semantic value through
  // the parser's value type.
  int next(void* value);

  int32_t currentLine() const;
  int32_t tokenStartLine() const;
  int32_t tokenStartColumn() const;
  const std::string& lastTokenText() const;

  void setRegistries(ParseRegistries* registries);

  struct State;  // defined with the scanner rules

 private:
  std::unique_ptr<State> state_;
};

// Deepest syntax tree a parse accepts; keeps evaluation and destruction of
// any accepted tree within a thread's stack.
inline constexpr int32_t kMaxTreeDepth = 3000;

struct ParseContext {
  ScriptRun& run;
  Lexer& lexer;
  ParseRegistries& registries;
  std::unique_ptr<BlockNode> root;

  int32_t line() const { return lexer.tokenStartLine(); }

  template <class T, class... Args>
  T* make(Args&&... args) {
    auto node = std::make_unique<T>(std::forward<Args>(args)...);
    registries.nodes.insert(node.get());
    return node.release();
  }
  Node* keep(NodePtr node) {
    registries.nodes.insert(node.get());
    return node.release();
  }
  NodePtr take(Node* node) {
    if (node) registries.nodes.erase(node);
    return NodePtr(node);
  }
  template <class T>
  std::unique_ptr<T> takeAs(Node* node) {
    return std::unique_ptr<T>(static_cast<T*>(take(node).release()));
  }
  std::string* text(std::string value) {
    auto owned = std::make_unique<std::string>(std::move(value));
    registries.texts.insert(owned.get());
    return owned.release();
  }
  std::string takeText(std::string* value) {
    registries.texts.erase(value);
    std::unique_ptr<std::string> owned(value);
    return std::move(*owned);
  }
  NameList* names() {
    auto owned = std::make_unique<NameList>();
    registries.lists.insert(owned.get());
    return owned.release();
  }
  NameList takeNames(NameList* list) {
    registries.lists.erase(list);
    std::unique_ptr<NameList> owned(list);
    return std::move(*owned);
  }
  std::vector<NodePtr> takeArguments(Node* list) {
    std::unique_ptr<ListNode> owned = takeAs<ListNode>(list);
    return std::move(owned->items);
  }
};

// Parses the text the lexer holds. On success the tree is in context.root;
// on failure the error (code 101) has been reported.
bool ParseScript(ParseContext& context);

// The syntax-error text: location, message, got-part and the quoted line.
std::string FormatSyntaxError(const std::vector<std::string>& sourceLines, int32_t line, int32_t column,
                              std::string_view message, std::string_view tokenText);
