// How close a radio read and write come to the time their bytes need on the
// line: qxctl against qxsim at 9600 baud, a full and a quick read (every row
// active) and the write of a default project, without and with its verify.
// A quick read leaves out the lines the program never uses, so it must take
// less time than the full read. The lower
// bound is the bytes qxsim received and sent, at 10 bit times each. A write
// with its verify is also set against the wire time of the write alone: the
// verify reads back every line written, so it may cost at most 2.05 times that.
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

#include "app/channel_ops.h"
#include "app/project_file.h"
#include "codeplug/defaults.h"
#include "image/memory_image.h"
#include "silent_ui.h"
#include "sim_process.h"
#include "util/language_texts.h"

extern char** environ;

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

constexpr int kBaud = 9600;
constexpr qx::FeatureFlags kAllFeatures{true, true, true, false};

qx::Document FreshDocument(qx::Ui& ui) {
    qx::Document doc;
    qx::LoadMainWindow(doc, qx::LanguageTexts(QX_LANGUAGE_DIR, "english.ini"), kAllFeatures, ui);
    return doc;
}

// Every channel row in use and named, so a read requests every line.
qx::Document FullDocument(qx::Ui& ui) {
    qx::Document doc = FreshDocument(ui);
    doc.Change(qx::StepLabel{}, [](qx::Codeplug& codeplug) {
        for (int row = 1; row <= qx::kChannelRows; ++row) {
            qx::PutInUse(codeplug.Row(row), codeplug.model);
            codeplug.Row(row).name = "CH" + std::to_string(row - 1);
        }
    });
    return doc;
}

bool WriteImage(const qx::Document& doc, const fs::path& path, qx::Ui&) {
    const qx::ImageEncoding encoding = qx::EncodeImage(doc.codeplug(), kAllFeatures);
    if (!encoding.problems.empty()) return false;
    std::ofstream out(path, std::ios::binary);
    out << std::string(encoding.image.begin(), encoding.image.end());
    return static_cast<bool>(out);
}

std::vector<char*> Argv(std::vector<std::string>& args) {
    std::vector<char*> argv;
    for (auto& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    return argv;
}

int RunQxctl(std::vector<std::string> args, const fs::path& errPath) {
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, errPath.c_str(),
                                     O_WRONLY | O_CREAT | O_TRUNC, 0644);
    args.insert(args.begin(), QXCTL_PATH);
    auto argv = Argv(args);
    pid_t pid = -1;
    const int spawned = posix_spawn(&pid, QXCTL_PATH, &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0) return -1;
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::string ReadText(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// "qxsim: received N bytes, sent M bytes" → N + M.
std::optional<long> WireBytes(const std::string& output) {
    const auto at = output.rfind("qxsim: received ");
    if (at == std::string::npos) return std::nullopt;
    long received = 0;
    long sent = 0;
    if (std::sscanf(output.c_str() + at, "qxsim: received %ld bytes, sent %ld bytes", &received,
                    &sent) != 2) {
        return std::nullopt;
    }
    return received + sent;
}

constexpr double kVerifiedWriteLimit = 2.05;

struct Timing {
    double wall = 0;  // seconds
    double wire = 0;  // seconds: the bytes on the line at 10 bit times each
    long bytes = 0;
};

// One timed transfer into a radio holding `image` (a copy: every run finds
// the same radio); nothing when it did not complete.
std::optional<Timing> Measure(const std::string& label, const fs::path& image,
                              std::vector<std::string> qxctlArgs, const fs::path& scratch) {
    const fs::path radio = scratch / "radio.bin";
    fs::copy_file(image, radio, fs::copy_options::overwrite_existing);
    const fs::path simErr = scratch / "qxsim.err";
    // No --once: a verified write sends a second end line after the read-back.
    qx::test::SimProcess sim(
        QXSIM_PATH, {"--baud", std::to_string(kBaud), "--verbose", "--image", radio.string()},
        simErr, std::chrono::seconds(10));
    if (!sim.Started()) {
        std::cerr << label << ": qxsim did not start: " << sim.Error() << "\n";
        return std::nullopt;
    }
    qxctlArgs.insert(qxctlArgs.begin() + 1, {"--port", sim.Path()});
    const fs::path errPath = scratch / "qxctl.err";
    const auto start = Clock::now();
    const int exitCode = RunQxctl(qxctlArgs, errPath);
    const std::chrono::duration<double> wall = Clock::now() - start;
    if (exitCode != 0) {
        std::cerr << label << ": qxctl exited with " << exitCode << "\n" << ReadText(errPath);
        return std::nullopt;
    }
    // qxsim reports its byte counts when it is stopped.
    sim.Stop(std::chrono::seconds(10));
    const auto bytes = WireBytes(ReadText(simErr));
    if (!bytes) {
        std::cerr << label << ": no byte count from qxsim\n" << ReadText(simErr);
        return std::nullopt;
    }
    const Timing timing{wall.count(), static_cast<double>(*bytes) * 10.0 / kBaud, *bytes};
    std::printf("%-28s %9.2f s %9.2f s %7.3f   (%ld bytes)\n", label.c_str(), timing.wall,
                timing.wire, timing.wall / timing.wire, timing.bytes);
    return timing;
}

}  // namespace

int main() {
    const fs::path scratch = fs::temp_directory_path() / "qx_bench_transfer";
    fs::remove_all(scratch);
    fs::create_directories(scratch);
    // The transfer stores the radio's features in the settings folder: keep the user's out of it.
    setenv("XDG_CONFIG_HOME", (scratch / "config").c_str(), 1);
    setenv("XDG_DATA_HOME", (scratch / "data").c_str(), 1);

    qx::test::SilentUi ui;
    qx::Document fresh = FreshDocument(ui);
    const fs::path freshImage = scratch / "fresh.bin";
    const fs::path fullImage = scratch / "full.bin";
    const fs::path defaultProject = scratch / "default.qx";
    if (!WriteImage(FullDocument(ui), fullImage, ui) || !WriteImage(fresh, freshImage, ui) ||
        !qx::SaveProject(fresh, defaultProject).empty()) {
        std::cerr << "qx_bench_transfer: could not prepare the images\n";
        return 1;
    }

    std::printf("transfer at %d baud          wall time   wire time   ratio\n", kBaud);
    const auto fullRead = Measure("full read (all rows)", fullImage,
                                  {"read", "-o", (scratch / "read.qx").string()}, scratch);
    const auto quickRead =
        Measure("quick read (all rows)", fullImage,
                {"read", "-o", (scratch / "quick.qx").string(), "--quick"}, scratch);
    bool ok = fullRead && quickRead;
    if (ok) {
        std::printf("quick read / full read: %.3f of the time (wire bounds %.2f s and %.2f s)\n",
                    quickRead->wall / fullRead->wall, quickRead->wire, fullRead->wire);
        ok = quickRead->wall < fullRead->wall;
    }
    const auto alone = Measure("write alone (--no-verify)", freshImage,
                               {"write", defaultProject.string(), "--no-verify"}, scratch);
    const auto verified = Measure("write with verify (default)", freshImage,
                                  {"write", defaultProject.string()}, scratch);
    if (alone && verified) {
        const double ratio = verified->wall / alone->wire;
        std::printf("write with verify / wire time of the write alone: %.3f (at most %.2f: %s)\n",
                    ratio, kVerifiedWriteLimit, ratio <= kVerifiedWriteLimit ? "ok" : "OVER");
        std::printf("write alone / its wire time:                       %.3f\n",
                    alone->wall / alone->wire);
        ok = ok && ratio <= kVerifiedWriteLimit;
    } else {
        ok = false;
    }
    fs::remove_all(scratch);
    return ok ? 0 : 1;
}
