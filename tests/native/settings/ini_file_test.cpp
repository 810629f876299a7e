#include "settings/ini_file.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::string Bytes(std::initializer_list<int> values) {
  std::string out;
  for (int v : values) out.push_back(char(v));
  return out;
}

TEST(DetectIniEncoding, TellsTheFormsApart) {
  const struct {
    const char* name;
    std::string bytes;
    IniEncoding encoding;
  } cases[] = {
      {"empty", "", IniEncoding::Empty},
      {"UTF-16LE mark", Bytes({0xFF, 0xFE, 0x0D, 0x00, 0x0A, 0x00}), IniEncoding::Utf16Le},
      {"UTF-16BE mark", Bytes({0xFE, 0xFF, 0x00, 0x5B}), IniEncoding::Utf16Be},
      {"UTF-8 mark", Bytes({0xEF, 0xBB, 0xBF, 'a'}), IniEncoding::Utf8},
      {"UTF-8 mark, invalid after it", Bytes({0xEF, 0xBB, 0xBF, 0xFF}), IniEncoding::Utf8},
      {"ASCII", "[qz]\r\nLEFT=1\r\n", IniEncoding::Utf8},
      {"UTF-8 Japanese", "FORMATCPU=CPU\xE4\xBD\xBF\xE7\x94\xA8\xE7\x8E\x87", IniEncoding::Utf8},
      {"Shift_JIS", "A=\x83\x65\x83\x58\x83\x67", IniEncoding::Ansi},
      {"Latin-1", "A=caf\xE9", IniEncoding::Ansi},
      {"single 0xFF", Bytes({0xFF}), IniEncoding::Ansi},
  };
  for (const auto& c : cases) EXPECT_EQ(DetectIniEncoding(c.bytes), c.encoding) << c.name;
}

TEST(IsValidUtf8, RejectsMalformedSequences) {
  const struct {
    std::string bytes;
    bool valid;
  } cases[] = {
      {"", true},
      {"\xC3\xA9", true},
      {"\xF0\x9F\x98\x80", true},          // U+1F600
      {"\xC3", false},                      // cut short
      {"\xC0\xAF", false},                  // overlong "/"
      {"\xE0\x80\xAF", false},              // overlong
      {"\xED\xA0\x80", false},              // surrogate
      {"\xF4\x90\x80\x80", false},          // above U+10FFFF
      {"\x80", false},                      // lone continuation
      {"\xE3\x81", false},                  // cut at the end
      {"\xE3\x41\x82", false},              // continuation missing
  };
  for (const auto& c : cases) EXPECT_EQ(IsValidUtf8(c.bytes), c.valid) << testing::PrintToString(c.bytes);
}

std::u16string Latin1(std::string_view bytes) {
  std::u16string out;
  for (char c : bytes) out.push_back(char16_t(static_cast<unsigned char>(c)));
  return out;
}

TEST(DecodeIniText, DecodesEveryFormAndRoundTrips) {
  EXPECT_EQ(DecodeIniText("", IniEncoding::Empty, Latin1), u"");
  EXPECT_EQ(DecodeIniText(Bytes({0xFF, 0xFE, 'a', 0, 0x42, 0x30}), IniEncoding::Utf16Le, Latin1), u"a\u3042");
  EXPECT_EQ(DecodeIniText(Bytes({0xFE, 0xFF, 0, 'a', 0x30, 0x42}), IniEncoding::Utf16Be, Latin1), u"a\u3042");
  EXPECT_EQ(DecodeIniText("\xEF\xBB\xBF" "a\xE3\x81\x82", IniEncoding::Utf8, Latin1), u"a\u3042");
  EXPECT_EQ(DecodeIniText("a\xE3\x81\x82", IniEncoding::Utf8, Latin1), u"a\u3042");
  EXPECT_EQ(DecodeIniText("caf\xE9", IniEncoding::Ansi, Latin1), u"caf\u00E9");

  const std::u16string text = u"[qz]\r\nFORMATCPU=CPU\u4F7F\u7528\u7387\r\n";
  const std::string bytes = EncodeIniText(text);
  ASSERT_EQ(DetectIniEncoding(bytes), IniEncoding::Utf16Le);
  EXPECT_EQ(bytes.size(), 2 + 2 * text.size());
  EXPECT_EQ(DecodeIniText(bytes, IniEncoding::Utf16Le, Latin1), text);
}

TEST(MergeIniSection, AppliesAGroupAsTheProfileFunctionsWould) {
  const struct {
    const char* name;
    std::u16string before;
    std::vector<IniKeyWrite> writes;
    std::u16string after;
  } cases[] = {
      {"new file with only the header line", u"\r\n", {{u"A", u"1"}, {u"B", u"2"}}, u"\r\n[qz]\r\nA=1\r\nB=2\r\n"},
      {"empty text", u"", {{u"A", u"1"}}, u"[qz]\r\nA=1\r\n"},
      {"replaced in place, case-blind",
       u"[QZ]\r\n a = old \r\nX=keep\r\n",
       {{u"A", u"new"}},
       u"[QZ]\r\nA=new\r\nX=keep\r\n"},
      {"new keys after the section's last filled line, in write order",
       u"[qz]\r\nX=1\r\n\r\n[other]\r\nA=9\r\n",
       {{u"B", u"2"}, {u"A", u"1"}},
       u"[qz]\r\nX=1\r\nB=2\r\nA=1\r\n\r\n[other]\r\nA=9\r\n"},
      {"only the first match of a key changes",
       u"[qz]\r\nA=1\r\nA=2\r\n",
       {{u"A", u"3"}},
       u"[qz]\r\nA=3\r\nA=2\r\n"},
      {"a key written twice keeps its last value",
       u"[qz]\r\n",
       {{u"A", u"1"}, {u"A", u"2"}},
       u"[qz]\r\nA=2\r\n"},
      {"missing section added after a last line without a break",
       u"[other]\r\nK=v",
       {{u"A", u"1"}},
       u"[other]\r\nK=v\r\n[qz]\r\nA=1\r\n"},
      {"section's last line without a break",
       u"[qz]\r\nX=1",
       {{u"A", u"1"}},
       u"[qz]\r\nX=1\r\nA=1\r\n"},
      {"comments, unknown keys and LF-only lines kept",
       u"; hand note\n[qz]\n;A=commented\nUNKNOWN=\u3042\nA=0\n",
       {{u"A", u"5"}},
       u"; hand note\n[qz]\n;A=commented\nUNKNOWN=\u3042\nA=5\n"},
      {"second section of the same name is left alone",
       u"[qz]\r\nA=1\r\n[x]\r\n[qz]\r\nB=1\r\n",
       {{u"B", u"2"}},
       u"[qz]\r\nA=1\r\nB=2\r\n[x]\r\n[qz]\r\nB=1\r\n"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(MergeIniSection(c.before, u"qz", c.writes), c.after) << c.name;
  }
}

TEST(MergeIniSection, KeepsAHugeFileAroundTheSection) {
  std::u16string filler;
  for (int i = 0; i < 20000; ++i) {
    filler += u'K';
    filler += char16_t(u'a' + i % 26);
    filler += u"=value\r\n";
  }
  const std::u16string before = u"[big]\r\n" + filler + u"[qz]\r\nA=1\r\n[tail]\r\n" + filler;
  const std::u16string after = MergeIniSection(before, u"qz", {{u"A", u"2"}, {u"B", u"3"}});
  EXPECT_EQ(after, u"[big]\r\n" + filler + u"[qz]\r\nA=2\r\nB=3\r\n[tail]\r\n" + filler);
}

}  // namespace

// A history's section is dropped whole and written anew at the end, so keys
// left from a longer list cannot come back on the next load.
TEST(RemoveIniSection, DropsEverySectionOfThatNameAndKeepsTheRest) {
  const std::u16string before =
      u"[qz]\r\nA=1\r\n[cbq_format]\r\n0=old\r\n1=older\r\n3=stale\r\n\r\n[other]\nx=y\n[CBQ_FORMAT]\r\n9=again\r\n";
  EXPECT_EQ(RemoveIniSection(before, u"cbq_format"), u"[qz]\r\nA=1\r\n[other]\nx=y\n");
  EXPECT_EQ(RemoveIniSection(u"[qz]\r\nA=1", u"missing"), u"[qz]\r\nA=1");
  const std::u16string rewritten =
      MergeIniSection(RemoveIniSection(before, u"cbq_format"), u"cbq_format", {{u"0", u"new"}, {u"1", u"old"}});
  EXPECT_EQ(rewritten, u"[qz]\r\nA=1\r\n[other]\nx=y\n[cbq_format]\r\n0=new\r\n1=old\r\n");
}
