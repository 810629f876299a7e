#pragma once
// The about box's texts that are composed rather than fixed: the version
// line, the link box and which address a clicked link stands for.

#include <cstdint>
#include <string>
#include <string_view>

#include "common/language.h"

struct VersionFacts {
  uint32_t part[4] = {0, 0, 0, 0};  // FileVersion a.b.c.d
  std::u16string special_build;
  std::u16string private_build;
  std::u16string copyright;
};

// Parses "a.b.c.d" (missing or malformed parts are 0).
void ParseFileVersion(std::u16string_view text, uint32_t part[4]);

// "<name> Version a.b.c.d[ special][ private]" and, when there is one, the
// copyright on the next line. In the Japanese interface a special build of
// "beta" or "alpha" is shown as its Japanese word.
std::u16string ComposeVersionText(std::u16string_view name, const VersionFacts& facts, Language language);

// A contact that does not begin with a web scheme is an e-mail address.
bool IsEmailContact(std::u16string_view contact);

struct LinkBoxParts {
  std::u16string_view site;
  std::u16string_view contact;
  std::u16string_view extra;
};
// The markup of the link box (control 2003).
std::u16string ComposeLinkBoxText(const LinkBoxParts& parts, Language language);

struct LinkAddresses {
  std::u16string_view site;
  std::u16string_view contact;
  std::u16string_view contribution;
  std::u16string_view feedback;
};
// The address a link stands for. The link control hands back at most 47
// characters of a link's id, so a cut id is matched against the addresses
// the box knows, never opened as it is.
std::u16string ResolveLink(std::u16string_view id, const LinkAddresses& addresses);
inline constexpr size_t kLinkIdLimit = 47;
