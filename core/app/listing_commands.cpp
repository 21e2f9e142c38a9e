#include "app/listing_commands.h"

#include <string_view>

#include "app/export_file.h"

namespace qx {
namespace {

constexpr std::string_view kBreak = "\r\n";

}  // namespace

ListingWords ListingWordsOf(const DocumentTexts& texts) {
    return {texts.active, texts.wide, texts.narrow, texts.scanSkipOff, texts.scanSkipOn};
}

bool PrintToFileCommand(const Document& doc, Ui& ui) {
    const auto path = ChooseExportFile(ui, kListingFilter, "");
    if (!path) return false;
    const std::vector<std::string> lines =
        BuildListing(doc.codeplug(), ListingWordsOf(doc.texts), ListingTarget::File);
    return WriteExportFile(ui, *path, ListingFileText(lines));
}

bool PrintCommand(const Document& doc, Ui& ui, Printer& printer) {
    if (ui.Ask(doc.texts.printQuestion, Buttons::OkCancel) != Answer::Ok) return false;
    const std::vector<std::string> lines =
        BuildListing(doc.codeplug(), ListingWordsOf(doc.texts), ListingTarget::Printer);
    for (const std::string& line : lines) {
        const std::string_view text(line);
        const bool breaks = text.ends_with(kBreak);
        std::string error = printer.PrintLine(breaks ? text.substr(0, text.size() - 2) : text);
        if (error.empty() && breaks) error = printer.PrintLine("");
        if (!error.empty()) {
            ui.ShowError(error);
            return false;
        }
    }
    if (std::string error = printer.EndDocument(); !error.empty()) {
        ui.ShowError(error);
        return false;
    }
    return true;
}

}  // namespace qx
