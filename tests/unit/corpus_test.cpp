// The behaviour corpus (tests/data/corpus): every project there opens, saves,
// encodes, lists and decodes to exactly the bytes stored beside it.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "app/document.h"
#include "app/language_texts.h"
#include "app/session.h"
#include "channels/channel_ops.h"
#include "files/listing.h"
#include "files/project_file.h"
#include "image/image_codec.h"
#include "image/settings_codec.h"
#include "scripted_ui.h"
#include "temp_dir.h"
#include "text_delta.h"

namespace qx {
namespace {

namespace fs = std::filesystem;
using test::ReadBytes;
using test::ScriptedUi;
using test::TempDir;

const fs::path kCorpus = fs::path(QX_SOURCE_DIR) / "tests" / "data" / "corpus";
constexpr int kMaxReported = 5;

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

const LanguageTexts& English() {
    static const LanguageTexts texts(QX_LANGUAGE_DIR, "english.ini");
    return texts;
}

const LanguageTexts& Chinese() {
    static const LanguageTexts texts(QX_LANGUAGE_DIR, "chinese.ini");
    return texts;
}

// A document as the main window has it after its load (start model).
Document Fresh(const Entry& entry, const LanguageTexts& lang) {
    Document doc;
    ScriptedUi ui;
    LoadMainWindow(doc, lang, entry.flags, ui);
    return doc;
}

Document Opened(const Entry& entry, const LanguageTexts& lang) {
    Document doc = Fresh(entry, lang);
    ScriptedUi ui;
    EXPECT_EQ(OpenProject(doc, entry.File(".qx"), ui), OpenOutcome::Opened) << entry.name;
    EXPECT_TRUE(ui.messages.empty()) << entry.name;
    return doc;
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
        ++failed_;
        ADD_FAILURE() << entry.name << ": " << what << " is not " << expectedName << ": "
                      << Difference(actual, expected);
    }

  private:
    int failed_ = 0;
};

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

TEST(Corpus, SavingAnOpenedProjectGivesItsBytesBack) {
    TempDir dir;
    CorpusRun run;
    run.ForEachDocument([&](const Entry& entry) {
        Document doc = Opened(entry, English());
        const fs::path saved = dir / (entry.name + ".qx");
        ASSERT_EQ(SaveProject(doc, saved), "");
        run.Compare(entry, "the re-saved project", ReadBytes(saved), entry.File(".qx"));
        run.Compare(entry, "the re-saved companion file", ReadBytes(dir / (entry.name + ".ton")),
                    entry.File(".ton"));
    });
}

TEST(Corpus, ProjectsEncodeToTheirImagesOrErrors) {
    CorpusRun run;
    run.ForEachDocument([&](const Entry& entry) {
        Document doc = Opened(entry, English());
        ScriptedUi ui;
        const auto image = EncodeImage(doc, entry.flags, ui);
        if (entry.encodes) {
            ASSERT_TRUE(image.has_value()) << entry.name;
            run.Compare(entry, "the image", std::string(image->begin(), image->end()),
                        entry.File(".img"));
        } else {
            EXPECT_FALSE(image.has_value()) << entry.name;
            std::string messages;
            for (const std::string& m : ui.messages) messages += m + "\n";
            run.Compare(entry, "the encode error", messages, entry.File(".encode-error.txt"));
        }
    });
}

TEST(Corpus, EnglishListings) {
    CorpusRun run;
    run.ForEachDocument([&](const Entry& entry) {
        const Document doc = Opened(entry, English());
        run.Compare(entry, "the English listing",
                    ListingFileText(BuildListing(doc, ListingTarget::File)), entry.File(".en.txt"));
    });
}

TEST(Corpus, ChineseListings) {
    CorpusRun run;
    run.ForEachDocument([&](const Entry& entry) {
        // Stored as the cells in which it differs from the English listing.
        const std::string expected = test::ApplyDelta(ReadBytes(entry.File(".en.txt")),
                                                      ReadBytes(entry.File(".zh.delta")), "    ");
        const Document doc = Opened(entry, Chinese());
        run.Compare(entry, "the Chinese listing",
                    ListingFileText(BuildListing(doc, ListingTarget::File)), expected,
                    ".en.txt with .zh.delta");
    });
}

TEST(Corpus, ImagesDecodeToTheirProjects) {
    TempDir dir;
    CorpusRun run;
    run.ForEachDocument([&](const Entry& entry) {
        if (!entry.encodes) return;
        const std::string bytes = ReadBytes(entry.File(".img"));
        const std::vector<std::uint8_t> image(bytes.begin(), bytes.end());
        Document doc = Fresh(entry, English());
        FeatureFlags features = entry.flags;
        ScriptedUi ui;
        ASSERT_EQ(DecodeImage(image, doc, features, ui), "") << entry.name;
        EXPECT_TRUE(ui.messages.empty()) << entry.name;
        EXPECT_EQ(features, entry.flags) << entry.name;
        const fs::path saved = dir / (entry.name + ".decoded.qx");
        ASSERT_EQ(SaveProject(doc, saved), "");
        run.Compare(entry, "the decoded project", ReadBytes(saved), entry.File(".decoded.qx"));
        run.Compare(entry, "the decoded companion file",
                    ReadBytes(dir / (entry.name + ".decoded.ton")),
                    entry.File(entry.ownDecodedTon ? ".decoded.ton" : ".ton"));
    });
}

}  // namespace
}  // namespace qx
