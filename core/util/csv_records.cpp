#include "util/csv_records.h"

namespace qx {
namespace {

bool IsValidUtf8(std::string_view text) {
    for (std::size_t i = 0; i < text.size();) {
        const auto c = static_cast<unsigned char>(text[i]);
        int more = 0;
        if (c < 0x80) {
            more = 0;
        } else if (c >= 0xC2 && c <= 0xDF) {
            more = 1;
        } else if (c >= 0xE0 && c <= 0xEF) {
            more = 2;
        } else if (c >= 0xF0 && c <= 0xF4) {
            more = 3;
        } else {
            return false;
        }
        if (i + static_cast<std::size_t>(more) >= text.size()) return false;
        for (int k = 1; k <= more; ++k) {
            if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80) return false;
        }
        i += static_cast<std::size_t>(more) + 1;
    }
    return true;
}

}  // namespace

bool LooksBinary(std::string_view text) {
    for (char ch : text) {
        const auto c = static_cast<unsigned char>(ch);
        if ((c < 0x20 && c != '\t' && c != '\r' && c != '\n') || c == 0x7F) return true;
    }
    return !IsValidUtf8(text);
}

std::vector<CsvRecord> SplitCsvRecords(std::string_view text, char separator) {
    std::vector<CsvRecord> records;
    int line = 1;
    std::size_t i = 0;
    while (i < text.size()) {
        CsvRecord record;
        record.line = line;
        std::string field;
        bool quoted = false;
        bool atFieldStart = true;
        bool ended = false;
        while (i < text.size() && !ended) {
            const char c = text[i];
            if (quoted) {
                if (c == '"') {
                    if (i + 1 < text.size() && text[i + 1] == '"') {
                        field += '"';
                        i += 2;
                        continue;
                    }
                    quoted = false;
                } else {
                    if (c == '\n') ++line;
                    field += c;
                }
                ++i;
                continue;
            }
            if (c == '"' && atFieldStart) {
                quoted = true;
                atFieldStart = false;
                ++i;
            } else if (c == separator) {
                record.fields.push_back(std::move(field));
                field.clear();
                atFieldStart = true;
                ++i;
            } else if (c == '\r' || c == '\n') {
                i += (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ? 2 : 1;
                ++line;
                ended = true;
            } else {
                field += c;
                atFieldStart = false;
                ++i;
            }
        }
        record.unterminated = quoted;
        record.fields.push_back(std::move(field));
        const bool empty = record.fields.size() == 1 && record.fields.front().empty();
        if (!empty || record.unterminated) records.push_back(std::move(record));
    }
    return records;
}

std::string QuotedCsvField(const std::string& field) {
    if (field.find_first_of(",\"\r\n\t") == std::string::npos) return field;
    std::string out = "\"";
    for (char c : field) {
        if (c == '"') out += '"';
        out += c;
    }
    return out + "\"";
}

std::string CsvRecordLine(const std::vector<std::string>& fields) {
    std::string line;
    for (std::size_t i = 0; i < fields.size(); ++i)
        line += (i > 0 ? "," : "") + QuotedCsvField(fields[i]);
    return line + "\r\n";
}

}  // namespace qx
