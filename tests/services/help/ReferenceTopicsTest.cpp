#include "services/help/ReferenceTopics.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "support/TestSupport.h"

namespace tarnik {
namespace {

using test::utf8;

struct TopicCase {
    std::u16string_view line;
    std::size_t column;
    const char* topic;
};

TEST(ReferenceTopics, WordUnderTheCaretOpensItsEntry)
{
    const TopicCase cases[] = {
        {u"Print x", 0, "statements.html#print"},
        {u"Print x", 3, "statements.html#print"},
        {u"Print x", 5, "statements.html#print"},          // right after the word
        {u"    INPUT n", 6, "statements.html#input"},
        {u"For i = 1 To 10 Step 2", 11, "statements.html#for"},
        {u"For i = 1 To 10 Step 2", 18, "statements.html#for"},
        {u"Next", 2, "statements.html#for"},
        {u"If a > b Then", 10, "statements.html#if"},
        {u"ElseIf a Then", 1, "statements.html#if"},
        {u"End If", 1, "statements.html#if"},
        {u"End Select", 0, "statements.html#select"},
        {u"End", 1, "statements.html#end"},
        {u"Exit For", 2, "statements.html#exit-for"},
        {u"Exit  Do", 2, "statements.html#exit-do"},
        {u"Do While x < 3", 0, "statements.html#do-while"},
        {u"Do", 1, "statements.html#loop-until"},
        {u"Loop Until x > 3", 2, "statements.html#loop-until"},
        {u"Loop Until x > 3", 7, "statements.html#loop-until"},
        {u"Loop", 4, "statements.html#do-while"},
        {u"While x", 2, "statements.html#do-while"},
        {u"Wend", 0, "statements.html#do-while"},
        {u"Select Case x", 8, "statements.html#select"},
        {u"Case Else", 1, "statements.html#select"},
        {u"Goto 100", 1, "statements.html#goto"},
        {u"Gosub 100", 1, "statements.html#gosub"},
        {u"Return", 6, "statements.html#gosub"},
        {u"Stop", 0, "statements.html#stop"},
        {u"x = 7 Mod 3", 7, "expressions.html#operators"},
        {u"y = sqr(x)", 5, "expressions.html#operators"},
        {u"total = 0", 2, "index.html"},                  // a variable
        {u"x = 1", 2, "index.html"},                      // not on a word
        {u"", 0, "index.html"},
        {u"Print x", 40, "index.html"},                   // past the end, after a variable
    };
    for (const TopicCase& c : cases) {
        SCOPED_TRACE(utf8(c.line) + " @" + std::to_string(c.column));
        EXPECT_EQ(utf8(referenceTopicAt(c.line, c.column)), c.topic);
    }
}

// Every topic names an anchor that its page has.
TEST(ReferenceTopics, EveryTopicExistsInTheReference)
{
    for (std::u16string_view word : {u"print", u"input", u"if", u"end if", u"end select", u"end", u"exit for",
                                     u"exit do", u"do while", u"do", u"loop until", u"loop", u"select", u"goto",
                                     u"gosub", u"stop", u"for", u"mod"}) {
        const std::string topic = utf8(referenceTopicAt(word, 0));
        SCOPED_TRACE(topic);
        const std::size_t hash = topic.find('#');
        ASSERT_NE(hash, std::string::npos);
        std::ifstream page(std::filesystem::path(TARNIK_HELP_DIR) / topic.substr(0, hash), std::ios::binary);
        std::stringstream text;
        text << page.rdbuf();
        EXPECT_NE(text.str().find("id=\"" + topic.substr(hash + 1) + "\""), std::string::npos);
    }
}

}  // namespace
}  // namespace tarnik
