#include "services/SourceText.h"

#include <gtest/gtest.h>

#include "support/TestSupport.h"

namespace tarnik {
namespace {

using test::utf8;

TEST(SourceText, ValidUtf8IsReadAsUtf8)
{
    DecodedSource source = decodeSource("print \"你好\"");
    EXPECT_EQ(source.encoding, SourceEncoding::Utf8);
    EXPECT_EQ(source.text, u"print \"你好\"");
}

TEST(SourceText, ByteOrderMarkIsDroppedAndRemembered)
{
    DecodedSource source = decodeSource("\xEF\xBB\xBFprint 1");
    EXPECT_EQ(source.encoding, SourceEncoding::Utf8WithBom);
    EXPECT_EQ(source.text, u"print 1");
}

TEST(SourceText, BytesThatAreNotUtf8AreReadAsGbk)
{
    struct Case {
        const char* bytes;
        std::u16string text;
    };
    const Case cases[] = {
        {"print \"\xC4\xE3\xBA\xC3\"", u"print \"你好\""},  // 你好
        {"\xB4\xF2\xD3\xA1", u"打印"},
        {"\x80", u"€"},                    // code page 936 has the euro sign at 0x80
        {"\xC0\xAF", u"蜡"},              // an overlong UTF-8 slash is GBK text
        {"\xED\xA0\x80", u"頎€"},         // a UTF-8 surrogate is not UTF-8
        {"a\xFF" "b", u"a\uFFFDb"},        // unreadable in either
        {"a\x81", u"a\uFFFD"},             // a lead byte with nothing after it
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.bytes);
        DecodedSource source = decodeSource(c.bytes);
        EXPECT_EQ(source.encoding, SourceEncoding::Gbk);
        EXPECT_EQ(utf8(source.text), utf8(c.text));
    }
}

TEST(SourceText, EveryLineEndBecomesCrLf)
{
    struct Case {
        const char* bytes;
        std::u16string text;
    };
    const Case cases[] = {
        {"a\nb", u"a\r\nb"},        {"a\rb", u"a\r\nb"},       {"a\r\nb", u"a\r\nb"},
        {"a\r\r\nb", u"a\r\n\r\nb"}, {"a\n\rb", u"a\r\n\r\nb"}, {"a\n\n", u"a\r\n\r\n"},
        {"\r", u"\r\n"},            {"", u""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.bytes);
        EXPECT_EQ(decodeSource(c.bytes).text, c.text);
    }
    EXPECT_EQ(decodeSource("\xC4\xE3\n\xBA\xC3\r").text, u"你\r\n好\r\n");
}

TEST(SourceText, EncodingGivesBackTheFileBytes)
{
    const char* gbk = "print \"\xC4\xE3\xBA\xC3\"\r\n";
    DecodedSource source = decodeSource(gbk);
    EXPECT_EQ(encodeSource(source.text, source.encoding), gbk);

    const char* withBom = "\xEF\xBB\xBFx = 1\r\n";
    source = decodeSource(withBom);
    EXPECT_EQ(encodeSource(source.text, source.encoding), withBom);
    EXPECT_EQ(encodeSource(u"你好", SourceEncoding::Utf8), "\xE4\xBD\xA0\xE5\xA5\xBD");
}

TEST(SourceText, CharacterOutsideTheEncodingIsRefused)
{
    EXPECT_EQ(encodeSource(u"print \"\U0001F600\"", SourceEncoding::Gbk), std::nullopt);
    EXPECT_EQ(encodeSource(u"\xD800", SourceEncoding::Utf8), std::nullopt);
    EXPECT_EQ(encodeSource(u"\U0001F600", SourceEncoding::Utf8), "\xF0\x9F\x98\x80");
}

TEST(SourceText, Utf8ConversionsReplaceWhatIsMalformed)
{
    EXPECT_EQ(toUtf8(u"a\U0001F600你"), "a\xF0\x9F\x98\x80\xE4\xBD\xA0");
    EXPECT_EQ(toUtf8(u"a\xDC00" "b"), "a\xEF\xBF\xBD" "b");
    EXPECT_EQ(fromUtf8("a\xF0\x9F\x98\x80\xE4\xBD\xA0"), u"a\U0001F600你");
    EXPECT_EQ(fromUtf8("a\xC3"), u"a\uFFFD");
    // One stand-in for each stretch that begins like a sequence and breaks off.
    EXPECT_EQ(fromUtf8("\xE4\xBD"), u"\uFFFD");
    EXPECT_EQ(fromUtf8("\xE4\xBD" "a\xF0\x9F\x98"), u"\uFFFD" "a\uFFFD");
    EXPECT_EQ(fromUtf8("\xC0\xAF\xFF"), u"\uFFFD\uFFFD\uFFFD");
}

TEST(SourceText, ByteOrderMarksDecide)
{
    struct Case {
        const char* name;
        std::string bytes;
        SourceEncoding encoding;
        std::u16string text;
    };
    const Case cases[] = {
        {"UTF-16 LE", std::string("\xFF\xFEp\0r\0\n\0`O}Y", 12), SourceEncoding::Utf16Le, u"pr\r\n你好"},
        {"UTF-16 BE", std::string("\xFE\xFF\0p\0\r\0\nO`Y}", 12), SourceEncoding::Utf16Be, u"p\r\n你好"},
        {"UTF-16 LE pair", std::string("\xFF\xFE@\xD8\0\xDC", 6), SourceEncoding::Utf16Le, u"\U00020000"},
        {"UTF-8 mark before GBK-looking bytes", "\xEF\xBB\xBFx\xC4\xE3", SourceEncoding::Utf8WithBom, u"x\uFFFD\uFFFD"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const DecodedSource source = decodeSource(c.bytes);
        EXPECT_EQ(source.encoding, c.encoding);
        EXPECT_EQ(utf8(source.text), utf8(c.text));
    }
}

TEST(SourceText, Utf16WithoutItsPartnerOrWithAnOddByteIsReplacedAndCounted)
{
    const DecodedSource lone = decodeSource(std::string("\xFF\xFE" "a\0\0\xD8" "b\0", 8));
    EXPECT_EQ(utf8(lone.text), utf8(u"a\uFFFDb"));
    EXPECT_EQ(lone.replacements, 1U);
    EXPECT_FALSE(lone.roundTrips);
    const DecodedSource odd = decodeSource(std::string("\xFE\xFF\0a\0", 5));
    EXPECT_EQ(utf8(odd.text), utf8(u"a\uFFFD"));
    EXPECT_EQ(odd.replacements, 1U);
}

// A Chinese UTF-8 file with a stray Latin-1 byte stays UTF-8; where nothing
// Chinese outweighs the bad bytes, GBK is the reading.
TEST(SourceText, ValidLongSequencesOutweighingBadStretchesMeanUtf8)
{
    struct Case {
        const char* name;
        const char* bytes;
        SourceEncoding encoding;
        std::u16string text;
        std::size_t replacements;
    };
    const Case cases[] = {
        {"stray Latin-1 byte in a comment", "' caf\xE9\nprint \"\xE4\xBD\xA0\xE5\xA5\xBD\xE4\xB8\x96\xE7\x95\x8C\"",
         SourceEncoding::Utf8, u"' caf\uFFFD\r\nprint \"你好世界\"", 1},
        {"a cut-off sequence counts once", "\xE4\xBD\xA0\xE5\xA5\xE4\xB8\x96", SourceEncoding::Utf8, u"你\uFFFD世", 1},
        {"as many bad as good is GBK", "\xE4\xBD\xA0\xFF", SourceEncoding::Gbk, u"浣\uFFFD\uFFFD", 2},
        {"no Chinese, a stray byte", "' caf\xE9", SourceEncoding::Gbk, u"' caf\uFFFD", 1},
        {"GBK text", "print \"\xC4\xE3\xBA\xC3\xCA\xC0\xBD\xE7\"", SourceEncoding::Gbk, u"print \"你好世界\"", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const DecodedSource source = decodeSource(c.bytes);
        EXPECT_EQ(source.encoding, c.encoding);
        EXPECT_EQ(utf8(source.text), utf8(c.text));
        EXPECT_EQ(source.replacements, c.replacements);
        EXPECT_EQ(source.roundTrips, c.replacements == 0);
    }
}

TEST(SourceText, LineEndsAreRememberedAndWrittenBack)
{
    struct Case {
        const char* bytes;
        LineEnds ends;
    };
    const Case cases[] = {
        {"a\r\nb\n", LineEnds::CrLf}, {"a\nb\r\n", LineEnds::Lf}, {"a\rb", LineEnds::Cr}, {"ab", LineEnds::CrLf},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.bytes);
        EXPECT_EQ(decodeSource(c.bytes).lineEnds, c.ends);
    }
    EXPECT_EQ(withLineEnds(u"a\r\nb\r\n", LineEnds::Lf), u"a\nb\n");
    EXPECT_EQ(withLineEnds(u"a\r\nb\r\n", LineEnds::Cr), u"a\rb\r");
    EXPECT_EQ(withLineEnds(u"a\r\nb", LineEnds::CrLf), u"a\r\nb");
}

TEST(SourceText, CleanFilesComeBackByteForByte)
{
    const std::string files[] = {
        "print 1\nprint 2\n",
        "print \"\xC4\xE3\xBA\xC3\"\r\n",
        "\xEF\xBB\xBFx = 1\r\n",
        std::string("\xFF\xFE" "a\0\r\0\n\0", 8),
        std::string("\xFE\xFF\0a\0\r", 6),
    };
    for (const std::string& bytes : files) {
        SCOPED_TRACE(bytes);
        const DecodedSource source = decodeSource(bytes);
        EXPECT_TRUE(source.roundTrips);
        EXPECT_TRUE(source.lossFree());
        EXPECT_EQ(encodeSource(withLineEnds(source.text, source.lineEnds), source.encoding), bytes);
    }
}

TEST(SourceText, MixedLineEndsDoNotComeBackAsTheyWere)
{
    // Only the first kind is written back, so saving would change the others.
    const DecodedSource source = decodeSource("a\nb\r\n");
    EXPECT_TRUE(source.roundTrips);
    EXPECT_NE(encodeSource(withLineEnds(source.text, source.lineEnds), source.encoding), "a\nb\r\n");
}

TEST(SourceText, NulsAndControlCharactersMarkABinaryFile)
{
    EXPECT_TRUE(decodeSource(std::string("ELF\0\0\0", 6)).binary);
    EXPECT_TRUE(decodeSource("a\x01\x02" "bcdefgh").binary);
    EXPECT_FALSE(decodeSource("print 1\t' \x0C\r\n").binary);
    EXPECT_FALSE(decodeSource(std::string(200, 'x') + "\x01").binary);
    EXPECT_FALSE(decodeSource(std::string(std::string("ELF\0", 4))).lossFree());
}

TEST(SourceText, ReadingAsAChosenEncoding)
{
    const DecodedSource gbkAsUtf8 = decodeSourceAs("\xC4\xE3", SourceEncoding::Utf8);
    EXPECT_EQ(gbkAsUtf8.encoding, SourceEncoding::Utf8);
    EXPECT_EQ(gbkAsUtf8.replacements, 2U);
    const DecodedSource utf8AsGbk = decodeSourceAs("\xE4\xBD\xA0\xE5\xA5\xBD", SourceEncoding::Gbk);
    EXPECT_EQ(utf8(utf8AsGbk.text), utf8(u"浣犲ソ"));
    EXPECT_TRUE(utf8AsGbk.roundTrips);
    const DecodedSource asUtf16 = decodeSourceAs(std::string("a\0b\0", 4), SourceEncoding::Utf16Le);
    EXPECT_EQ(asUtf16.text, u"ab");
    EXPECT_FALSE(asUtf16.roundTrips);  // writing it back adds the mark
}

TEST(SourceText, Utf16IsWrittenWithItsMarkAndRefusesALoneSurrogate)
{
    EXPECT_EQ(encodeSource(u"a\U00020000", SourceEncoding::Utf16Le), std::string("\xFF\xFE" "a\0@\xD8\0\xDC", 8));
    EXPECT_EQ(encodeSource(u"a", SourceEncoding::Utf16Be), std::string("\xFE\xFF\0a", 4));
    EXPECT_EQ(encodeSource(u"a\xDC00", SourceEncoding::Utf16Le), std::nullopt);
    EXPECT_EQ(encodeSource(u"\xD800" "a", SourceEncoding::Utf16Be), std::nullopt);
}

TEST(SourceText, TypedAnswersAreUtf8WhenValidAndGbkOtherwise)
{
    EXPECT_EQ(decodeTypedLine("\xE4\xBD\xA0\xE5\xA5\xBD"), u"你好");
    EXPECT_EQ(decodeTypedLine("\xC4\xE3\xBA\xC3"), u"你好");
    EXPECT_EQ(decodeTypedLine("42"), u"42");
}

}  // namespace
}  // namespace tarnik
