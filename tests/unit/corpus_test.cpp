// The behaviour corpus (tests/data/corpus): every project there decodes,
// encodes, lists and comes back from its image as exactly the bytes stored
// beside it, apart from the named differences below that the typed codeplug
// brought on purpose.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <iostream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "app/document.h"
#include "app/listing_commands.h"
#include "codeplug/defaults.h"
#include "files/project_codec.h"
#include "image/memory_image.h"
#include "temp_dir.h"
#include "text_delta.h"
#include "util/language_texts.h"

namespace qx {
namespace {

namespace fs = std::filesystem;
using test::ReadBytes;

const fs::path kCorpus = fs::path(QX_SOURCE_DIR) / "tests" / "data" / "corpus";
constexpr int kMaxReported = 5;
constexpr const char* kCellSeparator = "    ";

struct Entry {
    std::string name;
    FeatureFlags flags;
    bool encodes = false;        // an image, or an encode error
    bool ownDecodedTon = false;  // the decoded image's companion file differs from the project's

    fs::path File(const std::string& suffix) const { return kCorpus / (name + suffix); }
};

// MANIFEST: name, feature byte, source, "img" or "encode-error", then "own",
// "same-as-project" or "-" for the decoded companion file.
std::vector<Entry> Manifest() {
    std::vector<Entry> entries;
    std::istringstream in(ReadBytes(kCorpus / "MANIFEST"));
    std::string line;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '#') continue;
        std::istringstream fields(line);
        std::string name, feature, source, image, decodedTon;
        fields >> name >> feature >> source >> image >> decodedTon;
        Entry entry;
        entry.name = name;
        entry.flags =
            FeatureFlagsOfByte(static_cast<std::uint8_t>(std::stoi(feature, nullptr, 16)));
        entry.encodes = image == "img";
        entry.ownDecodedTon = decodedTon == "own";
        entries.push_back(entry);
    }
    return entries;
}

ListingWords WordsOf(const char* languageFile) {
    return ListingWordsOf(DocumentTexts::From(LanguageTexts(QX_LANGUAGE_DIR, languageFile)));
}

const ListingWords& English() {
    static const ListingWords words = WordsOf("english.ini");
    return words;
}

const ListingWords& Chinese() {
    static const ListingWords words = WordsOf("chinese.ini");
    return words;
}

std::vector<std::uint8_t> Bytes(const std::string& text) { return {text.begin(), text.end()}; }
std::string Text(const std::vector<std::uint8_t>& bytes) { return {bytes.begin(), bytes.end()}; }

// The project as it opens into a new document of the start model.
Codeplug Opened(const Entry& entry) {
    const ProjectDecoding decoded =
        DecodeProject(ReadBytes(entry.File(".qx")), Bytes(ReadBytes(entry.File(".ton"))),
                      NewCodeplug(kStartModel));
    EXPECT_EQ(decoded.status, ProjectReadStatus::Read) << entry.name;
    EXPECT_EQ(decoded.error, "") << entry.name;
    return decoded.codeplug;
}

// Where two texts part, with the line it is on.
std::string Difference(const std::string& actual, const std::string& expected) {
    const auto at = static_cast<std::size_t>(
        std::mismatch(actual.begin(), actual.end(), expected.begin(), expected.end()).first -
        actual.begin());
    const auto line = std::count(actual.begin(), actual.begin() + static_cast<long>(at), '\n') + 1;
    // Forty bytes from there, control bytes escaped (images are binary).
    const auto around = [at](const std::string& text) {
        std::string shown;
        for (const char c : text.substr(std::min(at, text.size()), 40)) {
            const auto byte = static_cast<unsigned char>(c);
            if (byte >= 0x20 && byte != 0x7F) {
                shown += c;
                continue;
            }
            constexpr const char* kHex = "0123456789ABCDEF";
            shown += std::string("\\x") + kHex[byte >> 4] + kHex[byte & 15];
        }
        return shown;
    };
    return "sizes " + std::to_string(actual.size()) + " and " + std::to_string(expected.size()) +
           ", first difference at byte " + std::to_string(at) + " (line " + std::to_string(line) +
           "): \"" + around(actual) + "\" where the corpus has \"" + around(expected) + "\"";
}

// Compares every document's output with the corpus; reports the first few
// documents that differ and stops there.
class CorpusRun {
  public:
    template <typename Output>
    void ForEachDocument(Output output) {
        const std::vector<Entry> entries = Manifest();
        ASSERT_GE(entries.size(), 100u);
        for (const Entry& entry : entries) {
            output(entry);
            if (failed_ >= kMaxReported) {
                ADD_FAILURE() << "stopped after " << kMaxReported << " differing documents";
                return;
            }
        }
    }

    void Compare(const Entry& entry, const std::string& what, const std::string& actual,
                 const fs::path& expectedFile) {
        Compare(entry, what, actual, ReadBytes(expectedFile), expectedFile.filename().string());
    }
    void Compare(const Entry& entry, const std::string& what, const std::string& actual,
                 const std::string& expected, const std::string& expectedName) {
        if (actual == expected) return;
        Fail(entry, what + " is not " + expectedName + ": " + Difference(actual, expected));
    }
    void Fail(const Entry& entry, const std::string& why) {
        ++failed_;
        ADD_FAILURE() << entry.name << ": " << why;
    }

  private:
    int failed_ = 0;
};

// ---- The listing's known differences from the corpus ----------------------

// One cell of a listing that differs from the corpus: the codeplug row its
// line lists (0 for the heading and the option lines), the cell's number and
// both texts.
struct CellDifference {
    int row = 0;
    std::size_t cell = 0;
    std::string actual;
    std::string expected;
};

constexpr std::size_t kNameCell = 2;
constexpr std::size_t kStepCell = 3;

// A change of behaviour made on purpose, and whether it explains a cell.
struct KnownDifference {
    const char* what;
    std::function<bool(const Codeplug&, const ListingWords&, const CellDifference&)> explains;
};

const std::vector<KnownDifference>& KnownListingDifferences() {
    static const std::vector<KnownDifference> known = {
        // A blank row is listed with its model's own default channel; the
        // string document listed it with the step of the start model it was
        // opened into.
        {"the step of a blank row is the model's default step",
         [](const Codeplug& codeplug, const ListingWords&, const CellDifference& d) {
             return d.row != 0 && d.cell == kStepCell && codeplug.Row(d.row).blank &&
                    d.actual == ProjectFieldText(DefaultChannel(codeplug.model), kFieldStep) &&
                    d.expected == ProjectFieldText(DefaultChannel(kStartModel), kFieldStep);
         }},
        // A channel named like a bandwidth word keeps its name in every
        // language; the string document translated it with the bandwidth.
        {"a channel named \"wide\" or \"narrow\" keeps its name",
         [](const Codeplug& codeplug, const ListingWords& words, const CellDifference& d) {
             if (d.row == 0 || d.cell != kNameCell) return false;
             const std::string& name = codeplug.Row(d.row).name;
             return (name == "wide" || name == "narrow") && d.actual == name &&
                    d.expected == (name == "wide" ? words.wide : words.narrow);
         }},
    };
    return known;
}

// The cells in which `actual` differs from `expected`, with the row each
// line lists; false when the lines or cells do not pair up.
bool DifferingCells(const std::vector<std::string>& listing, const std::string& expected,
                    std::vector<CellDifference>& differences) {
    // The codeplug row of every text line: each listing line is cut into as
    // many text lines as it holds LFs, plus the one ListingFileText adds.
    std::vector<int> rowOfLine;
    for (std::size_t n = 0; n < listing.size(); ++n) {
        const int row =
            n >= 1 && n <= static_cast<std::size_t>(kRowCount) ? static_cast<int>(n) : 0;
        const auto lineFeeds = std::count(listing[n].begin(), listing[n].end(), '\n') + 1;
        rowOfLine.insert(rowOfLine.end(), static_cast<std::size_t>(lineFeeds), row);
    }
    const std::vector<std::string> actualLines = test::CutAt(ListingFileText(listing), "\n");
    const std::vector<std::string> expectedLines = test::CutAt(expected, "\n");
    if (actualLines.size() != expectedLines.size()) return false;
    rowOfLine.push_back(0);  // after the last LF
    for (std::size_t n = 0; n < actualLines.size(); ++n) {
        if (actualLines[n] == expectedLines[n]) continue;
        const auto actualCells = test::CutAt(actualLines[n], kCellSeparator);
        const auto expectedCells = test::CutAt(expectedLines[n], kCellSeparator);
        if (actualCells.size() != expectedCells.size()) return false;
        for (std::size_t c = 0; c < actualCells.size(); ++c) {
            if (actualCells[c] != expectedCells[c])
                differences.push_back({rowOfLine.at(n), c, actualCells[c], expectedCells[c]});
        }
    }
    return true;
}

// Compares listings with the corpus, letting through only the known
// differences, and counts the listings each of them touches.
class ListingRun : public CorpusRun {
  public:
    ListingRun() : touched_(KnownListingDifferences().size()) {}

    void CompareListing(const Entry& entry, const std::string& what, const Codeplug& codeplug,
                        const ListingWords& words, const std::string& expected) {
        const std::vector<std::string> listing = BuildListing(codeplug, words, ListingTarget::File);
        const std::string actual = ListingFileText(listing);
        if (actual == expected) return;
        std::vector<CellDifference> differences;
        if (!DifferingCells(listing, expected, differences)) {
            Compare(entry, what, actual, expected, "the corpus");
            return;
        }
        std::set<std::size_t> kinds;
        for (const CellDifference& d : differences) {
            const auto& known = KnownListingDifferences();
            const auto it = std::find_if(known.begin(), known.end(), [&](const KnownDifference& k) {
                return k.explains(codeplug, words, d);
            });
            if (it == known.end()) {
                Fail(entry, what + ": row " + std::to_string(d.row) + " cell " +
                                std::to_string(d.cell) + " is \"" + d.actual +
                                "\" where the corpus has \"" + d.expected + "\"");
                return;
            }
            kinds.insert(static_cast<std::size_t>(it - known.begin()));
        }
        for (const std::size_t kind : kinds) touched_[kind].push_back(entry.name);
    }

    // The documents whose listing a known difference touched.
    const std::vector<std::string>& Touched(std::size_t kind) const { return touched_.at(kind); }
    void Report(const std::string& what) const {
        for (std::size_t kind = 0; kind < touched_.size(); ++kind) {
            std::cout << what << ": " << KnownListingDifferences()[kind].what << ": "
                      << touched_[kind].size() << " listings\n";
        }
    }

  private:
    std::vector<std::vector<std::string>> touched_;
};

constexpr std::size_t kBlankStep = 0;
constexpr std::size_t kBandwidthName = 1;
// The corpus listings with a blank row of a model whose default step is not
// the start model's.
constexpr std::size_t kListingsWithForeignBlankStep = 83;

// ---- The tests ---------------------------------------------------------------

TEST(Corpus, EveryListedDocumentHasItsFilesAndNoFileIsUnlisted) {
    std::set<std::string> expected = {".gitattributes", "MANIFEST", "README.md"};
    for (const Entry& entry : Manifest()) {
        for (const char* suffix : {".qx", ".ton", ".en.txt", ".zh.delta"})
            expected.insert(entry.name + suffix);
        if (entry.encodes) {
            expected.insert(entry.name + ".img");
            expected.insert(entry.name + ".decoded.qx");
            if (entry.ownDecodedTon) expected.insert(entry.name + ".decoded.ton");
        } else {
            expected.insert(entry.name + ".encode-error.txt");
        }
    }
    std::set<std::string> present;
    for (const auto& file : fs::directory_iterator(kCorpus))
        present.insert(file.path().filename().string());
    EXPECT_EQ(present, expected);
    EXPECT_GE(Manifest().size(), 100u);
}

TEST(Corpus, EncodingADecodedProjectGivesItsBytesBack) {
    CorpusRun run;
    run.ForEachDocument([&](const Entry& entry) {
        const ProjectEncoding encoded = EncodeProject(Opened(entry));
        ASSERT_TRUE(encoded.problems.empty()) << entry.name;
        run.Compare(entry, "the re-encoded project", encoded.files.qx, entry.File(".qx"));
        run.Compare(entry, "the re-encoded companion file", Text(encoded.files.ton),
                    entry.File(".ton"));
    });
}

TEST(Corpus, ProjectsEncodeToTheirImagesOrErrors) {
    CorpusRun run;
    run.ForEachDocument([&](const Entry& entry) {
        const ImageEncoding encoded = EncodeImage(Opened(entry), entry.flags);
        if (entry.encodes) {
            ASSERT_TRUE(encoded.problems.empty()) << entry.name;
            run.Compare(entry, "the image", Text(encoded.image), entry.File(".img"));
        } else {
            EXPECT_TRUE(encoded.image.empty()) << entry.name;
            std::string messages;
            for (const Problem& problem : encoded.problems) messages += problem.message + "\n";
            run.Compare(entry, "the encode error", messages, entry.File(".encode-error.txt"));
        }
    });
}

TEST(Corpus, EnglishListings) {
    ListingRun run;
    run.ForEachDocument([&](const Entry& entry) {
        run.CompareListing(entry, "the English listing", Opened(entry), English(),
                           ReadBytes(entry.File(".en.txt")));
    });
    run.Report("English");
    EXPECT_EQ(run.Touched(kBlankStep).size(), kListingsWithForeignBlankStep);
    EXPECT_EQ(run.Touched(kBandwidthName), std::vector<std::string>{});
}

TEST(Corpus, ChineseListings) {
    ListingRun run;
    run.ForEachDocument([&](const Entry& entry) {
        // Stored as the cells in which it differs from the English listing.
        const std::string expected = test::ApplyDelta(ReadBytes(entry.File(".en.txt")),
                                                      ReadBytes(entry.File(".zh.delta")), "    ");
        run.CompareListing(entry, "the Chinese listing", Opened(entry), Chinese(), expected);
    });
    run.Report("Chinese");
    EXPECT_EQ(run.Touched(kBlankStep).size(), kListingsWithForeignBlankStep);
    EXPECT_EQ(run.Touched(kBandwidthName), (std::vector<std::string>{"d039", "d043"}));
}

TEST(Corpus, ImagesDecodeToTheirProjects) {
    CorpusRun run;
    run.ForEachDocument([&](const Entry& entry) {
        if (!entry.encodes) return;
        const ImageDecoding decoded =
            DecodeImage(Bytes(ReadBytes(entry.File(".img"))), kStartModel);
        ASSERT_EQ(decoded.error, "") << entry.name;
        EXPECT_EQ(decoded.features, entry.flags) << entry.name;
        const ProjectEncoding encoded = EncodeProject(decoded.codeplug);
        ASSERT_TRUE(encoded.problems.empty()) << entry.name;
        run.Compare(entry, "the decoded project", encoded.files.qx, entry.File(".decoded.qx"));
        run.Compare(entry, "the decoded companion file", Text(encoded.files.ton),
                    entry.File(entry.ownDecodedTon ? ".decoded.ton" : ".ton"));
    });
}

}  // namespace
}  // namespace qx
