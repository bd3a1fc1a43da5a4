// Elapsed time across midnight and month ends, and the date text.
#include "run/clock.h"

#include <gtest/gtest.h>

namespace kestovar {
namespace {

TEST(Clock, ElapsedSecondsAcrossDayAndMonthEnds) {
  struct Case {
    int d0;
    long long c0;
    int d1;
    long long c1;
    double seconds;
  };
  const long long day = 86400LL * 1000;
  const Case cases[] = {
      {20261211, 1000, 20261211, 6500, 5.5},
      {20261211, day - 2000, 20261212, 3000, 5.0},   // midnight
      {20260131, day - 1000, 20260201, 1000, 2.0},   // end of January
      {20260228, day - 1000, 20260301, 0, 1.0},      // end of February
      {20240228, day - 1000, 20240301, 0, 86401.0},  // leap year: 29 February in between
      {20261231, day - 500, 20270101, 500, 1.0},     // end of year
  };
  for (const Case& c : cases)
    EXPECT_NEAR(elapsed_seconds(c.d0, c.c0, c.d1, c.c1, 1000), c.seconds, 1e-9) << c.d0;
  // A count rate below 2 counts as 1.
  EXPECT_NEAR(elapsed_seconds(20261211, 10, 20261211, 12, 0), 2.0, 1e-12);
}

TEST(Clock, DateTimeText) {
  DateTime dt{"20261211", "135147.123"};
  EXPECT_EQ(date_ddmmyyyy(dt), "11/12/2026");
  EXPECT_EQ(time_hhmmss(dt), "13:51:47.123");
  std::string t = date_time_text(dt);
  EXPECT_EQ(t.size(), 70u);
  EXPECT_EQ(t.substr(0, 40), "    Date: 11/12/2026  Time: 13:51:47.123");
}

}  // namespace
}  // namespace kestovar
