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
// The about box's description and terms of use.
inline constexpr TextPair kDescription{
    u"キラビは、マウスカーソルのそばに日付と時刻、メモ、クリップボードの内容、システム情報などを表示する常駐型のユーティリティです。\r\n\r\n"
    u"[利用条件]\r\n本ソフトウェアは現状のまま提供され、いかなる保証もありません。本ソフトウェアの使用または使用できなかったことによって生じたいかなる損害についても、制作者は責任を負いません。",
    u"Kirabi is a resident utility that shows the date and time, a memo, the clipboard and system figures in a "
    u"small panel beside the mouse cursor.\r\n\r\n"
    u"[Terms of use]\r\nThis software is provided as is, without warranty of any kind. The author is not liable "
    u"for any damage arising from its use or from being unable to use it."};
}  // namespace app_text

