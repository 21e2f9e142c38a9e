#include "print/print_table.h"

#include <algorithm>
#include <filesystem>
#include <string_view>

#include "app/export_file.h"
#include "app/grid_columns.h"
#include "channels/cell_editors.h"
#include "codeplug/models.h"
#include "codeplug/option_fields.h"
#include "codeplug/options.h"
#include "files/atomic_file.h"
#include "options/option_dialog.h"
#include "signalling/dtmf_dialog.h"
#include "signalling/five_tone_dialog.h"
#include "signalling/two_tone_dialog.h"
#include "util/text.h"

namespace qx {
namespace {

std::string Text(const LanguageTexts& lang, const char* key, const char* fallback) {
    std::string text = lang.LanguageText("Print", key);
    return text.empty() ? fallback : text;
}

// A dialog label without the colon after it ("：" in Chinese).
std::string WithoutColon(std::string label) {
    constexpr std::string_view kWideColon = "\xEF\xBC\x9A";
    for (;;) {
        if (!label.empty() && (label.back() == ':' || label.back() == ' ')) {
            label.pop_back();
        } else if (label.ends_with(kWideColon)) {
            label.resize(label.size() - kWideColon.size());
        } else {
            return label;
        }
    }
}

// What a list shows: its text, else its selected entry.
std::string Shown(const ListControl& list) {
    if (!list.text.empty() || list.selected < 0) return list.text;
    return list.entries.at(static_cast<std::size_t>(list.selected));
}

bool RowPrinted(const Document& doc, int row) {
    return row > kChannelRows || doc.codeplug().Row(row).inUse;
}

PrintSection ChannelSection(const Document& doc, const LanguageTexts& lang) {
    PrintSection section;
    section.title = Text(lang, "Channels", "Channels");
    for (const int column : PrintedColumns())
        section.headings.push_back(doc.texts.headings[column]);
    for (int row = 1; row <= kRowCount; ++row) {
        if (!RowPrinted(doc, row)) continue;
        std::vector<std::string> cells;
        for (const int column : PrintedColumns()) cells.push_back(CellText(doc, row, column));
        section.rows.push_back(std::move(cells));
    }
    return section;
}

PrintSection SettingsSection(const Document& doc, const LanguageTexts& lang) {
    PrintSection section;
    section.title = Text(lang, "Settings", "Options and signalling");
    section.headings = {Text(lang, "Setting", "Setting"), Text(lang, "Value", "Value")};
    const Codeplug& codeplug = doc.codeplug();
    const OptionDialog options(codeplug.options, lang);
    for (int field = 1; field <= kOptionFieldCount; ++field) {
        const std::string value = OptionWord(codeplug.options, field);
        // Fields that do not apply in the current mode hold a placeholder.
        if (value == kOptionPlaceholder) continue;
        section.rows.push_back({WithoutColon(options.Label(field)), value});
    }
    const std::string autoDialer = Text(lang, "AutoDialer", "Auto dialer");
    for (std::size_t m = 0; m < codeplug.autoDialer.entries.size(); ++m) {
        section.rows.push_back(
            {autoDialer + " M" + std::to_string(m + 1), codeplug.autoDialer.entries[m]});
    }
    // The signalling the radio's features offer, as its dialogs show it. The
    // dialogs edit a working copy, so they are opened over a scratch document.
    Document scratch(codeplug);
    scratch.texts = doc.texts;
    if (doc.menus.dtmf) {
        const std::string dtmf = Text(lang, "DtmfMemory", "DTMF memory");
        const auto& memories = codeplug.signalling.dtmfMemories;
        for (std::size_t m = 0; m < memories.size(); ++m) {
            section.rows.push_back(
                {dtmf + " " + std::to_string(m + 1), DtmfMemoryText(memories[m])});
        }
    }
    if (doc.menus.twoTone) {
        const TwoToneDialog dialog(scratch, lang);
        const std::string prefix = Text(lang, "TwoTone", "2-tone") + " ";
        const TwoToneCaptions& captions = dialog.Captions();
        section.rows.push_back(
            {prefix + WithoutColon(captions.pairLabel), Shown(dialog.PairList())});
        section.rows.push_back(
            {prefix + WithoutColon(captions.responseLabel), Shown(dialog.ResponseList())});
        for (int k = 0; k < 4; ++k) {
            section.rows.push_back(
                {prefix + WithoutColon(captions.timeLabels.at(k)), Shown(dialog.TimeList(k))});
        }
    }
    if (doc.menus.fiveTone) {
        const FiveToneDialog dialog(scratch, lang);
        const std::string prefix = Text(lang, "FiveTone", "5-tone") + " ";
        const auto label = [&](const char* key) {
            return prefix + WithoutColon(lang.LanguageText("OPTION", key));
        };
        section.rows.push_back({label("60072"), dialog.SelfIdText()});
        section.rows.push_back({label("60061"), Shown(dialog.OwnStandard())});
        section.rows.push_back({label("60070"), Shown(dialog.Response())});
        section.rows.push_back({label("60071"), Shown(dialog.ToneTime())});
        section.rows.push_back({label("60081"), Shown(dialog.Delay())});
    }
    return section;
}

}  // namespace

std::vector<int> PrintedColumns() {
    std::vector<int> columns;
    for (int column = kColLabel; column <= kColOptSignal; ++column) {
        if (column != kColAni) columns.push_back(column);
    }
    return columns;
}

PrintTable BuildPrintTable(const Document& doc, const LanguageTexts& lang,
                           const std::string& date) {
    PrintTable table;
    table.title = Text(lang, "Title", "Channel list");
    const ModelInfo* model = ModelAt(doc.model());
    table.header = {
        {Text(lang, "Model", "Model:"), model != nullptr ? model->name : std::string()},
        {Text(lang, "File", "File:"), std::filesystem::path(doc.filename).filename().string()},
        {Text(lang, "Date", "Date:"), date},
    };
    table.pageText = Text(lang, "Page", "Page %1 of %2");
    table.sections = {ChannelSection(doc, lang), SettingsSection(doc, lang)};
    return table;
}

std::vector<PrintPage> PaginatePrintTable(const PrintTable& table) {
    std::vector<PrintPage> pages;
    for (std::size_t s = 0; s < table.sections.size(); ++s) {
        const std::size_t rows = table.sections[s].rows.size();
        std::size_t first = 0;
        do {
            const std::size_t count = std::min(kPrintRowsPerPage, rows - first);
            pages.push_back({s, first, count});
            first += count;
        } while (first < rows);
    }
    return pages;
}

std::string PageText(const PrintTable& table, int page, int pages) {
    return FillPlaceholders(table.pageText, {std::to_string(page), std::to_string(pages)});
}

bool ExportPdfCommand(const Document& doc, const LanguageTexts& lang, const std::string& date,
                      Ui& ui, const PdfRenderer& render) {
    const auto path = ChooseExportFile(ui, kPdfFilter, ".pdf");
    if (!path) return false;
    std::string error;
    std::string bytes = render(BuildPrintTable(doc, lang, date), error);
    if (bytes.empty()) {
        ui.ShowError(FileErrorText("Cannot save", *path, error.empty() ? "no output" : error));
        return false;
    }
    return WriteExportFile(ui, *path, std::move(bytes));
}

}  // namespace qx
