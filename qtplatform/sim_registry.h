// Running qxsim simulators name the pseudo-terminals they serve in a folder
// of the user's runtime folder, one file per simulator: the file is named
// after the simulator's process ID and holds the terminal's path on one
// line. A simulator writes its file once its terminal is open and removes
// it when it ends; the port lists add the terminals of the simulators still
// running, and remove the files of those that ended without tidying up.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace qx {

// "qxsim" in the user's runtime folder (XDG_RUNTIME_DIR on Linux); empty
// when there is none.
std::filesystem::path SimRegistryDir();

// A simulator's entry for as long as this object lives.
class SimRegistration {
  public:
    // Writes `dir`/`pid` holding `ptyPath`, making `dir` when it is missing.
    SimRegistration(const std::filesystem::path& dir, long pid, const std::string& ptyPath);
    ~SimRegistration();
    SimRegistration(const SimRegistration&) = delete;
    SimRegistration& operator=(const SimRegistration&) = delete;

    // What kept the entry from being written; empty when it was.
    const std::string& Error() const { return error_; }
    const std::filesystem::path& Path() const { return path_; }

  private:
    std::filesystem::path path_;  // empty when nothing was written
    std::string error_;
};

// The terminals of the simulators registered in `dir` whose process is still
// running and whose terminal still exists, in no set order. The files of
// processes that have ended are removed.
std::vector<std::string> RegisteredSimPorts(const std::filesystem::path& dir);

}  // namespace qx
