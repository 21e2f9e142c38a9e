// qxsim's command line: what radio to simulate and how to serve it.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "link/simulated_radio.h"

namespace qx::sim {

struct SimOptions {
    std::optional<std::string> imagePath;  // loaded at start, saved after each write
    std::optional<int> model;              // default kDefaultModel
    std::optional<std::uint8_t> features;  // default kDefaultFeatures
    std::optional<std::string> password;   // default empty
    int baud = 0;                          // 0: answer at once
    std::vector<Fault> faults;
    bool once = false;  // stop after the first end line
    bool verbose = false;
    bool help = false;
};

inline constexpr int kDefaultModel = 3;
inline constexpr std::uint8_t kDefaultFeatures = 0xE0;

struct ParsedOptions {
    SimOptions options;
    std::string error;  // empty when the command line parsed
};

// `args` without the program name, by the option table UsageText shows.
ParsedOptions ParseSimOptions(const std::vector<std::string>& args);

std::string UsageText();

}  // namespace qx::sim
