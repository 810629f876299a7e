#pragma once
// Every help topic the program opens, in one place. A topic is the help
// file's name, optionally followed by "::/" and a page inside it and by
// "#" and an anchor on that page. The pages live in help/ and are compiled
// into kirabi.chm; a test reads the compiled file back and checks that each
// page below exists and holds its anchor.

#include <array>
#include <string_view>

// The help file itself, opened on its default page (tray menu "Help").
inline constexpr std::u16string_view kTopicFile = u"kirabi.chm";

// Contribution page (tray menu entry).
inline constexpr std::u16string_view kTopicContribution = u"kirabi.chm::/_RESOURCE/kifu.html";

// Settings sheet, one topic per page; the General page is the top of the settings topic.
inline constexpr std::u16string_view kTopicGeneral = u"kirabi.chm::/_RESOURCE/HLP000017.html";
inline constexpr std::u16string_view kTopicMemo = u"kirabi.chm::/_RESOURCE/HLP000017.html#memo";
inline constexpr std::u16string_view kTopicColors = u"kirabi.chm::/_RESOURCE/HLP000017.html#colors";
inline constexpr std::u16string_view kTopicFormat = u"kirabi.chm::/_RESOURCE/HLP000017.html#format";
inline constexpr std::u16string_view kTopicHotkeys = u"kirabi.chm::/_RESOURCE/HLP000017.html#hotkey";
inline constexpr std::u16string_view kTopicFade = u"kirabi.chm::/_RESOURCE/HLP000017.html#moveshow";

// The Format page's "help" link in the Japanese interface: the pattern letters.
inline constexpr std::u16string_view kTopicFormatPattern =
    u"kirabi.chm::/_RESOURCE/HLP000017.html#IDC_EDIT_FORMAT";

// The date/time pattern in English: the Format page's topic and its help
// link in the English interface.
inline constexpr std::u16string_view kTopicFormatEnglish = u"kirabi.chm::/_RESOURCE/HLP000010.html";

// QV-Script reference: the Memo page while its script check box is on.
inline constexpr std::u16string_view kTopicMemoScript = u"kirabi.chm::/_RESOURCE/HLP000024.html";

// Command-line switches: the Memo page's link and the /? switch (through hh.exe).
inline constexpr std::u16string_view kTopicCommandLine = u"kirabi.chm::/_RESOURCE/HLP000021.html";

// Hotkeys and administrator rights: the Hotkeys page's "admrun" link.
inline constexpr std::u16string_view kTopicAdministrator = u"kirabi.chm::/_RESOURCE/HLP000006.html#admin";

// All of the above, for the test that checks them against the compiled file.
inline constexpr std::array<std::u16string_view, 13> kAllHelpTopics = {
    kTopicFile,      kTopicContribution, kTopicGeneral,       kTopicMemo,          kTopicColors,
    kTopicFormat,    kTopicHotkeys,      kTopicFade,          kTopicFormatPattern, kTopicFormatEnglish,
    kTopicMemoScript, kTopicCommandLine, kTopicAdministrator,
};
