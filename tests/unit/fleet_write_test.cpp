// Writing one project into several radios: the plan (ports, self IDs,
// labels), each radio's copy, and the writes running side by side on
// simulated radios over one clock.
#include "fleet/fleet_write.h"

#include <gtest/gtest.h>

#include <map>
#include <memory>

#include "codeplug/defaults.h"
#include "codeplug/models.h"
#include "document_builder.h"
#include "image/memory_image.h"
#include "link/simulated_link.h"
#include "manual_clock.h"

namespace qx {
namespace {

using test::ManualClock;

TEST(FleetPlan, SelfIdsAreNumberedFromFiveDigitsWithoutPassing99999) {
    struct Case {
        const char* first;
        std::size_t count;
        std::vector<std::string> ids;
        bool error;
    };
    const Case cases[] = {
        {"10001", 3, {"10001", "10002", "10003"}, false},
        {"00098", 3, {"00098", "00099", "00100"}, false},
        {"99999", 1, {"99999"}, false},
        {"99999", 2, {}, true},
        {"1234", 1, {}, true},
        {"12a45", 1, {}, true},
        {"123456", 1, {}, true},
    };
    for (const Case& c : cases) {
        const SelfIdNumbering numbering = NumberSelfIds(c.first, c.count);
        EXPECT_EQ(numbering.ids, c.ids) << c.first;
        EXPECT_EQ(!numbering.error.empty(), c.error) << c.first << ": " << numbering.error;
    }
}

TEST(FleetPlan, PortListsSkipBlankLinesAndComments) {
    EXPECT_EQ(PortsOfList("/dev/ttyUSB0\r\n\n# spare\n  /dev/ttyUSB1  \nsim"),
              (std::vector<std::string>{"/dev/ttyUSB0", "/dev/ttyUSB1", "sim"}));
    EXPECT_TRUE(PortsOfList("").empty());
}

TEST(FleetPlan, PortsAreGivenOnceAndUnlabelledRadiosAreNumbered) {
    const FleetPlan plan = PlanFleet({"a", "b"}, {"10001", "10002"});
    ASSERT_EQ(plan.error, "");
    EXPECT_EQ(plan.radios, (std::vector<FleetRadio>{{"a", "#1", "10001"}, {"b", "#2", "10002"}}));
    EXPECT_EQ(PlanFleet({"a", "b", "a"}, {}).error, "the port a is given twice");
    EXPECT_EQ(PlanFleet({}, {}).error, "no port to write to");
    EXPECT_EQ(CheckFleet({{"a", "taxi", ""}, {"b", "", ""}}).radios.at(1).label, "#2");
}

TEST(FleetPlan, PerRadioFilesGiveEachPortItsIdAndLabel) {
    struct Case {
        const char* text;
        std::vector<FleetRadio> radios;
        const char* error;
    };
    const Case cases[] = {
        {"port,self_id,name\n/dev/ttyUSB0,10001,Taxi 1\n/dev/ttyUSB1,,\"Taxi, 2\"\n",
         {{"/dev/ttyUSB0", "Taxi 1", "10001"}, {"/dev/ttyUSB1", "Taxi, 2", ""}},
         ""},
        // Any column order, a byte-order mark, CR LF, a row shorter than the header.
        {"\xEF\xBB\xBFname,port\r\nA,sim\r\n", {{"sim", "A", ""}}, ""},
        {"port\nsim\n/dev/ttyS0\n", {{"sim", "", ""}, {"/dev/ttyS0", "", ""}}, ""},
        {"", {}, "the file is empty; it needs the header \"port,self_id,name\""},
        {"device,self_id\nsim,1\n",
         {},
         "line 1: the header has no \"port\" column (expected \"port,self_id,name\")"},
        {"port,self_id\nsim,12x\n",
         {},
         "line 2: a self ID has one to five digits 0-9, not \"12x\""},
        {"port,self_id\n,10001\n", {}, "line 2: no port"},
        {"port,name\nsim,\"open\n", {}, "line 2: a quoted field is not closed"},
        {"port,self_id,name\n", {}, "the file names no radio under its header"},
        {"port\n\x01\x02", {}, "this is no comma-separated text"},
    };
    for (const Case& c : cases) {
        const FleetPlan plan = ReadPerRadioCsv(c.text);
        EXPECT_EQ(plan.error, c.error) << c.text;
        if (plan.error.empty()) {
            EXPECT_EQ(plan.radios, c.radios) << c.text;
        }
    }
}

// A codeplug with two channels and 5-tone codes of every kind: one that
// carries the self ID after its first two digits (E2), one after eight (E3),
// and a plain code that carries none, each as the dialog stores it.
Codeplug FleetProject() {
    Codeplug c = NewCodeplug(3);
    for (int row : {1, 8}) PutInUse(c.Row(row), 3);
    c.Row(8).name = "TAXI";
    FiveToneSettings& f = c.signalling.fiveTone;
    f.selfId = "12345";
    f.codes[0] = test::FiveToneCodeOf("E212345");
    f.codes[1] = test::FiveToneCodeOf("E312345612345");
    f.codes[2] = test::FiveToneCodeOf("471E");
    return c;
}

TEST(FleetCopy, TheSelfIdAndTheCodesCarryingItFollowAsInTheDialog) {
    const Codeplug source = FleetProject();
    const Codeplug copy = CodeplugWithSelfId(source, "10002", test::EnglishTexts());
    const FiveToneSettings& f = copy.signalling.fiveTone;
    EXPECT_EQ(f.selfId, "10002");
    // Stored as the dialog stores every code, a repeated digit as "E".
    EXPECT_EQ(f.codes[0].code, "E210E02");
    EXPECT_EQ(f.codes[1].code, "E312345610E02");
    EXPECT_EQ(f.codes[2].code, "471E");
    EXPECT_EQ(copy.Row(8), source.Row(8));
    // A short ID is filled up with "0" as the dialog does when it is left.
    EXPECT_EQ(CodeplugWithSelfId(source, "7", test::EnglishTexts()).signalling.fiveTone.selfId,
              "70000");
}

// Radios on simulated links paced at 9600 baud, all on one manual clock.
class FleetWriteTest : public ::testing::Test {
  protected:
    void AddRadio(const std::string& port, const std::string& password = "") {
        radios_[port] = std::make_unique<SimulatedRadio>(3, 0xE0, password);
    }
    std::unique_ptr<FleetWrite> Fleet(std::vector<FleetRadio> radios, FleetSetup setup = {}) {
        setup.options.verify = true;
        setup.features = test::kAllFeatures;
        auto fleet = std::make_unique<FleetWrite>(
            project_, CheckFleet(std::move(radios)).radios, test::EnglishTexts(), setup,
            [this](const std::string& port) {
                auto link = std::make_unique<SimulatedLink>(*radios_.at(port), clock_, 9600);
                if (port == "gone") link->FailNextOpen("The port gone does not exist.");
                return link;
            },
            clock_);
        fleet->SetClock([this] { return std::chrono::steady_clock::time_point(clock_.Now()); });
        return fleet;
    }
    std::chrono::milliseconds RunAlone(const std::string& port) {
        auto fleet = Fleet({{port, "", ""}});
        fleet->Start();
        clock_.RunUntilIdle();
        EXPECT_TRUE(fleet->AllSucceeded());
        return fleet->Radios().at(0).time;
    }
    Codeplug Held(const std::string& port) const {
        return DecodeImage(radios_.at(port)->Memory(), 3).codeplug;
    }

    Codeplug project_ = FleetProject();
    ManualClock clock_;
    std::map<std::string, std::unique_ptr<SimulatedRadio>> radios_;
};

TEST_F(FleetWriteTest, RadiosWrittenSideBySideTakeTheTimeOfOne) {
    AddRadio("alone");
    const std::chrono::milliseconds one = RunAlone("alone");
    for (const char* port : {"a", "b", "c", "d"}) AddRadio(port);
    auto fleet =
        Fleet({{"a", "", "10001"}, {"b", "", "10002"}, {"c", "", "10003"}, {"d", "", "10004"}});
    fleet->Start();
    const std::chrono::milliseconds start = clock_.Now();
    clock_.RunUntilIdle();
    ASSERT_TRUE(fleet->AllSucceeded());
    // The wire of each radio is the limit, not the program: four take as
    // long as one, give or take a line.
    EXPECT_LE(fleet->Radios().at(3).time, one + std::chrono::milliseconds(100));
    EXPECT_GE(clock_.Now() - start, one);

    const char* ports[] = {"a", "b", "c", "d"};
    for (std::size_t i = 0; i < 4; ++i) {
        const FleetRadioState& state = fleet->Radios().at(i);
        EXPECT_EQ(state.stage, FleetStage::Succeeded) << ports[i];
        EXPECT_EQ(state.percent, 100);
        EXPECT_EQ(state.model, 3);
        EXPECT_EQ(state.message, "");
        const Codeplug held = Held(ports[i]);
        const std::string id = "1000" + std::to_string(i + 1);
        EXPECT_EQ(state.selfId, id);
        EXPECT_EQ(held.signalling.fiveTone.selfId, id);
        EXPECT_EQ(held.signalling.fiveTone.codes[0].code, "E210E0" + id.substr(4));
        for (int row = 1; row <= kChannelRows; ++row)
            EXPECT_EQ(held.Row(row), Held("a").Row(row)) << ports[i] << " row " << row;
    }
    EXPECT_EQ(Held("a").Row(8).name, "TAXI");
}

TEST_F(FleetWriteTest, OneRadioFailingNeverStopsTheOthers) {
    for (const char* port : {"a", "b", "c"}) AddRadio(port);
    std::string error;
    for (const Fault& fault : ParseFaultRule("silent-after:200", error))
        radios_["b"]->AddFault(fault);
    AddRadio("gone");
    auto fleet = Fleet({{"a", "", ""}, {"b", "", ""}, {"c", "", ""}, {"gone", "", ""}});
    fleet->Start();
    // A port that does not open fails at once; the others are on their way.
    EXPECT_EQ(fleet->Radios().at(3).stage, FleetStage::Failed);
    EXPECT_EQ(fleet->Radios().at(3).message, "The port gone does not exist.");
    EXPECT_EQ(fleet->Radios().at(0).stage, FleetStage::Checking);
    EXPECT_FALSE(fleet->Over());
    clock_.RunUntilIdle();
    const auto& radios = fleet->Radios();
    EXPECT_EQ(radios[0].stage, FleetStage::Succeeded);
    EXPECT_EQ(radios[2].stage, FleetStage::Succeeded);
    EXPECT_EQ(radios[1].stage, FleetStage::Failed);
    EXPECT_EQ(radios[1].result, TransferResult::WriteFailed);
    EXPECT_NE(radios[1].message.find("partly written"), std::string::npos) << radios[1].message;
    EXPECT_TRUE(fleet->Over());
    EXPECT_FALSE(fleet->AllSucceeded());
}

TEST_F(FleetWriteTest, APasswordIsAskedOfEveryProtectedRadio) {
    AddRadio("locked", "secret");
    AddRadio("open");
    struct Case {
        std::optional<std::string> password;
        FleetStage locked;
        const char* message;
    };
    const Case cases[] = {
        {std::nullopt, FleetStage::Failed,
         "The radio is protected by a password; give the password and write again."},
        {"wrong", FleetStage::Failed, "The password given is not the radio's password."},
        {"secret", FleetStage::Succeeded, ""},
    };
    for (const Case& c : cases) {
        FleetSetup setup;
        setup.password = c.password;
        auto fleet = Fleet({{"locked", "", ""}, {"open", "", ""}}, setup);
        fleet->Start();
        clock_.RunUntilIdle();
        EXPECT_EQ(fleet->Radios()[0].stage, c.locked) << c.message;
        EXPECT_EQ(fleet->Radios()[0].message, c.message);
        EXPECT_EQ(fleet->Radios()[1].stage, FleetStage::Succeeded) << c.message;
    }
}

TEST_F(FleetWriteTest, StopStopsEveryRadioAndSaysWhichArePartlyWritten) {
    for (const char* port : {"a", "b"}) AddRadio(port);
    auto fleet = Fleet({{"a", "", ""}, {"b", "", ""}});
    fleet->Start();
    clock_.Advance(std::chrono::seconds(5));  // well into the write
    ASSERT_EQ(fleet->Radios()[0].stage, FleetStage::Writing);
    fleet->Stop();
    clock_.RunUntilIdle();
    for (const FleetRadioState& radio : fleet->Radios()) {
        EXPECT_EQ(radio.stage, FleetStage::Failed);
        EXPECT_EQ(radio.result, TransferResult::Stopped);
        EXPECT_NE(radio.message.find("partly written"), std::string::npos) << radio.message;
    }
}

TEST(FleetSummary, OneRowARadioAsCsv) {
    FleetRadioState ok;
    ok.radio = {"/dev/ttyUSB0", "Taxi 1", ""};
    ok.selfId = "10001";
    ok.model = 3;
    ok.stage = FleetStage::Succeeded;
    ok.time = std::chrono::milliseconds(31'460);
    ok.backupPath = "/b/x.img";
    FleetRadioState failed = ok;
    failed.radio = {"sim", "#2", ""};
    failed.stage = FleetStage::Failed;
    failed.message = "Write failed, check it.";
    failed.backupPath.clear();
    EXPECT_EQ(FleetSummaryCsv({ok, failed}),
              "label,port,model,self_id,result,time_s,backup\r\n"
              "Taxi 1,/dev/ttyUSB0," +
                  ModelAt(3)->name +
                  ",10001,ok,31.4,/b/x.img\r\n"
                  "#2,sim," +
                  ModelAt(3)->name + ",10001,\"Write failed, check it.\",31.4,\r\n");
}

}  // namespace
}  // namespace qx
