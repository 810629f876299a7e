#include "ui/text_file.h"

#include "common/utf.h"

namespace {

std::string_view UpToNul(std::string_view bytes) {
  const size_t nul = bytes.find('\0');
  return nul == std::string_view::npos ? bytes : bytes.substr(0, nul);
}

}  // namespace

EncodingChoice ChooseEncoding(std::string_view bytes) {
  const FoundMark mark = FindByteOrderMark(bytes);
  switch (mark.kind) {
    case ByteOrderMark::kUtf16Le: return {TextEncoding::kUtf16Le, mark.size};
    case ByteOrderMark::kUtf16Be: return {TextEncoding::kUtf16Be, mark.size};
    case ByteOrderMark::kUtf8: return {TextEncoding::kUtf8, mark.size};
    case ByteOrderMark::kNone: break;
  }
  return {IsValidUtf8(UpToNul(bytes)) ? TextEncoding::kUtf8 : TextEncoding::kAnsi, 0};
}

std::u16string WithCrLf(std::u16string_view text) {
  std::u16string out;
  out.reserve(text.size() + text.size() / 16);
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == u'\n' && (i == 0 || text[i - 1] != u'\r')) out.push_back(u'\r');
    out.push_back(text[i]);
  }
  return out;
}

int DecodeTextFile(std::string_view bytes, const AnsiDecoder& ansi, std::u16string& text) {
  const EncodingChoice choice = ChooseEncoding(bytes);
  const std::string_view body = bytes.substr(choice.mark_size);
  std::u16string decoded;
  switch (choice.encoding) {
    case TextEncoding::kUtf16Le:
      // A UTF-16LE file is taken exactly as it is written.
      text = Utf16FromBytes(body, false, true);
      return kLoadOk;
    case TextEncoding::kUtf16Be: decoded = Utf16FromBytes(body, true, true); break;
    case TextEncoding::kUtf8: decoded = Utf8ToUtf16(UpToNul(body)); break;
    case TextEncoding::kAnsi:
      if (!ansi || !ansi(UpToNul(body), decoded)) return kLoadConversionFailed;
      break;
  }
  text = WithCrLf(decoded);
  return kLoadOk;
}

std::string EncodeUtf8WithMark(std::u16string_view text) { return "\xEF\xBB\xBF" + Utf16ToUtf8(text); }
