#include "app/main_commands.h"

#include "app/channel_ops.h"
#include "app/project_file.h"
#include "app/settings_files.h"

namespace qx {

bool ConfirmDiscard(Document& doc, Ui& ui, Buttons buttons) {
    if (!doc.Modified()) return true;
    switch (ui.Ask(doc.texts.Message(9001), buttons)) {
        case Answer::Yes:
            return SaveCommand(doc, ui);
        case Answer::No:
            return true;
        default:
            return false;
    }
}

bool NewCommand(Document& doc, Ui& ui) {
    if (!ConfirmDiscard(doc, ui, Buttons::YesNoCancel)) return false;
    ClearAll(doc);
    return true;
}

void SwitchLanguage(Document& doc, Session& session, LanguageTexts& texts,
                    const std::string& languageFile) {
    WriteCurrentLanguage(session.paths, languageFile);
    session.languageFile = languageFile;
    texts = LanguageTexts(session.paths.languageDir, languageFile);
    // Texts only: the document and its history stay as they are.
    doc.texts = DocumentTexts::From(texts);
}

bool UnloadCommand(Document& doc, Ui& ui) { return ConfirmDiscard(doc, ui, Buttons::YesNo); }

}  // namespace qx
