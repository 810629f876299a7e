#pragma once
// Puts test content on the clipboard the way other programs do, including
// content that is broken on purpose. Shared by kirabi_cliptool and the
// clipboard tests. Each call opens, empties, sets and closes the clipboard;
// false when any step failed.

#include <windows.h>

#include <string>
#include <vector>

bool PutText(const std::wstring& text);
// The text in a block with no terminator: every character of the block is text.
bool PutUnterminatedText(const std::wstring& text);
// "HTML Format" with the text as a fragment, plus the plain text.
bool PutHtmlAndText(const std::wstring& text);
bool PutFiles(const std::vector<std::wstring>& paths);
// A file list with no names at all.
bool PutEmptyFileList();
// A width x height bitmap of one colour (a COLORREF).
bool PutBitmap(int width, int height, COLORREF color);
// A bitmap without pixels.
bool PutZeroSizeBitmap();
bool EmptyTheClipboard();

// The formats on the clipboard, in order, by name where they have one.
std::vector<std::wstring> ClipboardFormatNames();
std::vector<UINT> ClipboardFormats();
