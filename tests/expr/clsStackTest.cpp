#include "support/clsStack.h"

#include <gtest/gtest.h>

#include <functional>

#include "expr/BasicError.h"

namespace tarnik {
namespace {

const StackValue kA{u"a"};
const StackValue kTwo{2.0};
const StackValue kB{u"b"};
const StackValue kTwelve{12.0};

std::int32_t raisedNumber(const std::function<void()>& call)
{
    try {
        call();
    } catch (const BasicError& error) {
        return error.number;
    }
    ADD_FAILURE() << "no error raised";
    return 0;
}

class ValueStack : public ::testing::Test {
protected:
    void SetUp() override
    {
        stack.Push(kA);
        stack.Push(kTwo);
        stack.Push(kB);
    }

    clsStack stack;
};

TEST_F(ValueStack, MixedEntriesAreReadFromTheTopDown)
{
    EXPECT_EQ(stack.Count(), 3);
    EXPECT_EQ(stack.Item(0), kB);
    EXPECT_EQ(stack.Item(1), kTwo);
    EXPECT_EQ(stack.Item(2), kA);
    EXPECT_EQ(stack.Count(), 3);  // Item only peeks

    EXPECT_EQ(stack.Pop(), kB);
    EXPECT_EQ(stack.Pop(), kTwo);
    EXPECT_EQ(stack.Pop(), kA);
    EXPECT_EQ(stack.Count(), 0);
}

TEST_F(ValueStack, ValuesKeepTheirKind)
{
    clsStack kinds;
    kinds.Push(StackValue{u"12"});
    kinds.Push(kTwelve);
    EXPECT_TRUE(std::holds_alternative<double>(kinds.Pop()));
    EXPECT_TRUE(std::holds_alternative<std::u16string>(kinds.Pop()));
}

TEST_F(ValueStack, MissingEntriesRaiseSubscriptOutOfRange)
{
    EXPECT_EQ(raisedNumber([&] { (void)stack.Item(3); }), 9);
    EXPECT_EQ(raisedNumber([&] { (void)stack.Item(-1); }), 9);
    EXPECT_EQ(stack.Count(), 3);

    clsStack empty;
    EXPECT_EQ(raisedNumber([&] { (void)empty.Pop(); }), 9);
    EXPECT_EQ(raisedNumber([&] { (void)empty.Item(0); }), 9);
    EXPECT_EQ(empty.Count(), 0);
    empty.Push(kA);  // a failed Pop leaves a usable stack
    EXPECT_EQ(empty.Item(0), kA);
}

TEST_F(ValueStack, TheLargestDepthOverflowsBeforeAnythingIsRead)
{
    EXPECT_EQ(raisedNumber([&] { (void)stack.Item(32767); }), 6);
    EXPECT_EQ(raisedNumber([&] { (void)stack.Item(32766); }), 9);
}

TEST_F(ValueStack, ClearEmptiesTheStackAndItStaysUsable)
{
    stack.Clear();
    EXPECT_EQ(stack.Count(), 0);
    stack.Clear();
    EXPECT_EQ(stack.Count(), 0);
    stack.Push(kTwo);
    EXPECT_EQ(stack.Item(0), kTwo);
    EXPECT_EQ(stack.Count(), 1);
}

}  // namespace
}  // namespace tarnik
