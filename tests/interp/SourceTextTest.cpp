#include "interp/SourceText.h"

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
    EXPECT_EQ(fromUtf8("\xE4\xBD"), u"\uFFFD\uFFFD");
}

}  // namespace
}  // namespace tarnik
