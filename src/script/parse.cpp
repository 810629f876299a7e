#include "script/parse.h"

#include <algorithm>
#include <cstdio>

void ParseRegistries::release() {
  for (Node* node : nodes) delete node;
  for (std::string* text : texts) delete text;
  for (NameList* list : lists) delete list;
  nodes.clear();
  texts.clear();
  lists.clear();
}

constexpr std::size_t kQuoteLimit = 255;
constexpr std::size_t kMarkerBlanksLimit = 252;
constexpr std::size_t kMarkerLimit = 254;
constexpr std::size_t kSyntaxMessageLimit = 1024;

std::string FormatSyntaxError(const std::vector<std::string>& sourceLines, int32_t line, int32_t column,
                              std::string_view message, std::string_view tokenText) {
  std::string got;
  if (!tokenText.empty() && tokenText[0] != '\n' && tokenText[0] != '\r') {
    got = " (got '";
    got += tokenText;
    got += "')";
  }
  char location[64];
  std::snprintf(location, sizeof location, "line %d, col %d: ", static_cast<int>(line), static_cast<int>(column));
  std::string text = location;
  text += message;
  text += got;

  if (line >= 1 && static_cast<std::size_t>(line) <= sourceLines.size()) {
    char prefix[32];
    int prefixLength = std::snprintf(prefix, sizeof prefix, "   %d | ", static_cast<int>(line));
    std::string quote = prefix;
    quote += sourceLines[static_cast<std::size_t>(line) - 1];
    if (quote.size() > kQuoteLimit) quote.resize(kQuoteLimit);

    // The marker stands under the token's first byte in the quote line.
    std::size_t blanks = static_cast<std::size_t>(prefixLength) + static_cast<std::size_t>(std::max(column, 1) - 1);
    blanks = std::min(blanks, kMarkerBlanksLimit);
    std::string marker(blanks, ' ');
    marker += '^';
    if (tokenText.size() >= 2 && marker.size() + tokenText.size() - 1 <= kMarkerLimit)
      marker.append(tokenText.size() - 1, '~');
    text += '\n';
    text += quote;
    text += '\n';
    text += marker;
  }
  if (text.size() > kSyntaxMessageLimit) text.resize(kSyntaxMessageLimit);
  return text;
}
