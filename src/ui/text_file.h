#pragma once
// Decoding a text file's bytes into UTF-16 and encoding UTF-16 as UTF-8 with
// a byte-order mark: the portable half of the memo file loader and saver.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

// Load result codes (the memo page maps them to its messages).
enum TextLoadResult : int {
  kLoadOk = 0,
  kLoadCannotOpen = 1,
  kLoadCannotRead = 2,
  kLoadOutOfMemory = 4,
  kLoadNoConverter = 5,
  kLoadConversionFailed = 6,
};
// Save result codes.
enum TextSaveResult : int {
  kSaveOk = 0,
  kSaveCannotCreate = 1,
  kSaveWriteFailed = 3,
  kSaveOutOfMemory = 4,
};

enum class TextEncoding { kUtf16Le, kUtf16Be, kUtf8, kAnsi };

struct EncodingChoice {
  TextEncoding encoding;
  size_t mark_size;  // bytes of the byte-order mark to skip
};

// Byte-order marks first; without one, text that is valid UTF-8 is UTF-8 and
// anything else is in the system's legacy (ANSI) code page.
EncodingChoice ChooseEncoding(std::string_view bytes);
bool IsValidUtf8(std::string_view bytes);

// Inserts a CR before every LF that has none; CR LF pairs stay.
std::u16string WithCrLf(std::u16string_view text);

// Converts legacy code-page bytes (no NUL inside) to UTF-16; false on failure.
using AnsiDecoder = std::function<bool(std::string_view bytes, std::u16string& out)>;

// The whole decode: returns kLoadOk or kLoadConversionFailed. The text ends at
// its first NUL character; UTF-16LE with a mark keeps its line ends as they
// are, every other encoding gets CR LF line ends.
int DecodeTextFile(std::string_view bytes, const AnsiDecoder& ansi, std::u16string& text);

// The bytes a memo file is saved as: EF BB BF and the UTF-8 text.
std::string EncodeUtf8WithMark(std::u16string_view text);
