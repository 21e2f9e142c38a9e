#include "app/settings_files.h"

#include <fstream>
#include <optional>
#include <system_error>

#include "app/recent_files.h"
#include "util/file_kind.h"
#include "util/ini_file.h"

namespace qx {

std::filesystem::path FindLanguageDir(const std::filesystem::path& executableDir) {
    std::error_code ec;
    auto beside = executableDir / "language";
    if (std::filesystem::is_directory(beside, ec)) return beside;
    return executableDir / ".." / "share" / "qxprog" / "language";
}

std::filesystem::path UserConfigDir(const char* xdgConfigHome, const char* home) {
    if (xdgConfigHome != nullptr && *xdgConfigHome != '\0') {
        return std::filesystem::path(xdgConfigHome) / "qxprog";
    }
    if (home != nullptr && *home != '\0') return std::filesystem::path(home) / ".config" / "qxprog";
    return {};
}

std::filesystem::path UserBackupDir(const char* xdgDataHome, const char* home) {
    if (xdgDataHome != nullptr && *xdgDataHome != '\0') {
        return std::filesystem::path(xdgDataHome) / "qxprog" / "backups";
    }
    if (home != nullptr && *home != '\0') {
        return std::filesystem::path(home) / ".local" / "share" / "qxprog" / "backups";
    }
    return {};
}

std::filesystem::path SettingsFileForReading(const SettingsPaths& paths, const std::string& name) {
    std::error_code ec;
    if (!paths.configDir.empty() && std::filesystem::exists(paths.configDir / name, ec)) {
        return paths.configDir / name;
    }
    return paths.languageDir / name;
}

namespace {

// mysetup.ini as the programs read it: the user's copy holds only what was
// written to it (a recent file, say, and no language yet), so a value it
// lacks is taken from the installed file. Each file is read once.
class MySetup {
  public:
    explicit MySetup(const SettingsPaths& paths)
        : user_(paths.configDir.empty() ? IniData()
                                        : IniData::Load(paths.configDir / kMySetupFile)),
          installed_(IniData::Load(paths.languageDir / kMySetupFile)) {}

    std::optional<std::string> Value(const std::string& section, const std::string& key) const {
        if (auto value = user_.Value(section, key)) return value;
        return installed_.Value(section, key);
    }
    std::string Text(const std::string& section, const std::string& key) const {
        return Value(section, key).value_or(std::string());
    }

  private:
    IniData user_;
    IniData installed_;
};

// Values of one section of the user's mysetup.ini, written with one rewrite
// of the file; nothing without a settings folder.
void WriteSettings(const SettingsPaths& paths, const char* section,
                   std::vector<std::pair<std::string, std::string>> values) {
    if (paths.configDir.empty()) return;
    // A line break in a value (a file name) would start lines of its own in the file.
    for (auto& [key, value] : values) {
        if (value.find_first_of("\r\n") != std::string::npos) value.clear();
    }
    (void)WriteIniValues(paths.configDir / kMySetupFile, section, values);
}

}  // namespace

std::string ReadCurrentLanguage(const SettingsPaths& paths) {
    return MySetup(paths).Text("language", "CurrentLanguage");
}

void WriteCurrentLanguage(const SettingsPaths& paths, const std::string& languageFile) {
    WriteSettings(paths, "language", {{"CurrentLanguage", languageFile}});
}

namespace {
constexpr const char* kTransferSection = "transfer";
}

TransferOptions ReadTransferChoices(const SettingsPaths& paths) {
    const MySetup setup(paths);
    const auto flag = [&setup](const char* key) { return setup.Value(kTransferSection, key); };
    TransferOptions choices;
    choices.verify = flag("VerifyAfterWrite").value_or("1") != "0";
    choices.backupFirst = flag("BackupBeforeWrite").value_or("0") == "1";
    choices.readTwice = flag("ReadTwice").value_or("0") == "1";
    choices.quickRead = flag("QuickRead").value_or("0") == "1";
    return choices;
}

void WriteTransferChoices(const SettingsPaths& paths, const TransferOptions& choices) {
    const auto flag = [](bool on) { return std::string(on ? "1" : "0"); };
    WriteSettings(paths, kTransferSection,
                  {{"VerifyAfterWrite", flag(choices.verify)},
                   {"BackupBeforeWrite", flag(choices.backupFirst)},
                   {"ReadTwice", flag(choices.readTwice)},
                   {"QuickRead", flag(choices.quickRead)}});
}

namespace {
constexpr const char* kFilesSection = "files";
constexpr const char* kWindowSection = "window";

std::string RecentKey(std::size_t index) { return "Recent" + std::to_string(index + 1); }
}  // namespace

std::string ReadLastFolder(const SettingsPaths& paths) {
    return MySetup(paths).Text(kFilesSection, "LastFolder");
}

void WriteLastFolder(const SettingsPaths& paths, const std::string& folder) {
    WriteSettings(paths, kFilesSection, {{"LastFolder", folder}});
}

std::vector<std::string> ReadRecentFiles(const SettingsPaths& paths) {
    const MySetup setup(paths);
    std::vector<std::string> files;
    // Oldest first, so that a file listed twice keeps its most recent place.
    for (std::size_t i = kMaxRecentFiles; i-- > 0;) {
        const std::string file = setup.Text(kFilesSection, RecentKey(i));
        if (!file.empty()) files = WithRecentFile(std::move(files), file);
    }
    return files;
}

void WriteRecentFiles(const SettingsPaths& paths, const std::vector<std::string>& files) {
    // Every key is written, so that entries beyond a shorter list are cleared.
    std::vector<std::pair<std::string, std::string>> values;
    for (std::size_t i = 0; i < kMaxRecentFiles; ++i)
        values.emplace_back(RecentKey(i), i < files.size() ? files[i] : "");
    WriteSettings(paths, kFilesSection, std::move(values));
}

std::string ReadWindowGeometry(const SettingsPaths& paths) {
    return MySetup(paths).Text(kWindowSection, "Geometry");
}

void WriteWindowGeometry(const SettingsPaths& paths, const std::string& geometry) {
    WriteSettings(paths, kWindowSection, {{"Geometry", geometry}});
}

std::array<std::uint8_t, 4> ReadFeatureBytes(const SettingsPaths& paths) {
    std::array<std::uint8_t, 4> bytes{};
    const std::filesystem::path path = SettingsFileForReading(paths, kFeatureFlagFile);
    if (KindOfFile(path) != FileKind::Regular) return {};
    std::ifstream in(path, std::ios::binary);
    char raw[4] = {};
    if (!in || !in.read(raw, sizeof raw)) return {};
    for (std::size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<std::uint8_t>(raw[i]);
    return bytes;
}

FeatureFlags FeatureFlagsFromBytes(const std::array<std::uint8_t, 4>& bytes) {
    return FeatureFlags{bytes[0] != 0, bytes[1] != 0, bytes[2] != 0, bytes[3] != 0};
}

void StoreFeatureFlags(Session& session) {
    const bool current[4] = {session.featureFlags.fiveTone, session.featureFlags.twoTone,
                             session.featureFlags.dtmf, session.featureFlags.fourth};
    for (std::size_t i = 0; i < 4; ++i) {
        if (session.storedFeatureBytes[i] == 0) session.storedFeatureBytes[i] = current[i] ? 1 : 0;
    }
    if (session.paths.configDir.empty()) return;
    std::error_code ec;
    std::filesystem::create_directories(session.paths.configDir, ec);
    std::ofstream out(session.paths.configDir / kFeatureFlagFile,
                      std::ios::binary | std::ios::trunc);
    if (!out) return;
    out.write(reinterpret_cast<const char*>(session.storedFeatureBytes.data()),
              static_cast<std::streamsize>(session.storedFeatureBytes.size()));
}

bool FixedPortListFor(const OsVersion& os) { return os.windowsNt && os.majorVersion == 6; }

Session StartSession(const SettingsPaths& paths, const OsVersion& os,
                     const std::string& firstPort) {
    Session session;
    session.paths = paths;
    session.radioPassword.clear();
    session.languageFile = ReadCurrentLanguage(paths);
    session.fixedPortList = FixedPortListFor(os);
    session.portName = session.fixedPortList ? "COM1" : firstPort;
    session.portSettings = Session::kPortSettings;
    session.storedFeatureBytes = ReadFeatureBytes(paths);
    session.featureFlags = FeatureFlagsFromBytes(session.storedFeatureBytes);
    session.transferChoices = ReadTransferChoices(paths);
    session.lastFolder = ReadLastFolder(paths);
    session.recentFiles = ReadRecentFiles(paths);
    return session;
}

}  // namespace qx
