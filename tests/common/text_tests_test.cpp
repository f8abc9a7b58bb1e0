// The three text tests that decide what an entry may hold, and the day test of the date field.
#include "common/text_tests.h"

#include <gtest/gtest.h>

namespace sorvenka {
namespace {

struct TextCase {
    const char16_t* text;
    bool accepted;
};

std::string Show(const char16_t* text) {
    return QString::fromUtf16(text).toStdString();
}

TEST(TextTests, DigitsTextIsOnlyAsciiDigits) {
    const TextCase cases[] =
        {
            {u"0", true},    {u"7", true},   {u"007", true},   {u"1234567890", true},
            {u"", false},    {u" 1", false}, {u"1 ", false},   {u"1.5", false},
            {u"-3", false},  {u"+3", false}, {u"１２", false}, {u"1a", false},
            {u"1,5", false}, {u"٣", false},  // Arabic-Indic three: a digit, but not ASCII
        };
    for (const TextCase& c : cases)
        EXPECT_EQ(IsDigitsText(QString::fromUtf16(c.text)), c.accepted) << Show(c.text);
}

TEST(TextTests, DecimalTextHoldsDigitsAndAtMostOnePoint) {
    const TextCase cases[] = {
        {u"12", true},     {u"12.5", true},   {u".5", true},   {u"5.", true},
        {u"0", true},      {u"102.5", true},  {u"", false},    {u".", false},
        {u"1.2.5", false}, {u"-3", false},    {u"1,5", false}, {u" 5", false},
        {u"5 ", false},    {u"１.５", false}, {u"..5", false}, {u"e5", false},
    };
    for (const TextCase& c : cases)
        EXPECT_EQ(IsDecimalText(QString::fromUtf16(c.text)), c.accepted) << Show(c.text);
}

TEST(TextTests, TimeTextIsEightCharactersOfAValidTimeOfDay) {
    const TextCase cases[] = {
        {u"08:10:20", true},
        {u"00:00:00", true},
        {u"23:59:59", true},
        {u"8:10:20", false},    // seven characters
        {u"24:00:00", false},   // hour out of range
        {u"08:60:00", false},   // minute out of range
        {u"08:00:60", false},   // second out of range
        {u"08-10-20", false},   // wrong separators
        {u"08:10", false},      // too short
        {u"08:10:20 ", false},  // too long
        {u"", false},
        // Fields that sort between the bounds as text but hold no digits are refused:
        // every text that passes must be a time of day from which a duration can be made.
        {u"1x:00:00", false},
        {u"0::00:00", false},
        {u"00:4A:00", false},
        {u"00:00:5 ", false},
        {u"０８:10:20", false},
    };
    for (const TextCase& c : cases)
        EXPECT_EQ(IsTimeText(QString::fromUtf16(c.text)), c.accepted) << Show(c.text);
}

TEST(TextTests, ValidYmdNamesARealDayInTheSlashForm) {
    const TextCase cases[] = {
        {u"2021/04/01", true},  {u"2024/02/29", true},  {u"0001/01/01", true},
        {u"2023/02/29", false},  // no leap day that year
        {u"2021/04/31", false}, {u"2021/13/01", false}, {u"2021/00/10", false},
        {u"2021/4/1", false},   {u"2021-04-01", false}, {u"2021/04/01 ", false},
        {u"", false},           {u"0000/01/01", false}, {u"2021/03/00", false},
        {u"abcd/ef/gh", false}, {u"2021/04/0'", false},
    };
    for (const TextCase& c : cases)
        EXPECT_EQ(IsValidYmd(QString::fromUtf16(c.text)), c.accepted) << Show(c.text);
}

}  // namespace
}  // namespace sorvenka
