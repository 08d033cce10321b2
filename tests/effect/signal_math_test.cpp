#include "effect/SignalMath.h"

#include <gtest/gtest.h>

#include <limits>

TEST(Clipper, AmountZeroPassesUpToFullScale) {
  EXPECT_EQ(ClipSample(0.3, 1.0), 0.3);
  EXPECT_EQ(ClipSample(-1.0, 1.0), -1.0);
  EXPECT_EQ(ClipSample(1.5, 1.0), 1.0);
  EXPECT_EQ(ClipSample(-1.5, 1.0), -1.0);
}

TEST(Clipper, ClipsAtTheLevelAndRestoresFullScale) {
  EXPECT_EQ(ClipSample(0.25, 0.5), 0.5);
  EXPECT_EQ(ClipSample(0.75, 0.5), 1.0);
  EXPECT_EQ(ClipSample(-0.75, 0.5), -1.0);
  EXPECT_NEAR(ClipSample(0.00005, 0.0001), 0.5, 1e-12);
  EXPECT_EQ(ClipSample(0.0001, 0.0001), 1.0);
  EXPECT_EQ(ClipSample(-0.3, 0.0001), -1.0);
}

TEST(Clipper, NonFiniteInput) {
  const double inf = std::numeric_limits<double>::infinity();
  EXPECT_EQ(ClipSample(inf, 0.2), 1.0);
  EXPECT_EQ(ClipSample(-inf, 0.2), -1.0);
  EXPECT_EQ(ClipSample(std::numeric_limits<double>::quiet_NaN(), 0.2), 0.0);
}

TEST(MeterSmoothing, RisesQuicklyAndFallsSlowly) {
  EXPECT_DOUBLE_EQ(SmoothMeterLevel(1.0, 0.0), 0.6);
  EXPECT_DOUBLE_EQ(SmoothMeterLevel(0.0, 0.6), 0.57);
  EXPECT_DOUBLE_EQ(SmoothMeterLevel(0.0, 0.5), 0.475);
  EXPECT_DOUBLE_EQ(SmoothMeterLevel(1.0, 0.475), 0.79);
  // Equal peak and level count as rising and leave the level where it is.
  EXPECT_DOUBLE_EQ(SmoothMeterLevel(0.6, 0.6), 0.6);
}
