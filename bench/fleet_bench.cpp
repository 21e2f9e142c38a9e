// Several radios written at once: the wall time of 4 and of 8 verified
// writes side by side (qxctl write --port ... against qxsim radios at 9600
// baud), each against the wall time of one, measured in the same run. The
// wire of each radio should be the limit, so at most 1.10 times one.
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/project_file.h"
#include "codeplug/defaults.h"
#include "image/memory_image.h"
#include "run_program.h"
#include "sim_process.h"

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

constexpr int kModel = 3;
constexpr double kLimit = 1.10;

// Seconds for a verified write of `project` into `count` radios at once,
// each a blank radio of the project's model; nothing when a write failed.
std::optional<double> Measure(std::size_t count, const fs::path& project, const fs::path& scratch) {
    std::vector<std::unique_ptr<qx::test::SimProcess>> sims;
    std::string args = "write " + project.string();
    for (std::size_t i = 0; i < count; ++i) {
        const fs::path image = scratch / ("radio" + std::to_string(i) + ".bin");
        fs::remove(image);
        sims.push_back(std::make_unique<qx::test::SimProcess>(
            QXSIM_PATH,
            std::vector<std::string>{"--baud", "9600", "--model", std::to_string(kModel), "--image",
                                     image.string()},
            fs::path{}, std::chrono::seconds(10)));
        if (!sims.back()->Started()) {
            std::cerr << "qxsim did not start: " << sims.back()->Error() << "\n";
            return std::nullopt;
        }
        args += " --port " + sims.back()->Path();
    }
    const auto start = Clock::now();
    const qx::test::ProgramRun run = qx::test::RunProgram(QXCTL_PATH, args + " --quiet", scratch);
    const std::chrono::duration<double> wall = Clock::now() - start;
    if (run.exitCode != 0) {
        std::cerr << count << " radios: qxctl exited with " << run.exitCode << "\n"
                  << run.out << run.err;
        return std::nullopt;
    }
    std::printf("%zu radio%s at once          %9.2f s\n", count, count == 1 ? " " : "s",
                wall.count());
    return wall.count();
}

}  // namespace

int main() {
    const fs::path scratch = fs::temp_directory_path() / "qx_bench_fleet";
    fs::remove_all(scratch);
    fs::create_directories(scratch);
    // A project with channels in use, as a dealer writes it.
    qx::Codeplug codeplug = qx::NewCodeplug(kModel);
    for (int row = 1; row <= 40; ++row) qx::PutInUse(codeplug.Row(row), kModel);
    const fs::path project = scratch / "fleet.qx";
    if (!qx::WriteProject(codeplug, project).empty()) {
        std::cerr << "qx_bench_fleet: could not write the project\n";
        return 1;
    }

    std::printf("verified writes at 9600 baud  wall time\n");
    const auto one = Measure(1, project, scratch);
    bool ok = one.has_value();
    for (const std::size_t count : {std::size_t{4}, std::size_t{8}}) {
        const auto many = Measure(count, project, scratch);
        if (!one || !many) {
            ok = false;
            continue;
        }
        const double ratio = *many / *one;
        std::printf("%zu at once / one:              %.3f (at most %.2f: %s)\n", count, ratio,
                    kLimit, ratio <= kLimit ? "ok" : "OVER");
        ok = ok && ratio <= kLimit;
    }
    fs::remove_all(scratch);
    return ok ? 0 : 1;
}
