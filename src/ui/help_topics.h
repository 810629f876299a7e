#pragma once
// Every help topic the program opens, in one place. A topic is the help
// file's name, optionally followed by "::/" and a page inside it and by
// "#" and an anchor on that page. The pages live in help/ and are compiled
// into kirabi.chm; a test reads the compiled file back and checks that each
// page below exists and holds its anchor. The topics are terminated arrays,
// so that they can go to the platform's help call as they are.

#include <array>
#include <string_view>

// The help file itself, opened on its default page (tray menu "Help").
inline constexpr char16_t kTopicFile[] = u"kirabi.chm";

// Contribution page (tray command 32793).
inline constexpr char16_t kTopicContribution[] = u"kirabi.chm::/_RESOURCE/kifu.html";

// Settings sheet, one topic per page; the General page is the top of the settings topic.
inline constexpr char16_t kTopicGeneral[] = u"kirabi.chm::/_RESOURCE/HLP000017.html";
inline constexpr char16_t kTopicMemo[] = u"kirabi.chm::/_RESOURCE/HLP000017.html#memo";
inline constexpr char16_t kTopicColors[] = u"kirabi.chm::/_RESOURCE/HLP000017.html#colors";
inline constexpr char16_t kTopicHotkeys[] = u"kirabi.chm::/_RESOURCE/HLP000017.html#hotkey";
inline constexpr char16_t kTopicFade[] = u"kirabi.chm::/_RESOURCE/HLP000017.html#moveshow";

// The Format page: its topic in the Japanese interface, and its "help" link
// there (the pattern letters).
inline constexpr char16_t kTopicFormatJa[] = u"kirabi.chm::/_RESOURCE/HLP000017.html#format";
inline constexpr char16_t kTopicFormatFieldJa[] = u"kirabi.chm::/_RESOURCE/HLP000017.html#IDC_EDIT_FORMAT";
// In the English interface both go to the Format page, which shows the pattern letters too.
inline constexpr char16_t kTopicFormatEn[] = u"kirabi.chm::/_RESOURCE/HLP000010.html";

// QV-Script reference: the Memo page while its script check box is on.
inline constexpr char16_t kTopicMemoScript[] = u"kirabi.chm::/_RESOURCE/HLP000024.html";

// Command-line switches: the Memo page's link and the /? switch (through hh.exe).
inline constexpr char16_t kTopicCommandLine[] = u"kirabi.chm::/_RESOURCE/HLP000021.html";

// Hotkeys and administrator rights: the Hotkeys page's "admrun" link.
inline constexpr char16_t kTopicAdminRun[] = u"kirabi.chm::/_RESOURCE/HLP000006.html#admin";

// All of the above, for the test that checks them against the compiled file.
inline constexpr std::array<std::u16string_view, 13> kAllHelpTopics = {
    kTopicFile,     kTopicContribution,  kTopicGeneral,  kTopicMemo,        kTopicColors,
    kTopicHotkeys,  kTopicFade,          kTopicFormatJa, kTopicFormatFieldJa, kTopicFormatEn,
    kTopicMemoScript, kTopicCommandLine, kTopicAdminRun,
};
