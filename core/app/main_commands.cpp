#include "app/main_commands.h"

#include "app/settings_files.h"
#include "channels/channel_ops.h"
#include "files/project_file.h"

namespace qx {

bool ConfirmDiscard(Document& doc, Ui& ui, Buttons buttons) {
    if (!doc.bModify) return true;
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

bool SwitchLanguage(Document& doc, Session& session, LanguageTexts& texts,
                    const std::string& languageFile, Ui& ui) {
    if (!ConfirmDiscard(doc, ui, Buttons::YesNoCancel)) return false;
    WriteCurrentLanguage(session.paths, languageFile);
    session.LanguageFile = languageFile;
    texts = LanguageTexts(session.paths.languageDir, languageFile);
    // The question has been answered: the load's model change must not ask again.
    doc.bModify = false;
    LoadMainWindow(doc, texts, session.featureFlags, ui);
    ClearAll(doc);
    return true;
}

bool UnloadCommand(Document& doc, Ui& ui) { return ConfirmDiscard(doc, ui, Buttons::YesNo); }

}  // namespace qx
