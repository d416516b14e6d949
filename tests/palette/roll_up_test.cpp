#include "palette/roll_up.h"

#include <gtest/gtest.h>

#include <vector>

namespace vendigo {
namespace {

// A window whose height changes are recorded; events may ask for another roll meanwhile.
struct FakeWindow {
  explicit FakeWindow(int startHeight) : height(startHeight) {}

  int height;
  std::vector<int> heights;
  int eventRuns = 0;
  std::function<void()> duringEvents;

  RollUp::Window Hooks() {
    return {[this] { return height; },
            [this](int newHeight) {
              height = newHeight;
              heights.push_back(newHeight);
            },
            [this] {
              ++eventRuns;
              if (duringEvents) duringEvents();
            }};
  }
};

std::vector<int> Range(int from, int to) {
  std::vector<int> values;
  for (int value = from; value <= to; ++value) values.push_back(value);
  return values;
}

TEST(RollUpTest, RollsUpAtOnceAndUnrollsAPixelAtATimeToTheStartHeight) {
  FakeWindow window(339);
  RollUp roll(339, 25, window.Hooks());

  roll.Toggle();
  EXPECT_EQ(window.heights, std::vector<int>{25});
  EXPECT_EQ(window.eventRuns, 0);

  window.heights.clear();
  roll.Toggle();
  EXPECT_EQ(window.heights, Range(25, 339));
  EXPECT_EQ(window.eventRuns, 339 - 25 + 1);
  EXPECT_EQ(window.height, 339);
  EXPECT_FALSE(roll.Busy());
}

TEST(RollUpTest, UnrollsFromAnyLowerHeight) {
  FakeWindow window(300);
  RollUp roll(339, 25, window.Hooks());
  roll.Toggle();
  EXPECT_EQ(window.heights, Range(300, 339));
}

TEST(RollUpTest, ATallerWindowStaysAsItIs) {
  FakeWindow window(400);
  RollUp roll(339, 25, window.Hooks());
  roll.Toggle();
  EXPECT_TRUE(window.heights.empty());
  EXPECT_FALSE(roll.Busy());
}

TEST(RollUpTest, ARollAskedForWhileUnrollingIsIgnored) {
  FakeWindow window(25);
  RollUp roll(339, 25, window.Hooks());
  int busySeen = 0;
  window.duringEvents = [&] {
    if (roll.Busy()) ++busySeen;
    roll.Toggle();
  };
  roll.Toggle();
  EXPECT_EQ(window.heights, Range(25, 339));
  EXPECT_EQ(busySeen, 339 - 25 + 1);
  EXPECT_FALSE(roll.Busy());
}

}  // namespace
}  // namespace vendigo
