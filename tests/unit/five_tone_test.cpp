#include "signalling/five_tone.h"

#include <gtest/gtest.h>

#include "document_builder.h"

namespace qx {
namespace {

TEST(Make5ToneE, RepeatedDigitsBecomeE) {
    for (const auto& [input, expected] : std::vector<std::pair<std::string, std::string>>{
             {"", ""},
             {"1", "1"},
             {"11", "1E"},
             {"111", "1E1"},
             {"1233345", "123E345"},
             {"E0AAAAA", "E0AEAEA"},
             {"1E1", "1E1"},  // already encoded: unchanged
             // The message of an "E1" code (ninth character on) is never encoded.
             {"E112345E4142", "E1E2345E4142"},
             {"E112345E4444", "E1E2345E4444"},
             {"E212345E4444", "E212345E4E4E"},
         }) {
        EXPECT_EQ(Make5ToneE(input), expected) << input;
    }
}

TEST(Mid5ToneNoE, EStandsForTheCharacterBefore) {
    EXPECT_EQ(Mid5ToneNoE("E3123E5", 3, 5), "12335");
    EXPECT_EQ(Mid5ToneNoE("E1E2345E4142", 3, 5), "12345");
    EXPECT_EQ(Mid5ToneNoE("E31", 3, 5), "1");   // past the end: nothing
    EXPECT_EQ(Mid5ToneNoE("E12", 1, 2), "E1");  // a leading E stays
    EXPECT_EQ(Mid5ToneNoE("123", 0, 2), "1");   // position 0 does not exist
}

TEST(FiveToneStandards, TableHoldsTheTextsAsShown) {
    EXPECT_EQ(
        FiveToneStandardNames(),
        (std::vector<std::string>{"ZVEI1", "ZVEI2", "ZVEI3", "PZVEI", "DZVEI", "PDZVEI", "CCIR1",
                                  "CCIR2", "PCCIR", "EEA", "EURO SIGNAL", "NATEL", "MODAT"}));
    const auto& standards = FiveToneStandards();
    EXPECT_STREQ(standards[4].digits[10], "825/885");
    EXPECT_STREQ(standards[5].digits[11], "886");
    EXPECT_STREQ(standards[5].digits[13], "856");
    EXPECT_STREQ(standards[10].digits[5], "652.0");
    EXPECT_STREQ(standards[2].digits[11], "");
    EXPECT_STREQ(standards[12].digits[14], "487.5");
    const std::vector<int> defaultMs = {70, 70, 70, 70, 70, 70, 100, 70, 100, 40, 100, 70, 40};
    for (std::size_t i = 0; i < standards.size(); ++i) {
        EXPECT_EQ(standards[i].defaultMs, defaultMs[i]) << standards[i].name;
    }
}

TEST(ShowStandardTable, ListsEveryDigitOfTheStandard) {
    const FiveToneTexts texts = FiveToneTexts::From(test::EnglishTexts());
    EXPECT_EQ(ShowStandardTable("EURO SIGNAL", texts),
              "EURO SIGNAL\r\nDigit Frequency(Hz)\r\n"
              "0 979.8\r\n1 903.1\r\n2 832.5\r\n3 767.4\r\n4 707.4\r\n5 652.0\r\n6 601.0\r\n"
              "7 554.0\r\n8 510.7\r\n9 470.8\r\nA \r\nB \r\nC \r\nD \r\nE 1062.9\r\nF \r\n"
              "Tone Time(ms) 100\r\nGroup Digit A\r\nRepeat Digit E\r\n");
    EXPECT_EQ(ShowStandardTable("NOPE", texts), "NOPE\r\nDigit Frequency(Hz)\r\n");
}

TEST(FiveToneCodeDisplay, SpecialCallsShowTheirKind) {
    const FiveToneTexts texts = FiveToneTexts::From(test::EnglishTexts());
    struct Case {
        const char* code;
        std::string kind;
        std::string shown;
    };
    for (const Case& c : {
             Case{"E1E2345E4142", "Message Call", "12345        Msg:AB"},
             Case{"E1E2345E", "Message Call", "12345        Msg:"},
             Case{"E1E2345", "", "E1E2345"},  // too short for a message call
             Case{"E2E2345", "Emergency Call", ""},
             Case{"E2SelfID", "Emergency Call", ""},
             Case{"E0AEAEA", "All Call", ""},
             Case{"E0AAAAA", "All Call", ""},
             Case{"E0ABCDE", "", "E0ABCDE"},
             Case{"E3123E5", "ANI", "12335"},
             Case{"E412345", "Stun", "12345"},
             Case{"E512345", "Revive", "12345"},
             Case{"E51234", "", "E51234"},
             Case{" 1E23 ", "", "1E23"},
             Case{"E", "", "E"},
         }) {
        const FiveToneCodeView view = FiveToneCodeDisplay(c.code, texts);
        EXPECT_EQ(view.kind, c.kind) << c.code;
        EXPECT_EQ(view.code, c.shown) << c.code;
    }
}

}  // namespace
}  // namespace qx
