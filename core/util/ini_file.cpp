#include "util/ini_file.h"

#include <fstream>
#include <sstream>
#include <system_error>
#include <vector>

#include "util/file_kind.h"
#include "util/text.h"

namespace qx {
namespace {

std::string LookupKey(const std::string& section, const std::string& key) {
    return ToUpperAscii(Trim(section)) + "\n" + ToUpperAscii(Trim(key));
}

// A settings or language file is small: a pipe, a device or an oversized
// file counts as missing rather than blocking or filling the memory.
constexpr std::uintmax_t kMaxIniBytes = 1 << 20;

std::string ReadWholeFile(const std::filesystem::path& path) {
    std::error_code ec;
    if (KindOfFile(path) != FileKind::Regular) return {};
    if (std::filesystem::file_size(path, ec) > kMaxIniBytes || ec) return {};
    std::ifstream in(path, std::ios::binary);
    if (!in) return {};
    std::ostringstream buffer;
    buffer << in.rdbuf();
    return buffer.str();
}

std::vector<std::string> Lines(const std::string& content) {
    std::vector<std::string> lines = Split(content, '\n');
    for (auto& line : lines) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
    }
    if (!lines.empty() && lines.back().empty()) lines.pop_back();
    return lines;
}

// "[Name]" -> "Name"; nullopt for other lines.
std::optional<std::string> SectionName(const std::string& line) {
    const std::string t = Trim(line);
    if (t.size() < 2 || t.front() != '[' || t.back() != ']') return std::nullopt;
    return Trim(std::string_view(t).substr(1, t.size() - 2));
}

}  // namespace

IniData IniData::Parse(const std::string& content) {
    IniData data;
    std::string_view text = content;
    if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
    std::string section;
    for (const auto& line : Lines(std::string(text))) {
        if (auto name = SectionName(line)) {
            section = *name;
            continue;
        }
        const std::string t = Trim(line);
        if (t.empty() || t[0] == ';') continue;
        const std::size_t eq = t.find('=');
        if (eq == std::string::npos) continue;
        data.values_.try_emplace(LookupKey(section, t.substr(0, eq)), Trim(t.substr(eq + 1)));
    }
    return data;
}

IniData IniData::Load(const std::filesystem::path& path) { return Parse(ReadWholeFile(path)); }

std::optional<std::string> IniData::Value(const std::string& section,
                                          const std::string& key) const {
    const auto it = values_.find(LookupKey(section, key));
    if (it == values_.end()) return std::nullopt;
    return it->second;
}

namespace {

// Sets `key` in `section` of the file's lines: the key's line replaced, else
// a line added after the section's last one, else the section added at the end.
void SetIniLine(std::vector<std::string>& lines, const std::string& section, const std::string& key,
                const std::string& value) {
    const std::string newLine = key + "=" + value;
    bool inSection = false;
    std::optional<std::size_t> sectionEnd;  // index after the last line of the section
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (auto name = SectionName(lines[i])) {
            inSection = EqualsIgnoreCase(*name, section);
            if (inSection) sectionEnd = i + 1;
            continue;
        }
        if (!inSection) continue;
        const std::string t = Trim(lines[i]);
        if (!t.empty()) sectionEnd = i + 1;
        const std::size_t eq = t.find('=');
        if (eq != std::string::npos && EqualsIgnoreCase(Trim(t.substr(0, eq)), key)) {
            lines[i] = newLine;
            return;
        }
    }
    if (sectionEnd) {
        lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(*sectionEnd), newLine);
        return;
    }
    if (!lines.empty() && !Trim(lines.back()).empty()) lines.emplace_back();
    lines.push_back("[" + section + "]");
    lines.push_back(newLine);
}

}  // namespace

bool WriteIniValues(const std::filesystem::path& path, const std::string& section,
                    const std::vector<std::pair<std::string, std::string>>& values) {
    std::vector<std::string> lines = Lines(ReadWholeFile(path));
    for (const auto& [key, value] : values) SetIniLine(lines, section, key, value);
    std::error_code ec;
    if (path.has_parent_path()) std::filesystem::create_directories(path.parent_path(), ec);
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    if (!out) return false;
    for (const auto& line : lines) out << line << '\n';
    out.flush();
    return static_cast<bool>(out);
}

}  // namespace qx
