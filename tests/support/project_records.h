// The hand-made project of tests/data/files as records, and the edits the
// project tests make to them: a record replaced, a bad record before the
// count, the file padded to a size.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "temp_dir.h"

namespace qx::test {

inline constexpr const char* kRecordEnd = "\r\r\n";

inline std::string GoldenProject() { return ReadBytes(DataFile("fresh_model3.qx")); }
inline std::vector<std::uint8_t> GoldenTonBytes() {
    const std::string bytes = ReadBytes(DataFile("signalling.ton"));
    return {bytes.begin(), bytes.end()};
}

inline std::vector<std::string> Records(const std::string& text) {
    std::vector<std::string> records;
    for (std::size_t start = 0; start < text.size();) {
        const std::size_t end = text.find(kRecordEnd, start);
        records.push_back(text.substr(start, end - start));
        start = end + 3;
    }
    return records;
}

inline std::string Joined(const std::vector<std::string>& records,
                          const std::string& end = kRecordEnd) {
    std::string text;
    for (const std::string& record : records) text += record + end;
    return text;
}

using RecordChange = std::function<void(std::vector<std::string>&)>;

inline std::string GoldenWith(const RecordChange& change) {
    std::vector<std::string> records = Records(GoldenProject());
    change(records);
    return Joined(records);
}

// Record `record` (0-based) replaced by `text`.
inline RecordChange SetRecord(std::size_t record, const std::string& text) {
    return [=](std::vector<std::string>& r) { r[record] = text; };
}
// The same, with a 108th record after it: a bad option or dialer record is
// met before the record count.
inline RecordChange MalformedRecord(std::size_t record, const std::string& text) {
    return [=](std::vector<std::string>& r) {
        r[record] = text;
        r.push_back("200|");
    };
}
// Empty lines up to a file of `size` bytes: they do not count as records.
inline RecordChange SizedTo(std::size_t size) {
    return [=](std::vector<std::string>& r) {
        r.push_back(std::string(size - GoldenProject().size() - 3, '\n'));
    };
}

}  // namespace qx::test
