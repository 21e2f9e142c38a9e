#include "util/numbers.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <sstream>

#include "comma_locale.h"
#include "util/text.h"

namespace qx {
namespace {

TEST(CommaLocale, TheSuiteReallyRunsUnderADecimalComma) {
    if (!test::CommaLocaleActive()) GTEST_SKIP() << "de_DE.UTF-8 not installed";
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%.1f", 1.5);
    EXPECT_STREQ(buffer, "1,5");  // the C library follows the comma locale here...
    std::ostringstream stream;
    stream << 1.5;
    EXPECT_EQ(stream.str(), "1,5");  // ...and so do streams
}

TEST(Numbers, NumericTexts) {
    struct Case {
        const char* text;
        bool numeric;
    };
    const Case cases[] = {
        {"145.0125", true}, {"145", true},       {" 145.5 ", true}, {".5", true},
        {"145.", true},     {"-3", true},        {"+3.25", true},   {"", false},
        {"---", false},     {"145,0125", false}, {"1e3", false},    {"14 5", false},
        {".", false},       {"abc", false},      {"1.2.3", false},  {"-", false},
    };
    for (const auto& c : cases) EXPECT_EQ(IsNumeric(c.text), c.numeric) << c.text;
}

TEST(Numbers, ParseDecimalIsExact) {
    EXPECT_EQ(ParseDecimal("173.9950")->units, 173'995'000'000'000);
    EXPECT_EQ(ParseDecimal("0.00001")->units, 10'000'000);
    EXPECT_EQ(ParseDecimal("-1.5")->units, -1'500'000'000'000);
    EXPECT_LT(*ParseDecimal("173.9950"), *ParseDecimal("173.9951"));
    EXPECT_FALSE(ParseDecimal("99999999999"));  // beyond any frequency
    EXPECT_FALSE(ParseDecimal("145,5"));
}

TEST(Numbers, FormatScaledUsesAPointWhateverTheLocale) {
    EXPECT_EQ(FormatScaled(14501250, 5), "145.01250");
    EXPECT_EQ(FormatScaled(833, 5), "0.00833");
    EXPECT_EQ(FormatScaled(-100000, 5), "-1.00000");
    EXPECT_EQ(FormatScaled(42, 0), "42");
}

TEST(Numbers, ParseIntegerAndDouble) {
    EXPECT_EQ(ParseInteger(" 42 "), 42);
    EXPECT_EQ(ParseInteger("-7"), -7);
    EXPECT_FALSE(ParseInteger("4x"));
    EXPECT_FALSE(ParseInteger(""));
    EXPECT_DOUBLE_EQ(*ParseDouble("12.5"), 12.5);
    EXPECT_FALSE(ParseDouble("12,5"));
}

TEST(Text, TrimSplitAndCase) {
    EXPECT_EQ(Trim("  a b \t\r\n"), "a b");
    EXPECT_EQ(Split("a||b", '|'), (std::vector<std::string>{"a", "", "b"}));
    EXPECT_EQ(Split("", '|'), (std::vector<std::string>{""}));
    EXPECT_TRUE(EqualsIgnoreCase("CurrentLanguage", "currentlanguage"));
    EXPECT_FALSE(EqualsIgnoreCase("abc", "abd"));
}

}  // namespace
}  // namespace qx

namespace qx {
namespace {

TEST(Text, PlaceholdersAreFilledOnceEach) {
    EXPECT_EQ(FillPlaceholders("%2 then %1", {"a", "b"}), "b then a");
    EXPECT_EQ(FillPlaceholders("%1%1", {"x"}), "xx");
    EXPECT_EQ(FillPlaceholders("%1 and %3", {"%2", "y"}), "%2 and %3") << "values are not searched";
    EXPECT_EQ(FillPlaceholders("100%", {"x"}), "100%");
}

}  // namespace
}  // namespace qx
