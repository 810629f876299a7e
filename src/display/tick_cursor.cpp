#include "display/tick_cursor.h"

#include <cstdlib>

void CursorAgreement::Compare(Point from_info, Point plain) {
  if (settled_) return;
  if (!(from_info == plain)) {
    settled_ = true;
    agreed_ = false;
    return;
  }
  if (std::abs(plain.x) < kMinDistance && std::abs(plain.y) < kMinDistance) return;
  if (++agreements_ >= kNeeded) {
    settled_ = true;
    agreed_ = true;
  }
}
