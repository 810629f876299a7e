#pragma once
// The cursor as one display tick sees it. The tick reads the cursor
// information once (visibility, shape and position in one platform call);
// hiding, placement and the cycle all take the position from that read.
//
// Where the information's position is not in the same coordinates as the
// plain position query (a program that is not DPI-aware on a scaled screen
// gets physical points from the one and logical from the other), the plain
// query stays in use: the first ticks compare both, and a single disagreement
// settles it for the rest of the run.

#include <cstdint>

#include "display/canvas.h"

class CursorAgreement {
 public:
  // Agreements far enough from the origin that scaling would have shown.
  static constexpr int kNeeded = 8;
  static constexpr int32_t kMinDistance = 16;

  // True while the plain position must still be read beside the information.
  bool NeedsComparison() const { return !settled_; }
  // True once the information's position may stand in for the plain one.
  bool Trusted() const { return settled_ && agreed_; }
  void Compare(Point from_info, Point plain);

 private:
  int agreements_ = 0;
  bool settled_ = false;
  bool agreed_ = false;
};

// The position handed to placement and the cycle during one tick; outside a
// tick (a paint, a command) the position is read afresh.
class TickCursor {
 public:
  void Set(Point at) {
    at_ = at;
    known_ = true;
  }
  void Clear() { known_ = false; }
  bool known() const { return known_; }
  Point at() const { return at_; }

 private:
  Point at_;
  bool known_ = false;
};
