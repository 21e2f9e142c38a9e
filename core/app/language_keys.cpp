#include "app/language_keys.h"

namespace qx {
namespace {

void AddRange(std::vector<LanguageKey>& keys, const std::string& section, int first, int last) {
    for (int k = first; k <= last; ++k) keys.push_back({section, std::to_string(k)});
}

std::vector<LanguageKey> BuildKeys() {
    std::vector<LanguageKey> keys;
    for (const char* k : {"1000M", "2000M", "3000M", "4000M"}) keys.push_back({"Menu", k});
    AddRange(keys, "Menu", 10000, 10006);
    AddRange(keys, "Menu", 20000, 20004);
    AddRange(keys, "Menu", 30000, 30003);
    AddRange(keys, "Menu", 40001, 40004);
    keys.push_back({"Menu", "5000M"});
    AddRange(keys, "Menu", 50001, 50009);
    AddRange(keys, "Toolbar", 8000, 8008);
    AddRange(keys, "MSG", 9001, 9009);
    for (const char* k : {"900A", "900B", "900C"}) keys.push_back({"MSG", k});
    keys.push_back({"OTHERS", "70001"});
    keys.push_back({"OTHERS", "70004"});
    AddRange(keys, "OTHERS", 70007, 70018);
    AddRange(keys, "Channel", 50000, 50016);
    AddRange(keys, "Channel", 50019, 50024);
    keys.push_back({"OPTION", "6000P"});
    AddRange(keys, "OPTION", 60001, 60059);
    AddRange(keys, "OPTION", 60061, 60064);
    AddRange(keys, "OPTION", 60069, 60089);
    AddRange(keys, "OPTION", 60093, 60095);
    for (const char* k : {"6100C", "61002", "61003"}) keys.push_back({"COMMSET", k});
    for (const char* k : {"msg1",
                          "msg2",
                          "msg3",
                          "msg4",
                          "msgopen",
                          "msgversion",
                          "msgmodeltypedif",
                          "msgbanddif",
                          "RW001",
                          "rw002",
                          "rw003",
                          "rw004",
                          "rw005",
                          "rw006",
                          "rw007",
                          "rw008",
                          "rw009",
                          "rw011",
                          "rw012",
                          "rw013",
                          "msgverify",
                          "msgverifynoanswer",
                          "msgverifyblock",
                          "msgpartly",
                          "msgrestorehint",
                          "msgnobackup",
                          "msgbackupfailed",
                          "msgreadsdiffer",
                          "msgpassworddamaged",
                          "msgpasswordlong",
                          "msgpasswordchar"}) {
        keys.push_back({"RW", k});
    }
    for (const char* k : {"UndoStep",       "RedoStep",     "Row",           "CallRow",
                          "OnOff",          "Model",        "Options",       "AutoDialer",
                          "Dtmf",           "TwoTone",      "FiveTone",      "New",
                          "Open",           "Read",         "Other",         "InsertChannel",
                          "DeleteChannels", "MoveChannels", "ClearChannels", "InsertLosesLast"}) {
        keys.push_back({"Edit", k});
    }
    for (const char* k : {"Completed", "Undone", "Failed", "Replace", "Gone"}) {
        keys.push_back({"Files", k});
    }
    keys.push_back({"Menu", "SaveAs"});
    for (const char* k : {"Rounded", "NameLeft", "NameLeftOne"}) keys.push_back({"Grid", k});
    for (const char* k : {"Line",
                          "Error",
                          "Warning",
                          "WarningLine",
                          "Severity",
                          "Where",
                          "Field",
                          "Message",
                          "Title",
                          "GoOn",
                          "Cancel",
                          "None",
                          "Options",
                          "AutoDialer",
                          "FiveTone",
                          "FieldName",
                          "FieldRxFrequency",
                          "FieldTxFrequency",
                          "FieldRxTone",
                          "FieldPriority",
                          "FieldOptionSignal",
                          "FieldMrNumber",
                          "FieldSquelch",
                          "DialMemory",
                          "FiveToneCode",
                          "PttIdBegin",
                          "PttIdEnd",
                          "SelfId",
                          "RxOutOfBand",
                          "TxOutOfBand",
                          "RxNotStorable",
                          "OffsetNotStorable",
                          "FrequencyNotExact",
                          "NameCharacter",
                          "NameTooLong",
                          "SignalCodeOutOfList",
                          "SignalSubCodeOutOfList",
                          "PriorityNotInUse",
                          "EmergencyCallNotInUse",
                          "DialCharacter",
                          "DialTooLong",
                          "FiveToneCodeNotStorable",
                          "OptionOutOfList",
                          "SameName",
                          "SameRxFrequency",
                          "TxToneWithoutRxTone",
                          "SignalCodeEmpty",
                          "ScanLimitsReversed",
                          "StartChannelNotInUse",
                          "MenuEntry"}) {
        keys.push_back({"Check", k});
    }
    for (const char* k : {"Line",
                          "LineNoColumn",
                          "Skipped",
                          "Changed",
                          "Totals",
                          "NoRows",
                          "TooLarge",
                          "Binary",
                          "NoFrequencyColumn",
                          "Malformed",
                          "BadNumber",
                          "UnknownDuplex",
                          "UnknownToneMode",
                          "UnknownCrossMode",
                          "ToneNotInList",
                          "BadPolarity",
                          "UnusableMode",
                          "TransmitOff",
                          "UnknownStep",
                          "UnknownSkip",
                          "LocationTooHigh",
                          "NoFreeChannel",
                          "RxOutOfBand",
                          "TxOutOfBand",
                          "Rounded",
                          "NameChanged"}) {
        keys.push_back({"Csv", k});
    }
    AddRange(keys, "Menu", 10009, 10010);
    for (const char* k : {"Title", "Channels", "Settings", "Setting", "Value", "Model", "File",
                          "Date", "Page", "AutoDialer", "DtmfMemory", "TwoTone", "FiveTone"}) {
        keys.push_back({"Print", k});
    }
    for (const char* k : {"Missing", "NoPermissionGroup", "NoPermission", "PathLabel", "Refresh"}) {
        keys.push_back({"Port", k});
    }
    return keys;
}

}  // namespace

const std::vector<LanguageKey>& AllLanguageKeys() {
    static const std::vector<LanguageKey> keys = BuildKeys();
    return keys;
}

}  // namespace qx
