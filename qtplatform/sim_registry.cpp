#include "sim_registry.h"

#include <QStandardPaths>
#include <QtGlobal>
#include <algorithm>
#include <fstream>
#include <system_error>

#ifdef Q_OS_UNIX
#include <signal.h>
#endif

namespace qx {
namespace {

// Without XDG_RUNTIME_DIR, Qt warns on every look-up before it falls back to
// a folder of its own; a simulator or a port list has nothing to say about it.
void DropMessage(QtMsgType, const QMessageLogContext&, const QString&) {}

bool ProcessRunning(long pid) {
#ifdef Q_OS_UNIX
    return pid > 0 && kill(static_cast<pid_t>(pid), 0) == 0;
#else
    Q_UNUSED(pid);
    return false;
#endif
}

// A file name made of digits only: the process ID, else -1.
long PidOfName(const std::string& name) {
    if (name.empty() || name.size() > 9) return -1;
    if (!std::all_of(name.begin(), name.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return -1;
    return std::stol(name);
}

}  // namespace

std::filesystem::path SimRegistryDir() {
    const QtMessageHandler previous = qInstallMessageHandler(DropMessage);
    const QString runtime = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    qInstallMessageHandler(previous);
    if (runtime.isEmpty()) return {};
    return std::filesystem::path(runtime.toStdString()) / "qxsim";
}

SimRegistration::SimRegistration(const std::filesystem::path& dir, long pid,
                                 const std::string& ptyPath) {
    std::error_code error;
    if (dir.empty()) {
        error_ = "no runtime folder";
        return;
    }
    std::filesystem::create_directories(dir, error);
    if (error) {
        error_ = "cannot make " + dir.string() + ": " + error.message();
        return;
    }
    const std::filesystem::path path = dir / std::to_string(pid);
    // Written aside and renamed, so a port list never reads half a path.
    const std::filesystem::path part = dir / (std::to_string(pid) + ".part");
    {
        std::ofstream out(part, std::ios::binary | std::ios::trunc);
        out << ptyPath << '\n';
        if (!out.flush()) {
            error_ = "cannot write " + part.string();
            std::filesystem::remove(part, error);
            return;
        }
    }
    std::filesystem::rename(part, path, error);
    if (error) {
        error_ = "cannot write " + path.string() + ": " + error.message();
        std::filesystem::remove(part, error);
        return;
    }
    path_ = path;
}

SimRegistration::~SimRegistration() {
    if (path_.empty()) return;
    std::error_code ignored;
    std::filesystem::remove(path_, ignored);
}

std::vector<std::string> RegisteredSimPorts(const std::filesystem::path& dir) {
    std::vector<std::string> ports;
    std::error_code error;
    if (dir.empty() || !std::filesystem::is_directory(dir, error)) return ports;
    std::vector<std::filesystem::path> gone;
    for (const auto& entry : std::filesystem::directory_iterator(dir, error)) {
        const long pid = PidOfName(entry.path().filename().string());
        if (pid < 0) continue;
        if (!ProcessRunning(pid)) {
            gone.push_back(entry.path());
            continue;
        }
        std::ifstream in(entry.path(), std::ios::binary);
        std::string path;
        if (!std::getline(in, path) || path.empty()) continue;
        if (std::filesystem::exists(path, error)) ports.push_back(path);
    }
    for (const auto& path : gone) std::filesystem::remove(path, error);
    return ports;
}

}  // namespace qx
