#include "expr/clsVar.h"

#include <gtest/gtest.h>

#include "support/TestSupport.h"

namespace tarnik {
namespace {

using test::utf8;
using Names = std::vector<std::u16string>;

class VariableStore : public ::testing::Test {
protected:
    ErrorState errors;
    clsVar store{errors};
};

TEST_F(VariableStore, ReadingAnUnknownNameCreatesItWithZero)
{
    EXPECT_EQ(store.getVar(u"x"), 0.0);
    EXPECT_EQ(store.VarNames(), Names{u"x"});
    EXPECT_EQ(store.getVar(u"x"), 0.0);
    EXPECT_EQ(store.VarNames(), Names{u"x"});
    EXPECT_FALSE(errors.pending());
}

TEST_F(VariableStore, WritingReplacesTheValueAndListsTheNameOnce)
{
    store.setVar(u"x", 2.5);
    store.setVar(u"x", -1);
    EXPECT_EQ(store.getVar(u"x"), -1.0);
    EXPECT_EQ(store.VarNames(), Names{u"x"});
}

TEST_F(VariableStore, VarNamesKeepsTheOrderOfFirstUse)
{
    store.setVar(u"y", 1);
    (void)store.getVar(u"x");
    store.setVar(u"z", 3);
    store.setVar(u"y", 4);
    EXPECT_EQ(store.VarNames(), (Names{u"y", u"x", u"z"}));
}

TEST_F(VariableStore, ValuesIgnoreLetterCaseButTheListingDoesNot)
{
    store.setVar(u"Total", 3);
    EXPECT_EQ(store.getVar(u"total"), 3.0);
    store.setVar(u"TOTAL", 4);
    EXPECT_EQ(store.getVar(u"Total"), 4.0);
    EXPECT_EQ(store.VarNames(), (Names{u"Total", u"total", u"TOTAL"}));
}

TEST_F(VariableStore, AnyTextIsAName)
{
    store.setVar(u"", 1);
    store.setVar(u"#", 2);
    store.setVar(u"(", 3);
    EXPECT_EQ(store.getVar(u""), 1.0);
    EXPECT_EQ(store.getVar(u"#"), 2.0);
    EXPECT_EQ(store.getVar(u"("), 3.0);
}

TEST_F(VariableStore, ReservedWordsAreRefusedWithError59)
{
    for (std::u16string_view word : {u"mod", u"step", u"then", u"to", u"until", u"gosub", u"elseif", u"not"}) {
        SCOPED_TRACE(utf8(word));
        const std::string description = "变量名" + utf8(word) + "不合法";

        store.setVar(word, 1);
        EXPECT_EQ(errors.number(), 59);
        EXPECT_EQ(utf8(errors.description()), description);

        EXPECT_EQ(store.getVar(word), std::nullopt);
        EXPECT_EQ(errors.number(), 59);
        EXPECT_EQ(utf8(errors.description()), description);
    }
    EXPECT_TRUE(store.VarNames().empty());
}

TEST_F(VariableStore, OnlyTheExactReservedWordIsRefused)
{
    for (std::u16string_view name : {u"Stop", u"stopx", u"to1", u"ifs"}) {
        SCOPED_TRACE(utf8(name));
        store.setVar(name, 7);
        EXPECT_FALSE(errors.pending());
        EXPECT_EQ(store.getVar(name), 7.0);
    }
}

TEST_F(VariableStore, ClearEmptiesValuesAndNames)
{
    store.setVar(u"x", 5);
    store.Clear();
    EXPECT_TRUE(store.VarNames().empty());
    EXPECT_EQ(store.getVar(u"x"), 0.0);
}

TEST_F(VariableStore, ResolvingANameNeitherCreatesNorListsIt)
{
    clsVar::Ref x = store.resolve(u"x");
    EXPECT_TRUE(store.VarNames().empty());
    (void)store.getVar(u"y");
    EXPECT_EQ(store.getVar(x), 0.0);
    EXPECT_EQ(store.VarNames(), (Names{u"y", u"x"}));
}

TEST_F(VariableStore, ARefBehavesExactlyLikeItsName)
{
    clsVar::Ref count = store.resolve(u"Count");
    store.setVar(count, 7);
    EXPECT_EQ(store.getVar(u"count"), 7.0);
    store.setVar(u"COUNT", 8);
    EXPECT_EQ(store.getVar(count), 8.0);
    EXPECT_EQ(store.VarNames(), (Names{u"Count", u"count", u"COUNT"}));

    clsVar::Ref step = store.resolve(u"step");
    EXPECT_EQ(store.getVar(step), std::nullopt);
    EXPECT_EQ(utf8(errors.description()), "变量名step不合法");
    store.setVar(step, 1);
    EXPECT_EQ(errors.number(), 59);
    EXPECT_EQ(store.VarNames().size(), 3u);
}

TEST_F(VariableStore, ClearStartsANewGenerationOfRefs)
{
    const std::uint64_t before = store.generation();
    store.Clear();
    EXPECT_NE(store.generation(), before);
}

}  // namespace
}  // namespace tarnik
