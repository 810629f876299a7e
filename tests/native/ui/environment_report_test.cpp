#include "ui/environment_report.h"

#include <gtest/gtest.h>

#include <string>

#include "common/utf.h"

namespace {

EnvironmentFacts Sample() {
  EnvironmentFacts f;
  f.platform_id = 2;
  f.major = 10, f.minor = 0, f.build = 19045;
  f.product_type = 1;
  f.product_info = 0x30;
  f.suite_mask = 0x100;
  f.country = u"Japan";
  f.screen_width = 1280, f.screen_height = 1024, f.bits_per_pixel = 24;
  f.work_area = {0, 0, 1280, 994};
  f.virtual_width = 1280, f.virtual_height = 1024;
  f.monitor_count = 1;
  f.monitors = {{{0, 0, 1280, 1024}, {0, 0, 1280, 994}, true}};
  f.weekday = 2, f.month = 12, f.day = 8, f.year = 2026, f.hour = 9, f.minute = 5, f.second = 7;
  f.bias_minutes = -540;
  return f;
}

std::string Report(const EnvironmentFacts& f) { return Utf16ToUtf8(FormatEnvironmentReport(f)); }

TEST(EnvironmentReport, WholeLayout) {
  EnvironmentFacts f = Sample();
  f.uac_key = true;
  f.enable_lua = 1, f.consent_admin = 5;
  EXPECT_EQ(Report(f),
            "ZNVLite ver.1.03.01 [May 13 2026]\r\n"
            "[Windows]\r\n Platform Id\t: 2 (NT)\r\n OS Version  \t: 10.0.19045 \r\n ServicePack\t: 0.0 "
            "\r\n Architecture\t: x64\r\n ProductType\t: 1 (Workstation)\r\n ProductInfo.\t: 0x00000030"
            "\r\n SuiteMask\t: 0x0100\r\n SafeMode\t: Off\r\n Locale Info\t: Japan\r\n Remote Session \t: Off"
            "\r\n Dark Mode \t: Off"
            "\r\n[User Account Control]\r\n EnableLUA=1, PromptOnSecureDesktop=, ConsentPromptBehaviorAdmin=5, "
            "ConsentPromptBehaviorUser="
            "\r\n[Screen]\r\n 1280x1024 (24bpp) [Work Area (0,0)-(1280,994)]"
            "\r\n Virtual Screen: (0,0)-(1280,1024) [Monitors:1]"
            "\r\n Monitor Info : (0,0)-(1280,1024) [Workarea (0,0)-(1280,994)] *primary"
            "\r\n[Other]\r\n Date/Time \t: Tue, Dec 8, 2026  9:05:07(UTC+09:00)");
}

TEST(EnvironmentReport, TimeZones) {
  const struct {
    int32_t bias;
    const char* shown;
  } cases[] = {{-540, "(UTC+09:00)"}, {210, "(UTC-03:30)"}, {0, "(UTC-00:00)"}, {-345, "(UTC+05:45)"}};
  for (const auto& c : cases) {
    EnvironmentFacts f = Sample();
    f.bias_minutes = c.bias;
    EXPECT_NE(Report(f).find(c.shown), std::string::npos) << c.bias;
  }
}

TEST(EnvironmentReport, ProductTypesAndSafeMode) {
  const struct {
    uint32_t type;
    const char* shown;
  } types[] = {{1, ": 1 (Workstation)\r"}, {2, ": 2 (Domain Controller)\r"}, {3, ": 3 (Server)\r"}, {4, ": 4\r"}};
  for (const auto& c : types) {
    EnvironmentFacts f = Sample();
    f.product_type = c.type;
    EXPECT_NE(Report(f).find(std::string("ProductType\t") + c.shown), std::string::npos) << c.type;
  }
  EnvironmentFacts f = Sample();
  f.clean_boot = 2;
  f.remote_session = true;
  f.dark_mode = true;
  const std::string r = Report(f);
  EXPECT_NE(r.find("SafeMode\t: Fail-safe with network boot"), std::string::npos);
  EXPECT_NE(r.find("Remote Session \t: On"), std::string::npos);
  EXPECT_NE(r.find("Dark Mode \t: On"), std::string::npos);
}

TEST(EnvironmentReport, OptionalParts) {
  EnvironmentFacts f = Sample();
  EXPECT_EQ(Report(f).find("[User Account Control]"), std::string::npos) << "no policy key, no part";
  f.uac_key = true;
  EXPECT_NE(Report(f).find("[User Account Control]\r\n EnableLUA=, "), std::string::npos);
  f.major = 5;  // before version 6: neither the product info nor UAC
  const std::string old = Report(f);
  EXPECT_EQ(old.find("[User Account Control]"), std::string::npos);
  EXPECT_EQ(old.find("ProductInfo"), std::string::npos);
}

TEST(EnvironmentReport, Win9xBuildKeepsItsLowWord) {
  EnvironmentFacts f = Sample();
  f.platform_id = 1, f.major = 4, f.minor = 10, f.build = 0x040A08AE;
  EXPECT_NE(Report(f).find("OS Version  \t: 4.10.2222 \r\n"), std::string::npos);
  EXPECT_NE(Report(f).find("Platform Id\t: 1 (Win9x)"), std::string::npos);
}

TEST(EnvironmentReport, SeveralMonitorsInOrder) {
  EnvironmentFacts f = Sample();
  f.monitor_count = 2;
  f.monitors.push_back({{-1024, 0, 0, 768}, {-1024, 0, 0, 738}, false});
  const std::string r = Report(f);
  const size_t first = r.find("*primary");
  const size_t second = r.find("Monitor Info : (-1024,0)-(0,768) [Workarea (-1024,0)-(0,738)]\r\n[Other]");
  EXPECT_NE(second, std::string::npos);
  EXPECT_LT(first, second);
}

TEST(EnvironmentReport, CutToTheClipboardBlock) {
  const std::u16string longer(20000, u'x');
  EXPECT_EQ(CutToBlock(longer).size(), 8191u) << "16,384 bytes hold 8,191 units and the terminator";
  EXPECT_EQ(CutToBlock(u"short"), u"short");
  std::u16string pair(8190, u'x');
  pair += u"😀";  // the pair would straddle the limit
  EXPECT_EQ(CutToBlock(pair).size(), 8190u);
  EXPECT_EQ(CutToBlock(u"abc", 4), u"a");
}

TEST(EnvironmentReport, FirstLineStopsAtAControlCharacter) {
  EXPECT_EQ(FirstLine(u"Kirabi 1.0\r\nCopyright"), u"Kirabi 1.0");
  EXPECT_EQ(FirstLine(u"one\ttwo"), u"one");
  EXPECT_EQ(FirstLine(u""), u"");
}

}  // namespace
