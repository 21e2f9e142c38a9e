// The peer CSV codec: the writer against a hand-written file, the reader's
// handling of the text itself (quoting, separators, headers, refusals).
#include "files/peer_csv.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "codeplug/defaults.h"
#include "temp_dir.h"

namespace qx {
namespace {

std::filesystem::path CsvData(const std::string& name) {
    return std::filesystem::path(QX_SOURCE_DIR) / "tests" / "data" / "csv" / name;
}

Tone T(const char* text) { return *Tone::Parse(text); }
Frequency F(const char* mhz) { return *Frequency::Parse(mhz); }

Channel& Use(Codeplug& c, int number, const char* name, const char* rx, const char* tx,
             const char* txTone = "off", const char* rxTone = "off") {
    Channel& ch = c.Memory(number);
    PutInUse(ch, c.model);
    ch.name = name;
    ch.rx = F(rx);
    ch.tx = F(tx);
    ch.txTone = T(txTone);
    ch.rxTone = T(rxTone);
    return ch;
}

// One channel of every tone combination, the duplex directions, split, the
// steps and bandwidths, a channel not in use and a DCS "off" entry.
Codeplug GoldenProject() {
    Codeplug c = NewCodeplug(3);
    Channel& rpt1 = Use(c, 1, "RPT1", "146.9400", "146.3400", "C:100.0");
    rpt1.step = Step::k5;
    rpt1.bandwidth = Bandwidth::Narrow;
    rpt1.scanSkip = true;
    Use(c, 2, "RPT2", "147.12500", "147.72500", "C:123.0", "C:123.0");
    Use(c, 3, "DCS", "145.5000", "145.5000", "D:023N", "D:023I");
    Use(c, 4, "DD", "145.52500", "145.52500", "D:411N", "D:754I");
    Use(c, 5, "TT", "146.0100", "146.0100", "C:71.9", "C:162.2").step = Step::k5;
    Use(c, 6, "TD", "146.02500", "146.02500", "C:151.4", "D:065I");
    Use(c, 7, "DT", "146.0500", "146.0500", "D:114I", "C:203.5");
    Use(c, 8, "RT", "146.07500", "146.07500", "off", "C:250.3");
    Use(c, 9, "RD", "146.1000", "146.1000", "off", "D:743N");
    Use(c, 10, "TDO", "146.12500", "146.12500", "D:606I", "off");
    Use(c, 11, "SPLIT", "145.8000", "160.0000");
    Use(c, 12, "A(B)=C", "136.00833", "136.00833").step = Step::k8_33;
    Use(c, 13, "OFF", "146.1500", "146.1500").inUse = false;
    Use(c, 14, "DOFF", "146.2000", "146.2000").txTone = Tone::Dcs(232);
    Use(c, 15, "", "145.0000", "155.0000");
    return c;
}

TEST(PeerCsv, ExportOfAGoldenProjectIsTheHandWrittenFile) {
    EXPECT_EQ(WriteCsv(GoldenProject()), test::ReadBytes(CsvData("export_model3.csv")));
}

TEST(PeerCsv, WhatTheWriterWritesReadsBackAsTheSameValues) {
    const Codeplug c = GoldenProject();
    const CsvReading reading = ReadCsv(WriteCsv(c));
    ASSERT_EQ(reading.issue, CsvFileIssue::None);
    std::size_t at = 0;
    for (int number = 0; number < kChannelRows; ++number) {
        const Channel& ch = c.Memory(number);
        if (!ch.inUse) continue;
        ASSERT_LT(at, reading.rows.size());
        const CsvRow& row = reading.rows[at++];
        ASSERT_TRUE(row.channel) << number;
        EXPECT_TRUE(row.problems.empty()) << number;
        const CsvChannel& v = *row.channel;
        EXPECT_EQ(v.location, number);
        EXPECT_EQ(v.name, ch.name);
        EXPECT_EQ(v.rx.Hz(), ch.rx.Hz()) << number;
        EXPECT_EQ(v.tx.Hz(), ch.tx.Hz()) << number;
        const Tone txTone = ch.txTone == Tone::Dcs(232) ? Tone() : ch.txTone;
        EXPECT_EQ(v.txTone, txTone) << number;
        EXPECT_EQ(v.rxTone, ch.rxTone) << number;
        EXPECT_EQ(v.bandwidth, ch.bandwidth) << number;
        EXPECT_EQ(v.step, ch.step) << number;
        EXPECT_EQ(v.scanSkip, ch.scanSkip) << number;
    }
    EXPECT_EQ(at, reading.rows.size());
}

TEST(PeerCsv, FieldsAreQuotedOnlyWhenTheyMustBe) {
    Codeplug c = NewCodeplug(3);
    // Names cannot hold these characters, but the writer quotes whatever needs it.
    c.Memory(0).name = "A,\"B\"";
    const std::string text = WriteCsv(c);
    EXPECT_NE(text.find("\r\n0,\"A,\"\"B\"\"\",145.000000,"), std::string::npos) << text;
    const CsvReading back = ReadCsv(text);
    ASSERT_EQ(back.rows.size(), 1u);
    EXPECT_EQ(back.rows[0].channel->name, "A,\"B\"");
}

TEST(PeerCsv, TabSeparatedTextReadsWithOrWithoutHeader) {
    const std::string withHeader = "Frequency\tName\tLocation\n146.520000\tCALL\t4\n";
    const std::string without =
        "4\tCALL\t146.520000\t\t0.000000\tTone\t100.0\t88.5\t023\tNN\t023\tTone->Tone\tNFM\t5."
        "00\tS\n";
    for (const std::string& text : {withHeader, without}) {
        const CsvReading reading = ReadCsv(text, '\t', CsvHeader::Optional);
        ASSERT_EQ(reading.issue, CsvFileIssue::None) << text;
        ASSERT_EQ(reading.rows.size(), 1u) << text;
        ASSERT_TRUE(reading.rows[0].channel) << text;
        EXPECT_EQ(reading.rows[0].channel->location, 4);
        EXPECT_EQ(reading.rows[0].channel->name, "CALL");
        EXPECT_EQ(reading.rows[0].channel->rx, F("146.520000"));
    }
    const CsvChannel full = *ReadCsv(without, '\t', CsvHeader::Optional).rows[0].channel;
    EXPECT_EQ(full.txTone, T("C:100.0"));
    EXPECT_EQ(full.bandwidth, Bandwidth::Narrow);
    EXPECT_EQ(full.step, Step::k5);
    EXPECT_EQ(full.scanSkip, true);
    // A file must have its header.
    EXPECT_EQ(ReadCsv(without, '\t').issue, CsvFileIssue::NoFrequencyColumn);
}

TEST(PeerCsv, OlderFilesTakeTheReceiveCodeFromDtcsCodeAndToneToTone) {
    const CsvReading reading = ReadCsv(
        "Location,Frequency,Tone,rToneFreq,cToneFreq,DtcsCode,DtcsPolarity\n"
        "1,146.52,DTCS,88.5,88.5,47,RN\n"
        "2,146.52,Cross,100.0,123.0,023,NN\n");
    ASSERT_EQ(reading.rows.size(), 2u);
    EXPECT_EQ(reading.rows[0].channel->txTone, T("D:047I"));
    EXPECT_EQ(reading.rows[0].channel->rxTone, T("D:047N"));
    EXPECT_EQ(reading.rows[1].channel->txTone, T("C:100.0"));
    EXPECT_EQ(reading.rows[1].channel->rxTone, T("C:123.0"));
    // No Name, Mode, TStep or Skip column: those fields are not carried.
    EXPECT_FALSE(reading.rows[0].channel->name);
    EXPECT_FALSE(reading.rows[0].channel->bandwidth);
    EXPECT_FALSE(reading.rows[0].channel->step);
    EXPECT_FALSE(reading.rows[0].channel->scanSkip);
}

TEST(PeerCsv, LineNumbersCountTheLinesOfQuotedFieldsAndSkipEmptyLines) {
    const CsvReading reading =
        ReadCsv("Name,Frequency\r\n\r\n\"TWO\r\nLINES\",146.52\r\n\r\nX,abc\r\n");
    ASSERT_EQ(reading.rows.size(), 2u);
    EXPECT_EQ(reading.rows[0].line, 3);
    EXPECT_EQ(reading.rows[0].channel->name, "TWO\r\nLINES");
    EXPECT_EQ(reading.rows[1].line, 6);
    EXPECT_FALSE(reading.rows[1].channel);
    EXPECT_EQ(reading.rows[1].problems,
              (std::vector<CsvProblem>{{6, "Frequency", CsvIssue::BadNumber, "abc"}}));
}

TEST(PeerCsv, BinaryTextIsRefused) {
    for (const std::string& text :
         {std::string("Frequency\n146.52\0\n", 17), std::string("Frequency\n\x01\x02\n"),
          std::string("Name,Frequency\n\xFF\xFE,146.52\n")}) {
        EXPECT_EQ(ReadCsv(text).issue, CsvFileIssue::Binary);
    }
    // UTF-8 beyond ASCII is text.
    EXPECT_EQ(ReadCsv("Name,Frequency\n\xE4\xB8\xAD,146.52\n").issue, CsvFileIssue::None);
}

TEST(PeerCsv, AFileLargerThanTheLimitIsRefusedUnread) {
    test::TempDir dir;
    const auto big = dir / "big.csv";
    test::WriteBytes(big, "Frequency\n");
    std::filesystem::resize_file(big, 50u * 1024 * 1024);
    const CsvReading reading = ReadCsvFile(big);
    EXPECT_EQ(reading.issue, CsvFileIssue::TooLarge);
    EXPECT_EQ(reading.size, 50u * 1024 * 1024);

    const CsvReading missing = ReadCsvFile(dir / "missing.csv");
    EXPECT_EQ(missing.issue, CsvFileIssue::Unreadable);
    EXPECT_NE(missing.error.find("missing.csv"), std::string::npos) << missing.error;
}

}  // namespace
}  // namespace qx
