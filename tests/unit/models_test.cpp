#include "codeplug/models.h"

#include <gtest/gtest.h>

#include <set>

#include "util/numbers.h"

namespace qx {
namespace {

bool InRx(int model, const char* f) { return ModelAt(model)->rx.Contains(*ParseDecimal(f)); }
bool InTx(int model, const char* f) { return ModelAt(model)->tx.Contains(*ParseDecimal(f)); }

TEST(ModelTable, ThirtyTwoModelsWithBandsFromTheirDisplayTexts) {
    ASSERT_EQ(ModelTable().size(), 32u);
    EXPECT_EQ(ModelTable()[0].displayText, "NORVA_AT:Rx(26-45.9950) Tx(26-45.9950)");
    EXPECT_EQ(ModelTable()[31].displayText, "NORVA_DTAD:Rx(400-429.9950) Tx(400-429.9950)");
    EXPECT_EQ(ModelTable()[2].name, "NORVA_AE");
    EXPECT_EQ(ModelTable()[2].rx.RangeText(), "\"136 - 173.9950\"");
    EXPECT_EQ(ModelTable()[2].tx.RangeText(), "\"144 - 145.9950\"");
    EXPECT_EQ(ModelTable()[0].rx.RangeText(), "\"26 - 45.9950\"");
    EXPECT_EQ(ModelTable()[8].tx.highText, "245.9875");
    std::set<std::string> codes;
    for (const auto& m : ModelTable()) codes.insert(m.modelCode);
    EXPECT_EQ(codes.size(), 32u) << "every model code is distinct";
}

TEST(ModelTable, CodesFollowBandEditionAndSeries) {
    // first byte band (A 33, B 66, C CC, D 99), second edition (55 plain, AA "D"),
    // third series (T 33, E 66, J CC, TA 99)
    for (const auto& m : ModelTable()) {
        const char band = m.name[6];
        const std::string bandCode = band == 'A'   ? "33"
                                     : band == 'B' ? "66"
                                     : band == 'C' ? "CC"
                                                   : "99";
        EXPECT_EQ(m.modelCode.substr(0, 2), bandCode) << m.name;
        const bool dEdition = m.name.back() == 'D';
        EXPECT_EQ(m.modelCode.substr(2, 2), dEdition ? "AA" : "55") << m.name;
        const std::string series = m.name.substr(7, m.name.size() - 7 - (dEdition ? 1 : 0));
        const std::string seriesCode = series == "T"   ? "33"
                                       : series == "E" ? "66"
                                       : series == "J" ? "CC"
                                                       : "99";
        EXPECT_EQ(m.modelCode.substr(4, 2), seriesCode) << m.name;
    }
}

TEST(ModelTable, BandLimitsAreInclusive) {
    EXPECT_TRUE(InRx(2, "136"));
    EXPECT_TRUE(InRx(2, "173.9950"));
    EXPECT_FALSE(InRx(2, "173.9951"));
    EXPECT_FALSE(InRx(2, "135.9999"));
    EXPECT_TRUE(InRx(9, "220"));
    EXPECT_TRUE(InRx(9, "259.9950"));
    EXPECT_FALSE(InRx(9, "219.9990"));
    EXPECT_FALSE(InRx(9, "260"));
    EXPECT_TRUE(InRx(2, "150"));
    EXPECT_FALSE(InTx(2, "150"));
    EXPECT_TRUE(InTx(8, "245.9875"));
    EXPECT_FALSE(InTx(8, "245.9876"));
    EXPECT_TRUE(InRx(0, "26"));
    EXPECT_TRUE(InRx(28, "511.9950"));
}

TEST(ModelTable, DefaultFrequencies) {
    const std::pair<int, const char*> cases[] = {
        {0, "27.0000"},   {1, "27.0000"},   {2, "145.0000"},  {7, "145.0000"},  {8, "223.0000"},
        {9, "245.5000"},  {10, "250.0000"}, {13, "250.0000"}, {14, "223.5000"}, {15, "223.5000"},
        {16, "350.0000"}, {23, "350.0000"}, {24, "435.0000"}, {25, "445.0000"}, {26, "435.0000"},
        {27, "435.0000"}, {28, "440.0000"}, {29, "450.0000"}, {30, "420.0000"}, {31, "415.0000"},
        {-1, ""},         {32, ""}};
    for (const auto& [model, frequency] : cases) {
        EXPECT_EQ(DefaultFrequency(model), frequency) << "model " << model;
    }
    EXPECT_EQ(ModelAt(-1), nullptr);
    EXPECT_EQ(ModelAt(32), nullptr);
}

}  // namespace
}  // namespace qx
