#include "settings/ini_file.h"

#include <cstdint>
#include <unordered_map>

#include "common/utf.h"

namespace {

constexpr std::string_view kUtf16LeMark("\xFF\xFE", 2);

bool IsBlank(char16_t c) { return c == u' ' || c == u'\t'; }

std::u16string_view Trim(std::u16string_view s) {
  while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
  return s;
}

std::u16string Folded(std::u16string_view s) {
  std::u16string out(s);
  for (char16_t& c : out) {
    if (c >= u'A' && c <= u'Z') c = char16_t(c - u'A' + u'a');
  }
  return out;
}

struct Line {
  std::u16string_view body;   // without its line break
  std::u16string_view ending;  // "\r\n", "\n", "\r" or empty at the end
};

std::vector<Line> SplitLines(std::u16string_view text) {
  std::vector<Line> lines;
  std::size_t at = 0;
  while (at < text.size()) {
    std::size_t end = at;
    while (end < text.size() && text[end] != u'\r' && text[end] != u'\n') ++end;
    std::size_t next = end;
    if (next < text.size() && text[next] == u'\r') ++next;
    if (next < text.size() && text[next] == u'\n' && (next == end || text[next - 1] == u'\r')) ++next;
    lines.push_back(Line{text.substr(at, end - at), text.substr(end, next - end)});
    at = next;
  }
  return lines;
}

// The section name of a "[name]" line, or false.
bool SectionName(std::u16string_view body, std::u16string_view& name) {
  body = Trim(body);
  if (body.empty() || body.front() != u'[') return false;
  const std::size_t close = body.find(u']');
  name = Trim(body.substr(1, close == std::u16string_view::npos ? std::u16string_view::npos : close - 1));
  return true;
}

// The key of a "key=value" line, or false for blank lines and comments.
bool KeyName(std::u16string_view body, std::u16string_view& key) {
  const std::u16string_view trimmed = Trim(body);
  if (trimmed.empty() || trimmed.front() == u';') return false;
  const std::size_t equals = trimmed.find(u'=');
  key = Trim(trimmed.substr(0, equals));
  return !key.empty();
}

}  // namespace


IniEncoding DetectIniEncoding(std::string_view bytes) {
  if (bytes.empty()) return IniEncoding::Empty;
  switch (FindByteOrderMark(bytes).kind) {
    case ByteOrderMark::kUtf16Le: return IniEncoding::Utf16Le;
    case ByteOrderMark::kUtf16Be: return IniEncoding::Utf16Be;
    case ByteOrderMark::kUtf8: return IniEncoding::Utf8;
    case ByteOrderMark::kNone: break;
  }
  return IsValidUtf8(bytes) ? IniEncoding::Utf8 : IniEncoding::Ansi;
}

std::u16string DecodeIniText(std::string_view bytes, IniEncoding encoding, IniAnsiDecoder ansi) {
  const std::string_view body = bytes.substr(FindByteOrderMark(bytes).size);
  switch (encoding) {
    case IniEncoding::Empty: return {};
    case IniEncoding::Utf16Le: return Utf16FromBytes(body, false, false);
    case IniEncoding::Utf16Be: return Utf16FromBytes(body, true, false);
    case IniEncoding::Utf8: return Utf8ToUtf16(body);
    case IniEncoding::Ansi: return ansi != nullptr ? ansi(bytes) : Utf8ToUtf16(bytes);
  }
  return {};
}

std::string EncodeIniText(std::u16string_view text) {
  std::string bytes(kUtf16LeMark);
  bytes.reserve(2 + 2 * text.size());
  for (char16_t c : text) {
    bytes.push_back(char(c & 0xFF));
    bytes.push_back(char(c >> 8));
  }
  return bytes;
}

std::u16string MergeIniSection(std::u16string_view text, std::u16string_view section,
                               const std::vector<IniKeyWrite>& writes) {
  const std::vector<Line> lines = SplitLines(text);
  const std::u16string wanted = Folded(section);

  // The first section of that name: its header line and its last line that
  // is not blank (new keys go after it).
  std::size_t header = lines.size();
  std::size_t last_filled = lines.size();
  std::unordered_map<std::u16string, std::size_t> key_lines;  // folded key -> first line
  for (std::size_t i = 0; i < lines.size(); ++i) {
    std::u16string_view name;
    if (SectionName(lines[i].body, name)) {
      if (header != lines.size()) break;
      if (Folded(name) == wanted) header = last_filled = i;
      continue;
    }
    if (header == lines.size()) continue;
    if (!Trim(lines[i].body).empty()) last_filled = i;
    std::u16string_view key;
    if (KeyName(lines[i].body, key)) key_lines.emplace(Folded(key), i);
  }

  std::unordered_map<std::size_t, std::u16string> replaced;  // line -> new body
  std::vector<std::u16string> added;                         // new "KEY=value" lines, in order
  std::unordered_map<std::u16string, std::size_t> added_at;  // folded key -> index in `added`
  for (const IniKeyWrite& w : writes) {
    const std::u16string folded = Folded(w.key);
    std::u16string body = w.key + u"=" + w.value;
    if (auto found = key_lines.find(folded); found != key_lines.end()) {
      replaced[found->second] = std::move(body);
    } else if (auto again = added_at.find(folded); again != added_at.end()) {
      added[again->second] = std::move(body);
    } else {
      added_at.emplace(folded, added.size());
      added.push_back(std::move(body));
    }
  }

  std::u16string out;
  out.reserve(text.size() + 64 * writes.size());
  auto add_new_keys = [&]() {
    for (const std::u16string& line : added) out.append(line).append(u"\r\n");
  };
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const auto r = replaced.find(i);
    out.append(r != replaced.end() ? std::u16string_view(r->second) : lines[i].body);
    if (i == last_filled && !added.empty()) {
      // The section's last line may be the file's last, without a break.
      out.append(lines[i].ending.empty() ? std::u16string_view(u"\r\n") : lines[i].ending);
      add_new_keys();
      continue;
    }
    out.append(lines[i].ending);
  }
  if (header == lines.size()) {
    if (!out.empty() && out.back() != u'\n' && out.back() != u'\r') out.append(u"\r\n");
    out.append(u"[").append(section).append(u"]\r\n");
    add_new_keys();
  }
  return out;
}

std::u16string RemoveIniSection(std::u16string_view text, std::u16string_view section) {
  const std::u16string wanted = Folded(section);
  std::u16string out;
  out.reserve(text.size());
  bool dropping = false;
  for (const Line& line : SplitLines(text)) {
    std::u16string_view name;
    if (SectionName(line.body, name)) dropping = Folded(name) == wanted;
    if (dropping) continue;
    out.append(line.body).append(line.ending);
  }
  return out;
}
