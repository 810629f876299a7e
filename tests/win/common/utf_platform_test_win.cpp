// The portable UTF conversion must agree with the platform's own for
// well-formed text, since both meet at the Win32 boundary.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "common/utf.h"

namespace {

std::wstring PlatformUtf8ToUtf16(const std::string& s) {
  const int n = MultiByteToWideChar(CP_UTF8, 0, s.data(), int(s.size()), nullptr, 0);
  std::wstring out(n, L'\0');
  MultiByteToWideChar(CP_UTF8, 0, s.data(), int(s.size()), out.data(), n);
  return out;
}

}  // namespace

TEST(UtfPlatform, AgreesWithMultiByteToWideChar) {
  const char* samples[] = {"", "plain", "\xE3\x82\xAD\xE3\x83\xA9\xE3\x83\x93", "\xF0\x9F\x98\x80 x \xC3\xA9"};
  for (const char* s : samples) {
    const std::u16string ours = Utf8ToUtf16(s);
    EXPECT_EQ(std::wstring(ours.begin(), ours.end()), PlatformUtf8ToUtf16(s)) << s;
  }
}
