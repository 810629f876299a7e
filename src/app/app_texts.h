#pragma once
// The application shell's own texts, each a Japanese/English pair.

#include <string_view>

#include "common/text_pair.h"

namespace app_text {
using ::kProductName;
inline constexpr TextPair kForwardWindowNotFound{
    u"キラビのウィンドウハンドルを検出できません。指定機能の伝達ができませんでした。",
    u"FindWindow was failed."};
inline constexpr TextPair kForcedExitWindowNotFound{
    u"ウィンドウの検出に失敗しました。強制終了に失敗しました。", u"FindWindow was failed."};
inline constexpr TextPair kHelpOpenFailed{u"hh.exeでヘルプファイルを開けません", u"Cannot open kirabi.chm"};
// The same text in both languages.
inline constexpr TextPair kWindowCreationFailed{u"ウィンドウ生成に失敗しました", u"ウィンドウ生成に失敗しました"};
inline constexpr TextPair kSelfCheckFailed{
    u"実行ファイルの内容がチェックサムと一致しません。ファイルが破損しているか、改変されている可能性があります。",
    u"The executable file does not match its checksum. It may be damaged or modified."};
inline constexpr TextPair kCloseTheDialog{u"現在開いているダイアログボックスを閉じてください。", u"Close the dialog box."};
inline constexpr TextPair kScriptHeldBack{
    u"スクリプト実行を10秒間保留します。スクリプトを開始させたくない場合は、通知領域アイコンのメニューから「表示を隠す」を選んでください。(この通知をマウスの中ボタンで閉じると、次回からこの通知を表示しません)",
    u"Script execution will be suspended for 10 seconds. Select 'Hide' from the notification area icon menu to stop script.(If you close this notification with the middle mouse button, this notification will not be shown again next time.)"};
inline constexpr TextPair kClipboardNotEmptied{u"クリップボードの内容を空にできませんでした。",
                                               u"Cannot clear data in the clipboard."};
inline constexpr TextPair kClipboardNotOpened{
    u"クリップボードを開けません。他のアプリケーションが使用中である可能性があるので、少し待ってからやり直して下さい。",
    u"Cannot open the clipboard."};
inline constexpr TextPair kFeedbackCaption{u"フィードバックページを表示", u"Browse"};
inline constexpr TextPair kFeedbackFailed{
    u"ブラウザを起動できませんでした。\r\nブラウザが正しくインストールされているか確認してください。\r\n次のアドレスを直接開いてページを表示することもできます: https://kirabi.invalid/feedback",
    u"Cannot open web page."};
}  // namespace app_text

// The help topic that /? opens.
inline constexpr std::u16string_view kHelpTopicSwitches = u"kirabi.chm::/_RESOURCE/HLP000021.html";
inline constexpr std::u16string_view kHelpTopicDonation = u"kirabi.chm::/_RESOURCE/kifu.html";
inline constexpr std::u16string_view kFeedbackAddress = u"https://kirabi.invalid/feedback";
