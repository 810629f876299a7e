#include "ui/about_text.h"

#include <gtest/gtest.h>

namespace {

TEST(AboutText, FileVersionParts) {
  const struct {
    std::u16string_view text;
    uint32_t a, b, c, d;
  } cases[] = {{u"1.2.3.4", 1, 2, 3, 4}, {u"1, 0, 7, 12", 1, 0, 7, 12}, {u"2.5", 2, 5, 0, 0},
               {u"", 0, 0, 0, 0},        {u"x.1", 0, 0, 0, 0},          {u"99999999999.1.1.1", 0xFFFFFFFF, 1, 1, 1}};
  for (const auto& c : cases) {
    uint32_t part[4] = {9, 9, 9, 9};
    ParseFileVersion(c.text, part);
    EXPECT_EQ(part[0], c.a);
    EXPECT_EQ(part[1], c.b);
    EXPECT_EQ(part[2], c.c);
    EXPECT_EQ(part[3], c.d);
  }
}

TEST(AboutText, VersionTextAndSpecialBuildWords) {
  VersionFacts f;
  f.part[0] = 1, f.part[1] = 0, f.part[2] = 2, f.part[3] = 3;
  EXPECT_EQ(ComposeVersionText(u"Kirabi", f, Language::English), u"Kirabi Version 1.0.2.3");
  f.special_build = u"beta";
  f.copyright = u"(c) Velmoro";
  EXPECT_EQ(ComposeVersionText(u"キラビ", f, Language::Japanese), u"キラビ Version 1.0.2.3 ベータ版\r\n(c) Velmoro");
  EXPECT_EQ(ComposeVersionText(u"Kirabi", f, Language::English), u"Kirabi Version 1.0.2.3 beta\r\n(c) Velmoro");
  f.special_build = u"alpha";
  f.private_build = u"test";
  EXPECT_EQ(ComposeVersionText(u"キラビ", f, Language::Japanese),
            u"キラビ Version 1.0.2.3 アルファ版 test\r\n(c) Velmoro");
}

TEST(AboutText, ContactKinds) {
  EXPECT_FALSE(IsEmailContact(u"https://example.org/contact"));
  EXPECT_FALSE(IsEmailContact(u"http://example.org/"));
  EXPECT_TRUE(IsEmailContact(u"someone@example.org"));
  EXPECT_FALSE(IsEmailContact(u""));
}

TEST(AboutText, LinkBoxMarkup) {
  EXPECT_EQ(ComposeLinkBoxText({u"https://a.example/", u"https://a.example/c", u""}, Language::English),
            u"[WebSite]\r\n  <a id=\"https://a.example/\">https://a.example/</a>\r\n\r\n[Contact]\r\n"
            u"  <a id=\"https://a.example/c\">https://a.example/c</a>\r\n\r\n\r\n");
  EXPECT_EQ(ComposeLinkBoxText({u"", u"me@a.example", u"extra"}, Language::English),
            u"\r\n\r\n\r\n[E-Mail]\r\n  <a id=\"mailto:me@a.example\">me@a.example</a>\r\n\r\n\r\nextra")
      << "no site: no empty anchor";
  EXPECT_EQ(ComposeLinkBoxText({u"", u"", u""}, Language::English), u"\r\n\r\n\r\n\r\n\r\n\r\n\r\n")
      << "no addresses: no links and no labels";
  const std::u16string ja = ComposeLinkBoxText({u"", u"me@a.example", u""}, Language::Japanese);
  EXPECT_NE(ja.find(u"[E-Mail]"), std::u16string::npos);
  EXPECT_NE(ja.find(u"　メールフィルタ"), std::u16string::npos);
  EXPECT_NE(ComposeLinkBoxText({u"", u"https://x.example", u""}, Language::Japanese).find(u"[連絡先]"),
            std::u16string::npos);
  EXPECT_EQ(ComposeLinkBoxText({u"", u"", u""}, Language::Japanese).find(u"メールフィルタ"), std::u16string::npos)
      << "no contact, no note";
}

TEST(AboutText, LinksResolveToTheBoxsOwnAddresses) {
  const std::u16string long_site = u"https://a.example/" + std::u16string(80, u'p');
  const LinkAddresses a{long_site, u"me@a.example", u"https://a.example/kifu", u"https://a.example/fb"};
  EXPECT_EQ(ResolveLink(u"kifu", a), u"https://a.example/kifu");
  EXPECT_EQ(ResolveLink(u"feedback", a), u"https://a.example/fb");
  EXPECT_EQ(ResolveLink(u"mailto:me@a.example", a), u"mailto:me@a.example");
  EXPECT_EQ(ResolveLink(std::u16string_view(long_site).substr(0, kLinkIdLimit), a), long_site)
      << "the control cuts long ids; the whole address opens";
  EXPECT_EQ(ResolveLink(u"https://a.example/", a), u"") << "a short prefix is not a cut id";
  EXPECT_EQ(ResolveLink(u"", a), u"") << "an empty site link opens nothing";
  EXPECT_EQ(ResolveLink(u"file:///c:/x", a), u"");
  const LinkAddresses none{u"", u"", u"", u""};
  EXPECT_EQ(ResolveLink(u"kifu", none), u"");
}

}  // namespace
