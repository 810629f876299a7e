#pragma once
// The clipboard commands' messages, each a Japanese/English pair.

#include "app/app_texts.h"

namespace clipboard_text {
// Opening and emptying are shared with the empty-clipboard command.
inline constexpr const TextPair& kNotOpened = app_text::kClipboardNotOpened;
inline constexpr const TextPair& kNotEmptied = app_text::kClipboardNotEmptied;
inline constexpr TextPair kNotTextOrFiles{u"クリップボードの内容が空、あるいは、テキストでもファイルでもありません。",
                                          u"Clipboard Data is not Text Format."};
inline constexpr TextPair kNoData{u"既存データ取得失敗。", u"GetClipboardData error."};
inline constexpr TextPair kLockFailed{u"既存メモリのロックに失敗。", u"GlobalAlloc error."};
inline constexpr TextPair kCopyFailed{u"既存メモリのコピー用メモリ領域取得に失敗。", u"_tcsdup() failed."};
inline constexpr TextPair kAllocFailed{u"メモリ確保に失敗。", u"GlobalAlloc error."};
inline constexpr TextPair kNewLockFailed{u"メモリのロックに失敗。", u"GlobalLock error."};
inline constexpr TextPair kSetFailed{u"クリップボードへ文字列を書き込めません。", u"SetClipboardData error."};
inline constexpr TextPair kUnexpected{u"予期せぬ例外が発生。", u"Unkown exception."};
}  // namespace clipboard_text
