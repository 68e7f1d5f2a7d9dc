// The value-to-index conversion of the preset and bank selectors.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "presets/SelectionIndex.h"

TEST(SelectionIndex, PlainFloorLosesIndicesThatTheToleranceKeeps) {
  // The fault mended: program 15 of 23 presets sent as 15/22 comes back as 14.
  EXPECT_EQ(int(std::floor(22 * (15.0 / 22.0))), 14);
  EXPECT_EQ(IndexFromValue(15.0 / 22.0, 23), 15);
}

TEST(SelectionIndex, EveryIndexSurvivesDoubleAndFloatValues) {
  for (int count = 2; count <= 100; ++count) {
    for (int index = 0; index < count; ++index) {
      const double value = double(index) / (count - 1);
      ASSERT_EQ(IndexFromValue(value, count), index) << index << " of " << count;
      ASSERT_EQ(IndexFromValue(double(float(value)), count), index) << index << " of " << count;
      ASSERT_EQ(IndexFromValue(double(float(index) / float(count - 1)), count), index);
    }
  }
}

TEST(SelectionIndex, SteppingAndClickBoundariesStayWhereTheyWere) {
  for (int count = 2; count <= 100; ++count) {
    for (int index = 0; index < count; ++index) {
      // The stepping buttons forward (s + 0.2) / (N - 1).
      const double step = (index + 0.2) / (count - 1);
      ASSERT_EQ(IndexFromValue(step, count), index);
      ASSERT_EQ(IndexFromValue(double(float(step)), count), index);
    }
    // A browser click: tp / (N - 1) + 20 v / (N - 1) with 20 v inside row r.
    for (int top = 0; top + 20 <= count; top += 5) {
      for (int row = 0; row < 20 && top + row < count; ++row) {
        for (double within : {0.01, 0.5, 0.99}) {
          const double v = (row + within) / 20.0;
          const double value = top / double(count - 1) + 20.0 * v / (count - 1);
          ASSERT_EQ(IndexFromValue(value, count), std::min(top + row, count - 1));
        }
      }
    }
  }
}

TEST(SelectionIndex, ShortListsAndOddValuesStayInside) {
  for (double value : {-1.0, 0.0, 0.5, 1.0, 2.0}) {
    EXPECT_EQ(IndexFromValue(value, 0), 0);
    EXPECT_EQ(IndexFromValue(value, 1), 0);
  }
  EXPECT_EQ(IndexFromValue(-0.5, 10), 0);
  EXPECT_EQ(IndexFromValue(1.5, 10), 9);
  EXPECT_EQ(IndexFromValue(std::numeric_limits<double>::quiet_NaN(), 10), 0);
  EXPECT_EQ(IndexFromValue(std::numeric_limits<double>::infinity(), 10), 9);
  EXPECT_EQ(IndexFromValue(0.999, 10), 8);
}
