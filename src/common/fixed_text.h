#pragma once
// A UTF-16 text of fixed capacity, stored inline and always terminated.
// The display's line buffers, pattern results, the external text and the
// clipboard cache are all 520 characters (519 and a terminator).

#include <cstddef>
#include <string_view>

template <std::size_t N>
class FixedText {
  static_assert(N >= 1, "room for the terminator");

 public:
  // Capacity in characters, the terminator included.
  static constexpr std::size_t kCapacity = N;

  FixedText() { text_[0] = 0; }
  explicit FixedText(std::u16string_view s) { assign(s); }

  const char16_t* c_str() const { return text_; }
  char16_t* data() { return text_; }
  std::size_t size() const { return size_; }
  bool empty() const { return size_ == 0; }
  std::u16string_view view() const { return {text_, size_}; }
  operator std::u16string_view() const { return view(); }

  void clear() {
    size_ = 0;
    text_[0] = 0;
  }

  // Replaces the text; keeps at most N-1 characters. False when it had to cut.
  bool assign(std::u16string_view s) {
    const bool fits = s.size() < N;
    size_ = fits ? s.size() : N - 1;
    s.copy(text_, size_);
    text_[size_] = 0;
    return fits;
  }

  // Appends the whole piece or nothing: writers stop at the last piece that fits.
  bool append(std::u16string_view piece) {
    if (size_ + piece.size() >= N) return false;
    piece.copy(text_ + size_, piece.size());
    size_ += piece.size();
    text_[size_] = 0;
    return true;
  }

  bool push_back(char16_t c) { return append(std::u16string_view(&c, 1)); }

  // After writing into data() directly (a platform call): takes the length
  // from the terminator, and terminates at the capacity if there is none.
  void sync_size() {
    std::size_t n = 0;
    while (n < N - 1 && text_[n] != 0) ++n;
    text_[n] = 0;
    size_ = n;
  }

  friend bool operator==(const FixedText& a, const FixedText& b) { return a.view() == b.view(); }
  friend bool operator==(const FixedText& a, std::u16string_view b) { return a.view() == b; }

 private:
  char16_t text_[N];
  std::size_t size_ = 0;
};

using TextBuffer = FixedText<520>;
