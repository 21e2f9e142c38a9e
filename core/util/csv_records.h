// Comma-separated text as spreadsheets write it: records split with quoted
// fields (separators, doubled quotes and line breaks inside quotes), fields
// quoted where they need it, and the test for text that is no text at all.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace qx {

struct CsvRecord {
    int line = 0;  // the line the record starts on, from 1
    std::vector<std::string> fields;
    bool unterminated = false;  // a quoted field runs to the end of the text
};

// Splits the text into records: CR LF and LF both end a record; empty lines
// give none.
std::vector<CsvRecord> SplitCsvRecords(std::string_view text, char separator);

// The field as a record holds it: quoted when it has a separator, a quote,
// a tab or a line break.
std::string QuotedCsvField(const std::string& field);

// The fields as one record, each quoted where it needs it, ended by CR LF.
std::string CsvRecordLine(const std::vector<std::string>& fields);

// Control bytes other than tab and line breaks, or bytes that are no UTF-8.
bool LooksBinary(std::string_view text);

}  // namespace qx
