#include "platform/ui/row_sequence.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

namespace {

// The sequence must behave exactly like a vector under any mix of operations, also across the
// block splits and block removals that only happen beyond a few hundred rows.
TEST(RowSequence, MatchesAVectorUnderRandomOperations) {
  std::mt19937 random(7);
  ui::RowSequence sequence;
  std::vector<ui::RowSequence::Id> expected;
  ui::RowSequence::Id nextId = 0;
  for (int step = 0; step < 40000; ++step) {
    int op = static_cast<int>(random() % 10);
    // Grow for the first half, then shrink, so both splits and emptied blocks happen.
    bool growing = step < 20000;
    if (expected.empty() || op < (growing ? 6 : 2)) {
      std::size_t at = op % 2 == 0 ? 0 : random() % (expected.size() + 1);
      sequence.Insert(at, nextId);
      expected.insert(expected.begin() + static_cast<std::ptrdiff_t>(at), nextId);
      ++nextId;
    } else if (op < 7) {
      std::size_t at = random() % expected.size();
      ASSERT_EQ(sequence.Erase(at), expected[at]);
      expected.erase(expected.begin() + static_cast<std::ptrdiff_t>(at));
    } else if (op < 8) {
      std::size_t a = random() % expected.size();
      std::size_t b = random() % expected.size();
      sequence.Swap(a, b);
      std::swap(expected[a], expected[b]);
    } else {
      std::size_t at = random() % expected.size();
      ASSERT_EQ(sequence.At(at), expected[at]);
      sequence.Set(at, nextId);
      expected[at] = nextId++;
    }
    ASSERT_EQ(sequence.Size(), expected.size());
    if (step % 997 == 0) {
      for (std::size_t i = 0; i < expected.size(); ++i) ASSERT_EQ(sequence.At(i), expected[i]) << i;
    }
  }
  for (std::size_t i = 0; i < expected.size(); ++i) ASSERT_EQ(sequence.At(i), expected[i]) << i;
}

TEST(RowSequence, InsertingAtTheTopReversesTheOrderAndClearEmpties) {
  ui::RowSequence sequence;
  for (ui::RowSequence::Id id = 0; id < 3000; ++id) sequence.Insert(0, id);
  ASSERT_EQ(sequence.Size(), 3000u);
  for (std::size_t i = 0; i < 3000; ++i) ASSERT_EQ(sequence.At(i), 2999 - i);
  sequence.Clear();
  EXPECT_TRUE(sequence.Empty());
  sequence.Insert(0, 42);
  EXPECT_EQ(sequence.At(0), 42u);
}

TEST(RowSequence, ErasingEverythingFromTheFrontLeavesItUsable) {
  ui::RowSequence sequence;
  for (ui::RowSequence::Id id = 0; id < 2000; ++id) sequence.Insert(sequence.Size(), id);
  for (ui::RowSequence::Id id = 0; id < 2000; ++id) ASSERT_EQ(sequence.Erase(0), id);
  EXPECT_TRUE(sequence.Empty());
  sequence.Insert(0, 5);
  sequence.Insert(1, 6);
  EXPECT_EQ(sequence.At(1), 6u);
}

}  // namespace
