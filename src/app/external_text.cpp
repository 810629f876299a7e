#include "app/external_text.h"

#include <cstring>

#include "app/commands.h"

bool ReceiveExternalText(bool gaibu, const ExternalTextMessage& message, TextBuffer& text) {
  if (!gaibu || message.sender == 0 || message.id != kExternalTextId) return false;
  text.clear();
  if (message.data == nullptr) return true;
  size_t limit = message.byte_count / sizeof(char16_t);
  if (limit > kExternalTextMax) limit = kExternalTextMax;
  // The record may not be aligned for char16_t: copy character by character.
  const unsigned char* bytes = static_cast<const unsigned char*>(message.data);
  char16_t* out = text.data();
  size_t n = 0;
  for (; n < limit; ++n) {
    char16_t c;
    std::memcpy(&c, bytes + n * sizeof(char16_t), sizeof c);
    if (c == 0) break;
    out[n] = c;
  }
  out[n] = 0;
  text.sync_size();
  return true;
}
