#include "app/external_text.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "app/commands.h"

namespace {

ExternalTextMessage Message(const std::u16string& text, size_t bytes, uintptr_t sender = 0x1234) {
  return {sender, kExternalTextId, text.c_str(), bytes};
}

TEST(ReceiveExternalText, KeepsTheFirst517Characters) {
  struct Row {
    size_t length;
    size_t kept;
  } rows[] = {{0, 0}, {1, 1}, {516, 516}, {517, 517}, {518, 517}, {600, 517}};
  for (const Row& r : rows) {
    std::u16string sent(r.length, u'x');
    for (size_t i = 0; i < sent.size(); ++i) sent[i] = u'A' + char16_t(i % 26);
    TextBuffer text;
    ASSERT_TRUE(ReceiveExternalText(true, Message(sent, (sent.size() + 1) * 2), text));
    EXPECT_EQ(text.view(), std::u16string_view(sent).substr(0, r.kept)) << r.length;
  }
}

TEST(ReceiveExternalText, IgnoresWhatTheProtocolDoesNotAccept) {
  const std::u16string sent = u"hello";
  struct Row {
    const char* name;
    bool gaibu;
    ExternalTextMessage message;
  } rows[] = {
      {"GAIBU off", false, Message(sent, 12)},
      {"null sender", true, Message(sent, 12, 0)},
      {"other identifier", true, {0x1234, kExternalTextId + 1, sent.c_str(), 12}},
      // dwData is pointer-sized: the upper half must take part in the compare.
      {"identifier plus 2^32", true, {0x1234, kExternalTextId + (uint64_t(1) << 32), sent.c_str(), 12}},
      {"identifier in the top bit", true, {0x1234, kExternalTextId | (uint64_t(1) << 63), sent.c_str(), 12}},
  };
  for (const Row& r : rows) {
    TextBuffer text(u"before");
    EXPECT_FALSE(ReceiveExternalText(r.gaibu, r.message, text)) << r.name;
    EXPECT_EQ(text.view(), u"before") << r.name;
  }
}

TEST(ReceiveExternalText, NeverReadsPastTheRecord) {
  // A sender without a terminator: only byte_count / 2 characters exist.
  // The record sits at the end of a heap block so a sanitizer sees any overread.
  const size_t count = 10;
  std::vector<char16_t> block(count, u'z');
  TextBuffer text;
  ASSERT_TRUE(ReceiveExternalText(true, {1, kExternalTextId, block.data(), count * 2}, text));
  EXPECT_EQ(text.view(), std::u16string(count, u'z'));

  // An odd byte count drops the half character.
  ASSERT_TRUE(ReceiveExternalText(true, {1, kExternalTextId, block.data(), 7}, text));
  EXPECT_EQ(text.size(), 3u);

  // A size of zero or a null pointer gives the empty text, which hides the line.
  text.assign(u"old");
  ASSERT_TRUE(ReceiveExternalText(true, {1, kExternalTextId, block.data(), 0}, text));
  EXPECT_TRUE(text.empty());
  text.assign(u"old");
  ASSERT_TRUE(ReceiveExternalText(true, {1, kExternalTextId, nullptr, 100}, text));
  EXPECT_TRUE(text.empty());
}

TEST(ReceiveExternalText, StopsAtTheTerminatorAndReplacesTheOldText) {
  const std::u16string sent(u"new\0tail", 8);
  TextBuffer text(std::u16string(400, u'o'));
  ASSERT_TRUE(ReceiveExternalText(true, Message(sent, sent.size() * 2), text));
  EXPECT_EQ(text.view(), u"new");
  EXPECT_EQ(text.c_str()[3], 0);
}

TEST(ReceiveExternalText, ReadsAnUnalignedRecord) {
  std::vector<unsigned char> raw(1 + 6);
  const char16_t chars[] = {u'a', u'b', 0};
  std::memcpy(raw.data() + 1, chars, sizeof chars);
  TextBuffer text;
  ASSERT_TRUE(ReceiveExternalText(true, {1, kExternalTextId, raw.data() + 1, 6}, text));
  EXPECT_EQ(text.view(), u"ab");
}

}  // namespace
