#include "ui/about_text.h"

namespace {

bool StartsWith(std::u16string_view text, std::u16string_view head) { return text.substr(0, head.size()) == head; }

std::u16string MailAddress(std::u16string_view contact) { return u"mailto:" + std::u16string(contact); }

// The address matches an id handed back by the link control, whole or cut.
bool Matches(std::u16string_view address, std::u16string_view id) {
  if (address.empty() || id.empty()) return false;
  if (address == id) return true;
  return id.size() >= kLinkIdLimit && StartsWith(address, id);
}

std::u16string Number(uint32_t n) {
  std::u16string digits;
  do {
    digits.insert(digits.begin(), char16_t(u'0' + n % 10));
    n /= 10;
  } while (n != 0);
  return digits;
}

}  // namespace

void ParseFileVersion(std::u16string_view text, uint32_t part[4]) {
  size_t i = 0;
  for (int k = 0; k < 4; ++k) {
    uint64_t value = 0;
    while (i < text.size() && text[i] >= u'0' && text[i] <= u'9') {
      value = value * 10 + uint64_t(text[i] - u'0');
      if (value > 0xFFFFFFFFu) value = 0xFFFFFFFFu;
      ++i;
    }
    part[k] = uint32_t(value);
    if (i < text.size() && (text[i] == u'.' || text[i] == u',')) {
      ++i;
      while (i < text.size() && text[i] == u' ') ++i;
    } else {
      for (int rest = k + 1; rest < 4; ++rest) part[rest] = 0;
      return;
    }
  }
}

std::u16string ComposeVersionText(std::u16string_view name, const VersionFacts& facts, Language language) {
  std::u16string text(name);
  text += u" Version ";
  for (int k = 0; k < 4; ++k) {
    if (k) text += u'.';
    text += Number(facts.part[k]);
  }
  std::u16string special = facts.special_build;
  if (language == Language::Japanese && special == u"beta") special = u"ベータ版";
  if (language == Language::Japanese && special == u"alpha") special = u"アルファ版";
  if (!special.empty()) text += u" " + special;
  if (!facts.private_build.empty()) text += u" " + facts.private_build;
  if (!facts.copyright.empty()) text += u"\r\n" + facts.copyright;
  return text;
}

bool IsEmailContact(std::u16string_view contact) {
  return !contact.empty() && !StartsWith(contact, u"http://") && !StartsWith(contact, u"https://");
}

// A link without an address is left out: an empty anchor is not a link, and
// the link control shows its markup as text.
static void AddLink(std::u16string& text, std::u16string_view label, std::u16string_view prefix,
             std::u16string_view address) {
  text += label;
  text += u"\r\n";
  if (!address.empty()) {
    text += u"  <a id=\"";
    text += prefix;
    text += address;
    text += u"\">";
    text += address;
    text += u"</a>";
  }
  text += u"\r\n\r\n";
}

std::u16string ComposeLinkBoxText(const LinkBoxParts& parts, Language language) {
  const bool mail = IsEmailContact(parts.contact);
  std::u16string text;
  AddLink(text, parts.site.empty() ? u"" : u"[WebSite]", u"", parts.site);
  const std::u16string_view contact_label =
      parts.contact.empty() ? u""
      : mail               ? u"[E-Mail]"
                           : Pick<std::u16string_view>(language, u"[連絡先]", u"[Contact]");
  AddLink(text, contact_label, mail ? u"mailto:" : u"", parts.contact);
  if (language == Language::Japanese && !parts.contact.empty()) {
    text +=
        u"　メールフィルタやサーバによるドメイン着信拒否の対象になっていることがあります。質問しているのに返信がなかなか届かない場合は、ごみ箱や迷惑メールフォルダを確認するか、フィルタ作成者・サーバ管理者にご相談下さい。";
  }
  text += u"\r\n";
  text += parts.extra;
  return text;
}

std::u16string ResolveLink(std::u16string_view id, const LinkAddresses& a) {
  if (id == u"kifu") return std::u16string(a.contribution);
  if (id == u"feedback") return std::u16string(a.feedback);
  if (Matches(a.site, id)) return std::u16string(a.site);
  if (IsEmailContact(a.contact) && Matches(MailAddress(a.contact), id)) return MailAddress(a.contact);
  if (!IsEmailContact(a.contact) && Matches(a.contact, id)) return std::u16string(a.contact);
  return {};  // not one of the box's own links: open nothing
}
