// Which texts are valid UTF-16: every surrogate paired, high before low.
#include "common/utf16.h"

#include <gtest/gtest.h>

#include <QString>

namespace sorvenka {
namespace {

TEST(Utf16, EverySurrogateMustBeAHighOneDirectlyFollowedByALowOne) {
    struct Case {
        const char* name;
        std::u16string text;
        bool valid;
    };
    const Case cases[] = {
        {"empty", u"", true},
        {"ascii and Japanese", u"ベンチ 60kg", true},
        {"pair", u"a\U0001F600b", true},
        {"two pairs", u"\U0001F600\U00020BB7", true},
        {"high alone at the end", std::u16string(u"a") + char16_t(0xD800), false},
        {"high before a quote", std::u16string(1, char16_t(0xD800)) + u"' /*", false},
        {"low alone", std::u16string(u"a") + char16_t(0xDC00) + u"b", false},
        {"low before high", std::u16string{char16_t(0xDC00), char16_t(0xD800)}, false},
        {"two highs then a low",
         std::u16string{char16_t(0xD800), char16_t(0xD800), char16_t(0xDC00)}, false},
        {"pair then a low", std::u16string{char16_t(0xDBFF), char16_t(0xDFFF), char16_t(0xDFFF)},
         false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(IsValidUtf16(QStringView(c.text.data(), qsizetype(c.text.size()))), c.valid)
            << c.name;
}

}  // namespace
}  // namespace sorvenka
