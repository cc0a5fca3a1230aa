#include "expr/clsSen.h"

#include <gtest/gtest.h>

#include <vector>

#include "interp/ProgramState.h"
#include "support/TestSupport.h"

namespace tarnik {
namespace {

// The state these tests evaluate in, as a run's program object holds one.
ProgramState program;

using test::utf8;
using Words = std::vector<std::u16string>;

class WordReader : public ::testing::Test {
protected:
    void SetUp() override { program.reset(); }

    clsSen readerOf(std::u16string_view text)
    {
        clsSen reader(program.Err);
        reader.setStrText(text);
        return reader;
    }

    // Every word up to the end of the text.
    Words wordsOf(std::u16string_view text)
    {
        clsSen reader = readerOf(text);
        Words words;
        while (!reader.Eof() && words.size() <= text.size()) words.push_back(reader.ReadWord());
        return words;
    }
};

TEST_F(WordReader, CutsTextByCharacterClass)
{
    const struct {
        std::u16string_view text;
        Words words;
    } cases[] = {
        {u"a1+23.5*(b)", {u"a1", u"+", u"23.5", u"*", u"(", u"b", u")"}},
        {u"((x))", {u"(", u"(", u"x", u")", u")"}},   {u"  x   y", {u"x", u"y"}},
        {u"2ab", {u"2", u"ab"}},                      {u"ab2c", {u"ab2c"}},
        {u"a.b 1.2.3", {u"a.b", u"1.2.3"}},           {u".5x", {u".5", u"x"}},
        {u"AB", {u"A", u"B"}},                        {u"xY", {u"x", u"Y"}},
        {u"a与b", {u"a", u"与", u"b"}},               {u"中文", {u"中", u"文"}},
        {u"++<>", {u"+", u"+", u"<", u">"}},          {u"\tx", {u"\t", u"x"}},
        {u"say \"a b\" x", {u"say", u"\"a b\"", u"x"}}, {u"x\"\"y", {u"x", u"\"\"", u"y"}},
        {u"\"(\"+1", {u"\"(\"", u"+", u"1"}},
        // A character outside the Basic Multilingual Plane is one word, like 中.
        {u"\U00020000", {u"\U00020000"}},           {u"a\U0001F600\U0001F600b", {u"a", u"\U0001F600", u"\U0001F600", u"b"}},
        {u"\xD800\xD800\xDC00", {u"\xD800", u"\xD800\xDC00"}}, {u"\xDC00\xDC00", {u"\xDC00", u"\xDC00"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(utf8(c.text));
        EXPECT_EQ(wordsOf(c.text), c.words);
        EXPECT_FALSE(program.Err.pending());
    }
}

TEST_F(WordReader, AtTheEndReadWordReturnsOneBlankWithoutMoving)
{
    clsSen empty = readerOf(u"");
    EXPECT_TRUE(empty.Eof());
    EXPECT_EQ(empty.ReadWord(), u" ");

    clsSen reader = readerOf(u"x ");
    EXPECT_EQ(reader.ReadWord(), u"x");
    EXPECT_FALSE(reader.Eof());  // the written blank is still ahead
    EXPECT_EQ(reader.ReadWord(), u" ");
    EXPECT_TRUE(reader.Eof());
    EXPECT_EQ(reader.ReadWord(), u" ");
    EXPECT_TRUE(reader.Eof());
}

TEST_F(WordReader, AnUnclosedQuoteRecords208AndDoesNotMove)
{
    clsSen reader = readerOf(u"x \"abc");
    EXPECT_EQ(reader.ReadWord(), u"x");
    for (int attempt = 0; attempt < 2; ++attempt) {
        EXPECT_EQ(reader.ReadWord(), u"");
        EXPECT_EQ(program.Err.number(), 208);
        EXPECT_EQ(utf8(program.Err.description()), "缺少双引号");
        EXPECT_FALSE(reader.Eof());
    }
}

TEST_F(WordReader, LookNextWordPeeks)
{
    clsSen reader = readerOf(u"x+1");
    EXPECT_EQ(reader.LookNextWord(), u"x");
    EXPECT_EQ(reader.LookNextWord(), u"x");
    EXPECT_EQ(reader.ReadWord(), u"x");
    EXPECT_EQ(reader.LookNextWord(), u"+");
    EXPECT_EQ(reader.ReadWord(), u"+");
}

TEST_F(WordReader, StrTextHidesTheAppendedBlank)
{
    EXPECT_EQ(readerOf(u"x+1").strText(), u"x+1");
    EXPECT_EQ(readerOf(u"").strText(), u"");
}

TEST_F(WordReader, ThePositionOverflowsPastTheLongestText)
{
    std::u16string longest(clsSen::kMaxTextLength, u'a');
    clsSen reader = readerOf(longest);
    EXPECT_EQ(reader.ReadWord(), longest);
    EXPECT_TRUE(reader.Eof());
    EXPECT_FALSE(program.Err.pending());

    clsSen tooLong = readerOf(longest + u"a");
    (void)tooLong.ReadWord();
    EXPECT_EQ(program.Err.number(), 6);
}

}  // namespace
}  // namespace tarnik
