// The return stack as a ring: a full stack drops its oldest line on a push,
// and pops give the newest lines back, however often the ring has wrapped.
#include "interp/ReturnStack.h"

#include <gtest/gtest.h>

#include <deque>
#include <random>

namespace tarnik {
namespace {

TEST(ReturnStack, FullStackDropsTheOldestAndPopsTheRestNewestFirst)
{
    ReturnStack stack(3);
    for (std::int16_t line = 1; line <= 5; ++line) stack.push(line);
    EXPECT_EQ(stack.pop(), 5);
    EXPECT_EQ(stack.pop(), 4);
    EXPECT_EQ(stack.pop(), 3);
    EXPECT_TRUE(stack.empty());
}

// Random pushes and pops on small rings, set against a deque that drops its
// front when full: the ring's wrap must never lose or reorder a line.
TEST(ReturnStack, BehavesLikeABoundedDequeAcrossManyWraps)
{
    std::mt19937 random(7);
    for (std::size_t limit : {1u, 2u, 5u, 16u}) {
        ReturnStack stack(limit);
        std::deque<std::int16_t> expected;
        for (int step = 0; step < 5000; ++step) {
            if (random() % 3 != 0) {
                const auto line = static_cast<std::int16_t>(random() % 30000);
                if (expected.size() == limit) expected.pop_front();
                expected.push_back(line);
                stack.push(line);
            } else if (!expected.empty()) {
                ASSERT_FALSE(stack.empty());
                ASSERT_EQ(stack.pop(), expected.back()) << "limit " << limit << ", step " << step;
                expected.pop_back();
            }
            ASSERT_EQ(stack.empty(), expected.empty()) << "limit " << limit << ", step " << step;
        }
    }
}

}  // namespace
}  // namespace tarnik
