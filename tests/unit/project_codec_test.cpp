#include "files/project_codec.h"

#include <gtest/gtest.h>

#include <functional>
#include <random>

#include "codeplug/defaults.h"
#include "codeplug/option_fields.h"
#include "files/ton_file.h"
#include "project_records.h"

namespace qx {

void PrintTo(const Problem& problem, std::ostream* os) {
    *os << "{row " << problem.row << ", " << problem.field << ": " << problem.message << "}";
}
void PrintTo(const ProjectFiles& files, std::ostream* os) {
    *os << files.qx.size() << " + " << files.ton.size() << " bytes";
}

namespace {

using test::GoldenProject;
using test::GoldenWith;
using test::Joined;
using test::kRecordEnd;
using test::Records;
using Change = test::RecordChange;

std::vector<std::uint8_t> GoldenTon() { return test::GoldenTonBytes(); }

Frequency Mhz(const char* text) { return *Frequency::Parse(text); }

// A codeplug unlike a new one, to read files over.
Codeplug Base() {
    Codeplug c = NewCodeplug(10);
    PutInUse(c.Memory(5), 10);
    c.Memory(5).name = "CH";
    c.Memory(5).signal = {SignalKind::FiveTone, 3, 1};
    c.Memory(49).signal.code = 9;  // a blank row's code
    c.CallChannel().signal = {SignalKind::None, 4, 0};
    c.options.mrNumber = 7;
    c.autoDialer.entries[0] = "123";
    c.signalling.fiveTone.selfId = "54";
    return c;
}

// Any value the file can hold, anywhere.
Codeplug RandomCodeplug(std::mt19937& rng, int model) {
    const auto pick = [&](int n) { return static_cast<int>(rng() % static_cast<unsigned>(n)); };
    const auto code = [&]() -> std::optional<std::uint8_t> {
        if (pick(3) == 0) return std::nullopt;
        return static_cast<std::uint8_t>(pick(256));
    };
    const std::vector<std::string> names = {"",    "CH1", " A B ", "\xC3\x9C\xE6\x97\xA5",
                                            "DEF", "(+-)"};
    Codeplug c = NewCodeplug(model);
    for (int row = 1; row <= kRowCount; ++row) {
        Channel ch;
        ch.blank = row < kCallRow && pick(3) == 0;
        if (!ch.blank) {
            ch.inUse = row >= kCallRow || pick(2) == 0;
            ch.name = names[static_cast<std::size_t>(pick(6))];
            ch.step = *StepAt(pick(kStepCount));
            ch.rx = Frequency::FromHz(pick(600'000'000), pick(7));
            ch.tx = Frequency::FromHz(pick(600'000'000), pick(7));
            ch.rxTone = pick(2) ? Tone::Ctcss(pick(50)) : Tone::Dcs(pick(233));
            ch.txTone = pick(3) ? Tone::Dcs(pick(233)) : Tone();
            ch.bandwidth = pick(2) ? Bandwidth::Wide : Bandwidth::Narrow;
            for (bool* on : {&ch.pacMode, &ch.dcsDetect, &ch.scanSkip, &ch.bcl, &ch.ani, &ch.shift})
                *on = pick(2);
            ch.priority = pick(4) ? Priority::OfChannel(pick(100))
                                  : Priority::Of(static_cast<Priority::Kind>(pick(6)));
            ch.signal.kind = static_cast<SignalKind>(pick(kSignalKindCount));
        }
        ch.signal.code = code();
        ch.signal.subCode = code();
        c.Row(row) = ch;
    }
    for (int field = 1; field <= kOptionFieldCount; ++field) {
        while (!SetOptionIndex(c.options, field, pick(256))) {
        }
    }
    for (std::string& entry : c.autoDialer.entries)
        entry = std::string(pick(17), "0123456789ABCD*#-"[pick(17)]);
    c.signalling.twoTone.codes[static_cast<std::size_t>(pick(100))] = {1, 2, 3, 4, 5, 6};
    c.signalling.fiveTone.codes[static_cast<std::size_t>(pick(100))].code = "1E2";
    return c;
}

ProjectFiles Encoded(const Codeplug& codeplug) {
    const ProjectEncoding encoding = EncodeProject(codeplug);
    EXPECT_TRUE(encoding.problems.empty()) << encoding.problems.front().message;
    return encoding.files;
}

TEST(ProjectCodec, ANewCodeplugEncodesAsTheGoldenFileAndDecodesBackFromIt) {
    const ProjectFiles files = Encoded(NewCodeplug(3));
    EXPECT_EQ(files.qx, GoldenProject());
    EXPECT_EQ(files.ton, EncodeTonRecord(SignallingSettings{}));

    const Codeplug base = Base();
    for (const std::string end : {"\r\r\n", "\r\n", "\n", "\r", "\n\n\r\n"}) {
        const ProjectDecoding decoding =
            DecodeProject(Joined(Records(GoldenProject()), end), {}, base);
        EXPECT_EQ(decoding.status, ProjectReadStatus::Read);
        EXPECT_EQ(decoding.error, "");
        EXPECT_EQ(decoding.codeplug, NewCodeplug(3)) << "line end of " << end.size() << " bytes";
    }
}

TEST(ProjectCodec, TheCompanionIsReadWholeOrGivesTheDefaultSignalling) {
    const std::vector<std::uint8_t> ton = GoldenTon();
    const SignallingSettings golden = *DecodeTonRecord(ton);
    EXPECT_EQ(golden.fiveTone.selfId, "987");
    std::vector<std::uint8_t> longer = ton;
    longer.insert(longer.end(), 50, 0x7f);
    const std::vector<std::uint8_t> shorter(ton.begin(), ton.end() - 1);
    for (const auto& [companion, whole] : std::vector<std::pair<std::vector<std::uint8_t>, bool>>{
             {ton, true}, {longer, true}, {shorter, false}, {{}, false}}) {
        const Codeplug decoded = DecodeProject(GoldenProject(), companion, Base()).codeplug;
        EXPECT_EQ(decoded.signalling, whole ? golden : SignallingSettings{}) << companion.size();
    }
    Codeplug codeplug = NewCodeplug(3);
    codeplug.signalling = golden;
    EXPECT_EQ(Encoded(codeplug).ton, ton);
}

TEST(ProjectCodec, RandomCodeplugsOfEveryModelRoundTrip) {
    std::mt19937 rng(11);
    for (int i = 0; i < 200; ++i) {
        const Codeplug source = RandomCodeplug(rng, i % 33 - 1);
        const ProjectFiles files = Encoded(source);
        const ProjectDecoding decoding = DecodeProject(files.qx, files.ton, Base());
        ASSERT_EQ(decoding.status, ProjectReadStatus::Read) << decoding.error;
        ASSERT_EQ(decoding.codeplug, source) << "codeplug " << i;
        ASSERT_EQ(Encoded(decoding.codeplug), files) << "codeplug " << i;
    }
}

TEST(ProjectCodec, RowsAreWrittenByTheirState) {
    Channel inUse = DefaultChannel(3);
    inUse.inUse = true;
    inUse.name = "   ";
    Channel notInUse = inUse;
    notInUse.inUse = false;
    notInUse.name = "N1";
    notInUse.signal.code = 0;
    Channel blank;
    blank.Clear();
    Channel blankWithCodes = blank;
    blankWithCodes.signal = {SignalKind::None, 12, 3};
    Channel blankInUse = blank;
    blankInUse.inUse = true;
    const std::string defaults =
        "12.5|145.0000|off|wide|off|off|off|off|145.0000|off|off|off|off|None|";
    const std::string allDef = "def|def|def|def|def|def|def|def|def|def|def|def|def|def|def|";
    struct Case {
        int row;
        Channel channel;
        std::string record;
    };
    for (const Case& c : {Case{1, inUse, "0|Active|def|" + defaults + "||"},
                          Case{5, notInUse, "4|Inactive|N1|" + defaults + "0|def|"},
                          Case{100, blank, "99|Inactive|" + allDef + "def|def|"},
                          Case{kPhRow, blankWithCodes, "101|Inactive|" + allDef + "12|3|"},
                          Case{2, blankInUse, "1|Active|" + allDef + "||"},
                          Case{kCallRow, notInUse, "C|def|N1|" + defaults + "0||"},
                          Case{kVfoRow, inUse, "V|def|def|" + defaults + "||"}}) {
        Codeplug codeplug = NewCodeplug(3);
        codeplug.Row(c.row) = c.channel;
        EXPECT_EQ(Records(Encoded(codeplug).qx).at(static_cast<std::size_t>(c.row - 1)), c.record);
    }
}

TEST(ProjectCodec, RecordsAreReadByStatusAndDefFieldsTakeTheFinalModelsDefaults) {
    const Codeplug base = Base();
    const std::string narrowN1 =
        "|N1|12.5|145.0000|off|narrow|off|off|off|off|145.0000|off|off|off|off|None|5|def|";
    for (const std::string status : {"Active", "active", "ACTIVE", "Active ", "def"}) {
        const Codeplug decoded =
            DecodeProject(GoldenWith([&](auto& r) { r[0] = "0|" + status + narrowN1; }), {}, base)
                .codeplug;
        EXPECT_EQ(decoded.Row(1).inUse, status == "Active") << status;
        EXPECT_EQ(decoded.Row(1).name, "N1");
        EXPECT_EQ(decoded.Row(1).bandwidth, Bandwidth::Narrow);
        EXPECT_EQ(decoded.Row(1).signal.code, 5);
        EXPECT_EQ(decoded.Row(1).signal.subCode, std::nullopt);
    }

    // An empty field or one of spaces is a blank cell: the default, as "def" is.
    const std::string partly =
        "4|Inactive|  |def|146.5000|def||def|def|def|def|def|def|def|def|def|def|7||";
    const std::string blank =
        "7|Inactive| |def||def|def|def|def|def|def|def|def|def|def|def|def|3|4|";
    const std::string allDef =
        "Active|def|def|def|def|def|def|def|def|def|def|def|def|def|def|def|def|def|";
    const auto decode = [&](const Change& change) {
        const ProjectDecoding d = DecodeProject(GoldenWith(change), {}, base);
        EXPECT_EQ(d.status, ProjectReadStatus::Read) << d.error;
        return d.codeplug;
    };
    for (const bool withModel : {true, false}) {
        const int model = withModel ? 20 : base.model;
        const Codeplug decoded = decode([&](auto& r) {
            r[4] = partly;
            r[5] = "5|" + allDef;
            r[7] = blank;
            r[102] = "x|Inactive|CALL|" + std::string(allDef).substr(11);
            r[106] = "20|";
            if (!withModel) r.pop_back();
        });
        Channel expected = DefaultChannel(model);
        expected.rx = Mhz("146.5000");
        expected.signal.code = 7;
        EXPECT_EQ(decoded.Row(5), expected) << "a row not in use with some def fields is not blank";
        expected = DefaultChannel(model);
        expected.inUse = true;
        EXPECT_EQ(decoded.Row(6), expected) << "an all-def row in use takes the defaults";
        EXPECT_TRUE(decoded.Row(8).blank);
        EXPECT_EQ(decoded.Row(8).signal, (ChannelSignal{SignalKind::None, 3, 4}));
        expected.name = "CALL";
        EXPECT_EQ(decoded.CallChannel(), expected) << "the call channel is always in use";
        EXPECT_EQ(decoded.model, model);
    }
}

TEST(ProjectCodec, AShortFileReplacesOnlyTheRowsItReaches) {
    Codeplug base = Base();
    for (int row = 2; row <= 60; ++row) {
        PutInUse(base.Row(row), base.model);
        base.Row(row).name = "K" + std::to_string(row);
    }
    const ProjectDecoding decoding =
        DecodeProject(GoldenWith([](auto& r) { r.resize(50); }), GoldenTon(), base);
    ASSERT_EQ(decoding.status, ProjectReadStatus::Read);
    Codeplug expected = base;
    for (int row = 1; row <= 50; ++row) expected.Row(row) = NewCodeplug(3).Row(row);
    expected.signalling = *DecodeTonRecord(GoldenTon());
    EXPECT_EQ(decoding.codeplug, expected);
}

TEST(ProjectCodec, EveryFailureSaysWhyAndWhatItLeaves) {
    const std::string golden = GoldenProject();
    const Codeplug base = Base();
    const Codeplug cleared = NewCodeplug(10);  // nothing of the base stays
    Codeplug tooLarge = base;
    tooLarge.signalling = *DecodeTonRecord(GoldenTon());

    const auto set = test::SetRecord;
    const auto malformed = test::MalformedRecord;
    const auto sized = test::SizedTo;
    // Record 6 with one field replaced.
    const auto field = [](int n, const std::string& text) -> Change {
        return [=](auto& r) {
            std::vector<std::string> pieces = {
                "5",   "Active",   "def", "5",   "145.0000", "off", "wide", "off", "off", "off",
                "off", "145.0000", "off", "off", "off",      "off", "None", "",    ""};
            pieces[static_cast<std::size_t>(n)] = text;
            std::string record;
            for (const std::string& piece : pieces) record += piece + "|";
            r[5] = record;
        };
    };
    struct Case {
        Change change;
        ProjectReadStatus status;
        std::string error;
        const Codeplug* left = nullptr;  // nullptr: read
    };
    using S = ProjectReadStatus;
    std::vector<Case> cases = {
        {sized(kMaxProjectBytes), S::Read, ""},
        {sized(kMaxProjectBytes + 1), S::TooLarge, "", &tooLarge},
        {malformed(104, "setup|Frequency|VFO"), S::BadOptionRecord, "", &cleared},
        {malformed(104, OptionsRecord(RadioOptions{}) + "|x"), S::BadOptionRecord, "", &cleared},
        {malformed(105, "Ad||||||||"), S::BadAutoDialerRecord, "", &cleared},
        {malformed(105, "Ad|||||||||||"), S::BadAutoDialerRecord, "", &cleared},
        {set(11, "11|Inactive|def"), S::Invalid, "record 12 has 3 fields where 19 are needed",
         &base},
        {set(103, "V|def|def|12.5|145.0000|off"), S::Invalid,
         "record 104 has 6 fields where 19 are needed", &base},
        {[](auto& r) {
             r[40] = "40|Active";
             r[104] = "setup";
         },
         S::Invalid, "record 41 has 2 fields where 19 are needed", &base},
        {[=](auto& r) {
             field(3, "12.50")(r);
             r[104] = "setup";
         },
         S::Invalid, "record 6, field 3: \"12.50\" is not a step", &base},
        {[](auto& r) { r.push_back("x"); }, S::Invalid, "it holds more than 107 records", &base},
        {set(104, OptionsRecord(RadioOptions{}).replace(6, 9, "Maybe")), S::Invalid,
         "record 105, field 1 holds \"Maybe\", which is not one of its values", &base},
        {set(105, "Ad|1|2|3|4|5|6|7|8|9|x"), S::Invalid,
         "record 106, field 10: \"x\" follows the last memory", &base},
    };
    for (const std::string model : {"45", "32", "-2", "3.5", ""}) {
        cases.push_back({set(106, model + "|"), S::Invalid,
                         "record 107 holds the model index \"" + model +
                             "\", which is not a whole number from -1 to 31",
                         &base});
    }
    struct BadField {
        int n;
        std::string text;
        std::string kind;
    };
    for (const BadField& f :
         {BadField{3, "7", "a step"}, BadField{4, " 145", "a frequency"},
          BadField{4, "abc", "a frequency"}, BadField{11, "145,5", "a frequency"},
          BadField{5, "C:88.6", "a tone"}, BadField{12, "Off", "a tone"},
          BadField{6, "Wide", "\"wide\" or \"narrow\""}, BadField{7, "ON", "\"on\" or \"off\""},
          BadField{15, "1", "\"on\" or \"off\""}, BadField{10, "100", "a priority"},
          BadField{16, "5tone", "an option signal"}, BadField{17, "256", "a code from 0 to 255"},
          BadField{18, "-1", "a code from 0 to 255"}, BadField{18, "x", "a code from 0 to 255"}}) {
        cases.push_back(
            {field(f.n, f.text), S::Invalid,
             "record 6, field " + std::to_string(f.n) + ": \"" + f.text + "\" is not " + f.kind,
             &base});
    }
    for (const Case& c : cases) {
        const ProjectDecoding decoding = DecodeProject(GoldenWith(c.change), GoldenTon(), base);
        EXPECT_EQ(decoding.status, c.status) << c.error;
        EXPECT_EQ(decoding.error, c.error);
        if (c.left != nullptr) {
            EXPECT_EQ(decoding.codeplug, *c.left) << c.error;
        }
    }
    for (const std::string model : {"-1", "31"}) {
        const ProjectDecoding decoding = DecodeProject(GoldenWith(set(106, model + "|")), {}, base);
        EXPECT_EQ(decoding.status, S::Read);
        EXPECT_EQ(decoding.codeplug.model, std::stoi(model));
    }
}

TEST(ProjectCodec, WhatTheFileCannotStoreIsAProblemAndNothingIsWritten) {
    struct Case {
        std::function<void(Codeplug&)> change;
        Problem problem;
    };
    const std::string breaks = " holds \"|\" or a line break, which a project file cannot store";
    const Case cases[] = {
        {[](Codeplug& c) {
             c.Memory(5) = DefaultChannel(3);  // not in use, not blank
             c.Memory(5).name = "A|B";
         },
         {6, "Name", "Channel 5: the name \"A|B\"" + breaks}},
        {[](Codeplug& c) { c.CallChannel().name = "A\rB"; },
         {kCallRow, "Name", "Call channel: the name \"A\rB\"" + breaks}},
        {[](Codeplug& c) {
             PutInUse(c.Pl(), 3);
             c.Pl().name = "\n";
         },
         {kPlRow, "Name", "PL: the name \"\n\"" + breaks}},
        {[](Codeplug& c) { c.Memory(0).name = "def"; },
         {1, "Name", "Channel 0: the name \"def\" would be read back as no name"}},
        {[](Codeplug& c) { c.autoDialer.entries[8] = "1|2"; },
         {0, "Auto dialer", "auto-dialer memory 9" + breaks}},
        {[](Codeplug& c) { c.options.txPower = static_cast<TxPower>(3); },
         {0, "Option record", "option field 5 holds 3, which is not one of its values"}},
        {[](Codeplug& c) { c.model = 32; },
         {0, "Model", "the model index 32 is not one from -1 to 31"}},
        {[](Codeplug& c) { c.model = -2; },
         {0, "Model", "the model index -2 is not one from -1 to 31"}},
    };
    for (const Case& c : cases) {
        Codeplug codeplug = NewCodeplug(3);
        c.change(codeplug);
        const ProjectEncoding encoding = EncodeProject(codeplug);
        EXPECT_EQ(encoding.problems, Problems{c.problem});
        EXPECT_EQ(encoding.files, ProjectFiles{}) << c.problem.message;
    }
    Codeplug blankName = NewCodeplug(3);
    blankName.Memory(7).name = "A|B";  // a blank row's name is never written
    EXPECT_TRUE(EncodeProject(blankName).problems.empty());
}

}  // namespace
}  // namespace qx
