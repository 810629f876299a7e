#pragma once
// The help topics the program opens, as paths inside kirabi.chm.

inline constexpr char16_t kTopicGeneral[] = u"kirabi.chm::/_RESOURCE/HLP000017.html";
inline constexpr char16_t kTopicMemo[] = u"kirabi.chm::/_RESOURCE/HLP000017.html#memo";
inline constexpr char16_t kTopicMemoScript[] = u"kirabi.chm::/_RESOURCE/HLP000024.html";
inline constexpr char16_t kTopicColors[] = u"kirabi.chm::/_RESOURCE/HLP000017.html#colors";
inline constexpr char16_t kTopicFormatJa[] = u"kirabi.chm::/_RESOURCE/HLP000017.html#format";
inline constexpr char16_t kTopicFormatEn[] = u"kirabi.chm::/_RESOURCE/HLP000010.html";
inline constexpr char16_t kTopicFormatFieldJa[] = u"kirabi.chm::/_RESOURCE/HLP000017.html#IDC_EDIT_FORMAT";
inline constexpr char16_t kTopicHotkeys[] = u"kirabi.chm::/_RESOURCE/HLP000017.html#hotkey";
inline constexpr char16_t kTopicFade[] = u"kirabi.chm::/_RESOURCE/HLP000017.html#moveshow";
inline constexpr char16_t kTopicCommandLine[] = u"kirabi.chm::/_RESOURCE/HLP000021.html";
inline constexpr char16_t kTopicAdminRun[] = u"kirabi.chm::/_RESOURCE/HLP000006.html#admin";

// The tray menu: the help file on its default page, and the contribution page.
inline constexpr char16_t kTopicFile[] = u"kirabi.chm";
inline constexpr char16_t kTopicContribution[] = u"kirabi.chm::/_RESOURCE/kifu.html";
