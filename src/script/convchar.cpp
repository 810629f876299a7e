#include "script/convchar.h"

#include <array>
#include <bitset>
#include <memory>

#include "common/utf.h"

namespace {

constexpr ConvCharEntry kTableH[] = {
    {u"が", u"ガ"}, {u"ぎ", u"ギ"}, {u"ぐ", u"グ"}, {u"げ", u"ゲ"}, {u"ご", u"ゴ"}, {u"ざ", u"ザ"},
    {u"じ", u"ジ"}, {u"ず", u"ズ"}, {u"ぜ", u"ゼ"}, {u"ぞ", u"ゾ"}, {u"だ", u"ダ"}, {u"ぢ", u"ヂ"},
    {u"づ", u"ヅ"}, {u"で", u"デ"}, {u"ど", u"ド"}, {u"ば", u"バ"}, {u"ぱ", u"パ"}, {u"び", u"ビ"},
    {u"ぴ", u"ピ"}, {u"ぶ", u"ブ"}, {u"ぷ", u"プ"}, {u"べ", u"ベ"}, {u"ぺ", u"ペ"}, {u"ぼ", u"ボ"},
    {u"ぽ", u"ポ"}, {u"ぁ", u"ァ"}, {u"あ", u"ア"}, {u"ぃ", u"ィ"}, {u"い", u"イ"}, {u"ぅ", u"ゥ"},
    {u"う", u"ウ"}, {u"ぇ", u"ェ"}, {u"え", u"エ"}, {u"ぉ", u"ォ"}, {u"お", u"オ"}, {u"か", u"カ"},
    {u"き", u"キ"}, {u"く", u"ク"}, {u"け", u"ケ"}, {u"こ", u"コ"}, {u"さ", u"サ"}, {u"し", u"シ"},
    {u"す", u"ス"}, {u"せ", u"セ"}, {u"そ", u"ソ"}, {u"た", u"タ"}, {u"ち", u"チ"}, {u"っ", u"ッ"},
    {u"つ", u"ツ"}, {u"て", u"テ"}, {u"と", u"ト"}, {u"な", u"ナ"}, {u"に", u"ニ"}, {u"ぬ", u"ヌ"},
    {u"ね", u"ネ"}, {u"の", u"ノ"}, {u"は", u"ハ"}, {u"ひ", u"ヒ"}, {u"ふ", u"フ"}, {u"へ", u"ヘ"},
    {u"ほ", u"ホ"}, {u"ま", u"マ"}, {u"み", u"ミ"}, {u"む", u"ム"}, {u"め", u"メ"}, {u"も", u"モ"},
    {u"ゃ", u"ャ"}, {u"や", u"ヤ"}, {u"ゅ", u"ュ"}, {u"ゆ", u"ユ"}, {u"ょ", u"ョ"}, {u"よ", u"ヨ"},
    {u"ら", u"ラ"}, {u"り", u"リ"}, {u"る", u"ル"}, {u"れ", u"レ"}, {u"ろ", u"ロ"}, {u"ゎ", u"ヮ"},
    {u"わ", u"ワ"}, {u"ゐ", u"ヰ"}, {u"ゑ", u"ヱ"}, {u"を", u"ヲ"}, {u"ん", u"ン"},
};
constexpr ConvCharEntry kTableK[] = {
    {u"ガ", u"ｶﾞ"}, {u"ギ", u"ｷﾞ"}, {u"グ", u"ｸﾞ"}, {u"ゲ", u"ｹﾞ"}, {u"ゴ", u"ｺﾞ"}, {u"ザ", u"ｻﾞ"},
    {u"ジ", u"ｼﾞ"}, {u"ズ", u"ｽﾞ"}, {u"ゼ", u"ｾﾞ"}, {u"ゾ", u"ｿﾞ"}, {u"ダ", u"ﾀﾞ"}, {u"ヂ", u"ﾁﾞ"},
    {u"ヅ", u"ﾂﾞ"}, {u"デ", u"ﾃﾞ"}, {u"ド", u"ﾄﾞ"}, {u"バ", u"ﾊﾞ"}, {u"パ", u"ﾊﾟ"}, {u"ビ", u"ﾋﾞ"},
    {u"ピ", u"ﾋﾟ"}, {u"ブ", u"ﾌﾞ"}, {u"プ", u"ﾌﾟ"}, {u"ベ", u"ﾍﾞ"}, {u"ペ", u"ﾍﾟ"}, {u"ボ", u"ﾎﾞ"},
    {u"ポ", u"ﾎﾟ"}, {u"ァ", u"ｧ"}, {u"ア", u"ｱ"}, {u"ィ", u"ｨ"}, {u"イ", u"ｲ"}, {u"ゥ", u"ｩ"},
    {u"ウ", u"ｳ"}, {u"ェ", u"ｪ"}, {u"エ", u"ｴ"}, {u"ォ", u"ｫ"}, {u"オ", u"ｵ"}, {u"カ", u"ｶ"},
    {u"キ", u"ｷ"}, {u"ク", u"ｸ"}, {u"ケ", u"ｹ"}, {u"コ", u"ｺ"}, {u"サ", u"ｻ"}, {u"シ", u"ｼ"},
    {u"ス", u"ｽ"}, {u"セ", u"ｾ"}, {u"ソ", u"ｿ"}, {u"タ", u"ﾀ"}, {u"チ", u"ﾁ"}, {u"ッ", u"ｯ"},
    {u"ツ", u"ﾂ"}, {u"テ", u"ﾃ"}, {u"ト", u"ﾄ"}, {u"ナ", u"ﾅ"}, {u"ニ", u"ﾆ"}, {u"ヌ", u"ﾇ"},
    {u"ネ", u"ﾈ"}, {u"ノ", u"ﾉ"}, {u"ハ", u"ﾊ"}, {u"ヒ", u"ﾋ"}, {u"フ", u"ﾌ"}, {u"ヘ", u"ﾍ"},
    {u"ホ", u"ﾎ"}, {u"マ", u"ﾏ"}, {u"ミ", u"ﾐ"}, {u"ム", u"ﾑ"}, {u"メ", u"ﾒ"}, {u"モ", u"ﾓ"},
    {u"ャ", u"ｬ"}, {u"ヤ", u"ﾔ"}, {u"ュ", u"ｭ"}, {u"ユ", u"ﾕ"}, {u"ョ", u"ｮ"}, {u"ヨ", u"ﾖ"},
    {u"ラ", u"ﾗ"}, {u"リ", u"ﾘ"}, {u"ル", u"ﾙ"}, {u"レ", u"ﾚ"}, {u"ロ", u"ﾛ"}, {u"ワ", u"ﾜ"},
    {u"ヮ", u"ﾜ"}, {u"ヰ", u"ｲ"}, {u"ヱ", u"ｴ"}, {u"ヲ", u"ｦ"}, {u"ン", u"ﾝ"}, {u"゛", u"ﾞ"},
    {u"゜", u"ﾟ"}, {u"ー", u"ｰ"},
};
constexpr ConvCharEntry kTableA[] = {
    {u"Ａ", u"A"}, {u"Ｂ", u"B"}, {u"Ｃ", u"C"}, {u"Ｄ", u"D"}, {u"Ｅ", u"E"}, {u"Ｆ", u"F"},
    {u"Ｇ", u"G"}, {u"Ｈ", u"H"}, {u"Ｉ", u"I"}, {u"Ｊ", u"J"}, {u"Ｋ", u"K"}, {u"Ｌ", u"L"},
    {u"Ｍ", u"M"}, {u"Ｎ", u"N"}, {u"Ｏ", u"O"}, {u"Ｐ", u"P"}, {u"Ｑ", u"Q"}, {u"Ｒ", u"R"},
    {u"Ｓ", u"S"}, {u"Ｔ", u"T"}, {u"Ｕ", u"U"}, {u"Ｖ", u"V"}, {u"Ｗ", u"W"}, {u"Ｘ", u"X"},
    {u"Ｙ", u"Y"}, {u"Ｚ", u"Z"}, {u"ａ", u"a"}, {u"ｂ", u"b"}, {u"ｃ", u"c"}, {u"ｄ", u"d"},
    {u"ｅ", u"e"}, {u"ｆ", u"f"}, {u"ｇ", u"g"}, {u"ｈ", u"h"}, {u"ｉ", u"i"}, {u"ｊ", u"j"},
    {u"ｋ", u"k"}, {u"ｌ", u"l"}, {u"ｍ", u"m"}, {u"ｎ", u"n"}, {u"ｏ", u"o"}, {u"ｐ", u"p"},
    {u"ｑ", u"q"}, {u"ｒ", u"r"}, {u"ｓ", u"s"}, {u"ｔ", u"t"}, {u"ｕ", u"u"}, {u"ｖ", u"v"},
    {u"ｗ", u"w"}, {u"ｘ", u"x"}, {u"ｙ", u"y"}, {u"ｚ", u"z"},
};
constexpr ConvCharEntry kTableN[] = {
    {u"０", u"0"}, {u"１", u"1"}, {u"２", u"2"}, {u"３", u"3"}, {u"４", u"4"}, {u"５", u"5"},
    {u"６", u"6"}, {u"７", u"7"}, {u"８", u"8"}, {u"９", u"9"},
};
constexpr ConvCharEntry kTableS[] = {
    {u"\u3000", u" "}, {u"！", u"!"}, {u"”", u"\""}, {u"＃", u"#"}, {u"＄", u"$"}, {u"％", u"%"},
    {u"＆", u"&"}, {u"’", u"'"}, {u"（", u"("}, {u"）", u")"}, {u"＊", u"*"}, {u"＋", u"+"},
    {u"，", u","}, {u"－", u"-"}, {u"．", u"."}, {u"／", u"/"}, {u"：", u":"}, {u"；", u";"},
    {u"＜", u"<"}, {u"＝", u"="}, {u"＞", u">"}, {u"？", u"?"}, {u"＠", u"@"}, {u"［", u"["},
    {u"￥", u"\\"}, {u"］", u"]"}, {u"＾", u"^"}, {u"＿", u"_"}, {u"｀", u"`"}, {u"｛", u"{"},
    {u"｜", u"|"}, {u"｝", u"}"}, {u"～", u"~"}, {u"「", u"｢"}, {u"」", u"｣"}, {u"。", u"｡"},
    {u"、", u"､"},
};
constexpr ConvCharEntry kTableF[] = {
    {u"Ａ", u"ａ"}, {u"Ｂ", u"ｂ"}, {u"Ｃ", u"ｃ"}, {u"Ｄ", u"ｄ"}, {u"Ｅ", u"ｅ"}, {u"Ｆ", u"ｆ"},
    {u"Ｇ", u"ｇ"}, {u"Ｈ", u"ｈ"}, {u"Ｉ", u"ｉ"}, {u"Ｊ", u"ｊ"}, {u"Ｋ", u"ｋ"}, {u"Ｌ", u"ｌ"},
    {u"Ｍ", u"ｍ"}, {u"Ｎ", u"ｎ"}, {u"Ｏ", u"ｏ"}, {u"Ｐ", u"ｐ"}, {u"Ｑ", u"ｑ"}, {u"Ｒ", u"ｒ"},
    {u"Ｓ", u"ｓ"}, {u"Ｔ", u"ｔ"}, {u"Ｕ", u"ｕ"}, {u"Ｖ", u"ｖ"}, {u"Ｗ", u"ｗ"}, {u"Ｘ", u"ｘ"},
    {u"Ｙ", u"ｙ"}, {u"Ｚ", u"ｚ"},
};
constexpr ConvCharEntry kTableL[] = {
    {u"A", u"a"}, {u"B", u"b"}, {u"C", u"c"}, {u"D", u"d"}, {u"E", u"e"}, {u"F", u"f"},
    {u"G", u"g"}, {u"H", u"h"}, {u"I", u"i"}, {u"J", u"j"}, {u"K", u"k"}, {u"L", u"l"},
    {u"M", u"m"}, {u"N", u"n"}, {u"O", u"o"}, {u"P", u"p"}, {u"Q", u"q"}, {u"R", u"r"},
    {u"S", u"s"}, {u"T", u"t"}, {u"U", u"u"}, {u"V", u"v"}, {u"W", u"w"}, {u"X", u"x"},
    {u"Y", u"y"}, {u"Z", u"z"},
};
constexpr ConvCharEntry kTableE[] = {
    {u"\x01", u"\\x01"}, {u"\x02", u"\\x02"}, {u"\x03", u"\\x03"}, {u"\x04", u"\\x04"},
    {u"\x05", u"\\x05"}, {u"\x06", u"\\x06"}, {u"\x07", u"\\a"}, {u"\x07", u"\\x07"},
    {u"\x08", u"\\b"}, {u"\x08", u"\\x08"}, {u"\x09", u"\\t"}, {u"\x09", u"\\x09"},
    {u"\x0A", u"\\n"}, {u"\x0A", u"\\x0a"}, {u"\x0B", u"\\x0b"}, {u"\x0C", u"\\f"},
    {u"\x0C", u"\\x0c"}, {u"\x0D", u"\\r"}, {u"\x0D", u"\\x0d"}, {u"\x0E", u"\\x0e"},
    {u"\x0F", u"\\x0f"}, {u"\x10", u"\\x10"}, {u"\x11", u"\\x11"}, {u"\x12", u"\\x12"},
    {u"\x13", u"\\x13"}, {u"\x14", u"\\x14"}, {u"\x15", u"\\x15"}, {u"\x16", u"\\x16"},
    {u"\x17", u"\\x17"}, {u"\x18", u"\\x18"}, {u"\x19", u"\\x19"}, {u"\x1A", u"\\x1a"},
};
constexpr ConvCharEntry kTableC[] = {
    {u"\x01", u"^A"}, {u"\x02", u"^B"}, {u"\x03", u"^C"}, {u"\x04", u"^D"},
    {u"\x05", u"^E"}, {u"\x06", u"^F"}, {u"\x07", u"^G"}, {u"\x08", u"^H"},
    {u"\x09", u"^I"}, {u"\x0A", u"^J"}, {u"\x0B", u"^K"}, {u"\x0C", u"^L"},
    {u"\x0D", u"^M"}, {u"\x0E", u"^N"}, {u"\x0F", u"^O"}, {u"\x10", u"^P"},
    {u"\x11", u"^Q"}, {u"\x12", u"^R"}, {u"\x13", u"^S"}, {u"\x14", u"^T"},
    {u"\x15", u"^U"}, {u"\x16", u"^V"}, {u"\x17", u"^W"}, {u"\x18", u"^X"},
    {u"\x19", u"^Y"}, {u"\x1A", u"^Z"},
};

constexpr ConvCharTable kTables[] = {
    {'H', 0x10, 0x20, kTableH},         {'K', 0x40, 0x80, kTableK},
    {'A', 0x100, 0x200, kTableA},       {'N', 0x400, 0x800, kTableN},
    {'S', 0x1000, 0x2000, kTableS},     {'F', 0x4000, 0x8000, kTableF},
    {'L', 0x10000, 0x20000, kTableL},   {'E', 0x40000, 0x80000, kTableE},
    {'C', 0x100000, 0x200000, kTableC},
};
constexpr size_t kTableCount = std::size(kTables);

// Half-width characters that take one column in TAB expansion.
constexpr std::u16string_view kNarrowKana =
    u"ｧｱｨｲｩｳｪｴｫｵｶｷｸｹｺｻｼｽｾｿﾀﾁｯﾂﾃﾄﾅﾆﾇﾈﾉﾊﾋﾌﾍﾎﾏﾐﾑﾒﾓｬﾔｭﾕｮﾖﾗﾘﾙﾚﾛﾜﾜｲｴｦﾝﾞﾟｰ｢｣､｡･";

std::u16string_view SearchOf(const ConvCharEntry& entry, bool forward) {
  return forward ? entry.left : entry.right;
}

std::u16string_view ReplacementOf(const ConvCharEntry& entry, bool forward) {
  return forward ? entry.right : entry.left;
}

// For every group and direction, the units some search string starts with:
// a position whose unit is not among them cannot match any entry, which
// keeps the pass cheap on ordinary text.
using FirstUnits = std::bitset<65536>;

const FirstUnits& FirstUnitsOf(size_t table, bool forward) {
  static const auto sets = [] {
    auto all = std::make_unique<std::array<FirstUnits, kTableCount * 2>>();
    for (size_t t = 0; t < kTableCount; ++t) {
      for (const ConvCharEntry& entry : kTables[t].entries) {
        (*all)[t * 2].set(entry.left.front());
        (*all)[t * 2 + 1].set(entry.right.front());
      }
    }
    return all;
  }();
  return (*sets)[table * 2 + (forward ? 0 : 1)];
}

// The text still to be visited, stored reversed so that the current position
// is the back of the string: replacing there, and moving past it, cost only
// the length of the pieces involved.
class PendingText {
 public:
  explicit PendingText(std::u16string_view text) : reversed_(text.rbegin(), text.rend()) {}

  bool empty() const { return reversed_.empty(); }
  char16_t front() const { return reversed_.back(); }

  bool StartsWith(std::u16string_view piece) const {
    if (piece.size() > reversed_.size()) return false;
    size_t last = reversed_.size() - 1;
    for (size_t k = 0; k < piece.size(); ++k) {
      if (reversed_[last - k] != piece[k]) return false;
    }
    return true;
  }

  void ReplaceFront(size_t length, std::u16string_view replacement) {
    reversed_.resize(reversed_.size() - length);
    reversed_.append(replacement.rbegin(), replacement.rend());
  }

  char16_t TakeFront() {
    char16_t unit = reversed_.back();
    reversed_.pop_back();
    return unit;
  }

 private:
  std::u16string reversed_;
};

struct ActiveTable {
  size_t index;
  bool forward;
};

void ApplyTable(const ActiveTable& active, PendingText& text) {
  if (!FirstUnitsOf(active.index, active.forward).test(text.front())) return;
  for (const ConvCharEntry& entry : kTables[active.index].entries) {
    if (text.empty()) return;
    std::u16string_view search = SearchOf(entry, active.forward);
    if (search.front() == text.front() && text.StartsWith(search)) {
      text.ReplaceFront(search.size(), ReplacementOf(entry, active.forward));
    }
  }
}

std::u16string ApplyTables(std::u16string_view source, uint32_t flags) {
  std::array<ActiveTable, kTableCount> active{};
  size_t active_count = 0;
  for (size_t t = 0; t < kTableCount; ++t) {
    if (flags & kTables[t].forward_flag) {
      active[active_count++] = {t, true};
    } else if (flags & kTables[t].reverse_flag) {
      active[active_count++] = {t, false};
    }
  }
  std::u16string done;
  done.reserve(source.size());
  PendingText text(source);
  while (!text.empty()) {
    for (size_t a = 0; a < active_count && !text.empty(); ++a) {
      ApplyTable(active[a], text);
    }
    if (!text.empty()) done.push_back(text.TakeFront());
  }
  return done;
}

std::u16string ExpandTabs(std::u16string_view text, int stop) {
  std::u16string out;
  out.reserve(text.size());
  int column = 0;
  for (char16_t unit : text) {
    if (unit == u'\t') {
      int spaces = stop - column % stop;
      out.append(static_cast<size_t>(spaces), u' ');
      column += spaces;
    } else if (unit == u'\r' || unit == u'\n') {
      out.push_back(unit);
      column = 0;
    } else {
      out.push_back(unit);
      column += ConvCharColumnWidth(unit);
    }
  }
  return out;
}

}  // namespace

std::span<const ConvCharTable> ConvCharTables() { return kTables; }

int ConvCharColumnWidth(char16_t unit) {
  if (unit <= 0xFF) return 1;
  return kNarrowKana.find(unit) != std::u16string_view::npos ? 1 : 2;
}

std::u16string ConvertCharacters(std::u16string_view text, uint32_t flags) {
  std::u16string result;
  if ((flags & kConvCharTableFlags) != 0 && !text.empty()) {
    result = ApplyTables(text, flags);
  } else {
    result.assign(text);
  }
  if (flags & kConvCharTab4) {
    result = ExpandTabs(result, 4);
  } else if (flags & kConvCharTab8) {
    result = ExpandTabs(result, 8);
  }
  return result;
}

std::string ConvCharUtf8(std::string_view text, uint32_t flags) {
  return Utf16ToUtf8(ConvertCharacters(Utf8ToUtf16(text), flags));
}
