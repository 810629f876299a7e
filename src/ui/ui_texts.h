#pragma once
// Texts of the start-up shortcut, help and web-page commands and of the
// about box, each a Japanese/English pair. "%s" stands for a path or an
// address filled in where the text is shown.

#include <string>
#include <string_view>

#include "common/text_pair.h"

namespace ui_text {
inline constexpr TextPair kAskDeleteShortcut{u"スタートアップのショートカットを削除しますか?",
                                             u"Are you sure you want to delete a startup shortcut file?"};
inline constexpr TextPair kShortcutDeleted{u"ショートカットを削除しました。\n\n%s", u"Deleted a shortcut file."};
inline constexpr TextPair kShortcutNotDeleted{u"ショートカットの削除に失敗しました。\n\n%s",
                                              u"Cannot delete a shortcut file.\n\n%s"};
inline constexpr TextPair kAskCreateShortcut{
    u"このユーザーへログオンしたときに、キラビを起動できるようにしますか?\r\n\r\n※[はい]を押すと、このユーザーのスタートメニュー内のスタートアップに、キラビへのショートカットを作成します。",
    u"Are you sure you want to create a shortcut file of this software to your startup folder?"};
inline constexpr TextPair kShortcutCreated{u"下記の位置にキラビのショートカットを作成しました。\r\n\r\n%s",
                                           u"Created a shortcut file."};
inline constexpr TextPair kShortcutNotCreated{u"ショートカットの作成に失敗しました。\n\n%s",
                                              u"Cannot create a shortcut file.\n\n%s"};
inline constexpr TextPair kShortcutName{u"キラビ", u"kirabi"};

inline constexpr TextPair kFeedbackCaption{u"フィードバックページを表示", u"Browse"};
inline constexpr TextPair kFeedbackFailed{
    u"ブラウザを開けません。\nブラウザが正しくインストールされているかを確認してください。\nまたは、%sを直接開いて下さい",
    u"Cannot open web page."};
}  // namespace ui_text

// Fills the first "%s" of a text (texts without one stay as they are).
inline std::u16string FillIn(std::u16string_view text, std::u16string_view value) {
  std::u16string out(text);
  const size_t at = out.find(u"%s");
  if (at != std::u16string::npos) out.replace(at, 2, value);
  return out;
}
