#include "base/Utf.h"

#include <gtest/gtest.h>

using namespace vormix;

TEST(Utf, RoundTripsChineseAndAstralText)
{
    struct Case {
        std::string utf8;
        std::u16string utf16;
    } cases[] = {
        {"", u""},
        {"abc", u"abc"},
        {"文件", u"文件"},
        {"生成命令 %d", u"生成命令 %d"},
        {"\xF0\x9F\x98\x80", u"\U0001F600"},
        {"a\xF0\x9F\x98\x80z", u"a\U0001F600z"},
        {"\xC2\xA9\xEF\xBF\xBF\xF4\x8F\xBF\xBF", u"\u00A9\uFFFF\U0010FFFF"},
        {std::string("a\0b", 3), std::u16string(u"a\0b", 3)},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Utf8ToUtf16(c.utf8), c.utf16) << c.utf8;
        EXPECT_EQ(Utf16ToUtf8(c.utf16), c.utf8);
        EXPECT_EQ(Utf16Length(c.utf8), c.utf16.size()) << c.utf8;
        EXPECT_TRUE(IsValidUtf8(c.utf8)) << c.utf8;
    }
}

TEST(Utf, MalformedUtf8BecomesReplacementCharacters)
{
    struct Case {
        const char* name;
        std::string utf8;
        std::u16string utf16;
    } cases[] = {
        {"stray continuation", "a\x80z", u"a\uFFFDz"},
        {"invalid lead bytes", "\xC0\xC1\xF5\xFF", u"\uFFFD\uFFFD\uFFFD\uFFFD"},
        {"overlong slash", "\xC0\xAF", u"\uFFFD\uFFFD"},
        {"overlong three bytes", "\xE0\x80\xAF", u"\uFFFD\uFFFD\uFFFD"},
        {"encoded surrogate", "\xED\xA0\x80", u"\uFFFD\uFFFD\uFFFD"},
        {"above U+10FFFF", "\xF4\x90\x80\x80", u"\uFFFD\uFFFD\uFFFD\uFFFD"},
        {"truncated at end", "\xE6\x96", u"\uFFFD"},
        {"truncated before ASCII", "\xF0\x9F\x98z", u"\uFFFDz"},
        {"truncated Chinese then Chinese", "\xE6\x96\xE6\x96\x87", u"\uFFFD文"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_FALSE(IsValidUtf8(c.utf8));
        EXPECT_EQ(Utf8ToUtf16(c.utf8), c.utf16);
        EXPECT_EQ(Utf16Length(c.utf8), c.utf16.size());
    }
}

TEST(Utf, UnpairedSurrogatesBecomeReplacementCharacters)
{
    const std::string fffd = "\xEF\xBF\xBD";
    EXPECT_EQ(Utf16ToUtf8(std::u16string(1, char16_t(0xD83D))), fffd);
    EXPECT_EQ(Utf16ToUtf8(std::u16string(1, char16_t(0xDE00))), fffd);
    EXPECT_EQ(Utf16ToUtf8(u"a" + std::u16string(1, char16_t(0xD83D)) + u"b"), "a" + fffd + "b");
    // Reversed pair: two lone surrogates, not one character.
    EXPECT_EQ(Utf16ToUtf8(std::u16string{char16_t(0xDE00), char16_t(0xD83D)}), fffd + fffd);
}

TEST(Utf, LengthCountsCodeUnitsNotBytes)
{
    EXPECT_EQ(Utf16Length("生成命令"), 4u); // 12 bytes
    EXPECT_EQ(Utf16Length("\xF0\x9F\x98\x80\xF0\x9F\x98\x80"), 4u); // two surrogate pairs
}
