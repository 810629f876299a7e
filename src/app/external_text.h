#pragma once
// The external-text protocol: another program sends WM_COPYDATA with
// identifier 102414, its own window handle as the first parameter and a
// UTF-16 text. The text is kept while that window exists and GAIBU is on.

#include <cstddef>
#include <cstdint>

#include "common/fixed_text.h"

// At most this many characters of a received text are kept.
inline constexpr size_t kExternalTextMax = 517;

struct ExternalTextMessage {
  uintptr_t sender;     // the first message parameter
  uint64_t id;          // dwData of the copy-data record, pointer-sized: compared in full
  const void* data;     // lpData
  size_t byte_count;    // cbData
};

// True when the message was taken: the text is cleared and refilled with the
// characters up to the terminator, at most 517 and never more than the
// record holds (byte_count / 2), so a sender that leaves out the terminator
// cannot make us read past its data. Otherwise the text stays as it was.
bool ReceiveExternalText(bool gaibu, const ExternalTextMessage& message, TextBuffer& text);
