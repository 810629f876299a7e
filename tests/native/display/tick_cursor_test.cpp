#include "display/tick_cursor.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

struct Read {
  Point info;
  Point plain;
};

TEST(CursorAgreement, TrustsTheInformationOnlyAfterEnoughAgreementsAwayFromTheOrigin) {
  struct Case {
    const char* name;
    std::vector<Read> reads;
    bool settled;
    bool trusted;
  };
  const Point far{400, 300};
  const Point scaled{500, 375};  // the same point on a 125 % screen, in physical units
  const std::vector<Case> cases = {
      {"nothing read yet", {}, false, false},
      {"seven agreements are not enough", std::vector<Read>(7, Read{far, far}), false, false},
      {"eight agreements settle it", std::vector<Read>(8, Read{far, far}), true, true},
      {"near the origin scaling cannot show", std::vector<Read>(20, Read{{3, 15}, {3, 15}}), false, false},
      {"one disagreement settles against", {{far, far}, {scaled, far}}, true, false},
      {"disagreement at the origin's edge counts too", {{{1, 1}, {0, 0}}}, true, false},
  };
  for (const Case& c : cases) {
    CursorAgreement agreement;
    for (const Read& read : c.reads) agreement.Compare(read.info, read.plain);
    EXPECT_EQ(agreement.NeedsComparison(), !c.settled) << c.name;
    EXPECT_EQ(agreement.Trusted(), c.trusted) << c.name;
  }
}

TEST(CursorAgreement, ASettledAnswerDoesNotChange) {
  CursorAgreement trusted;
  for (int i = 0; i < CursorAgreement::kNeeded; ++i) trusted.Compare({200, 200}, {200, 200});
  trusted.Compare({250, 250}, {200, 200});
  EXPECT_TRUE(trusted.Trusted());

  CursorAgreement refused;
  refused.Compare({250, 250}, {200, 200});
  for (int i = 0; i < 3 * CursorAgreement::kNeeded; ++i) refused.Compare({200, 200}, {200, 200});
  EXPECT_FALSE(refused.Trusted());
}

TEST(TickCursor, AnswersOnlyWhileSet) {
  TickCursor cursor;
  EXPECT_FALSE(cursor.known());
  cursor.Set({12, 34});
  ASSERT_TRUE(cursor.known());
  EXPECT_EQ(cursor.at(), (Point{12, 34}));
  cursor.Clear();
  EXPECT_FALSE(cursor.known());
}

}  // namespace
