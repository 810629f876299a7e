#pragma once
// The web addresses the program opens, in one place. An empty address means
// the page does not exist: the about box hides its link and the tray menu
// drops its entry. Fill these in when the pages are published.

#include <string_view>

namespace web_address {
inline constexpr std::u16string_view kProductSite = u"";
// A web page, or an e-mail address (anything not starting with http:// or https://).
inline constexpr std::u16string_view kContact = u"";
inline constexpr std::u16string_view kFeedback = u"";
inline constexpr std::u16string_view kContribution = u"";
}  // namespace web_address
