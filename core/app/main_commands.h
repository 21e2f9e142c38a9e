// The main window's own commands without widgets: the save question that
// guards New, the Read button, the language switch and closing, and the
// commands built on it. The window shows what these leave in the document.
#pragma once

#include <string>

#include "app/document.h"
#include "app/session.h"
#include "platform/ui.h"
#include "util/language_texts.h"

namespace qx {

// With unsaved changes asks MSG 9001 with `buttons` (YesNoCancel or YesNo).
// True when the caller may go on: no changes, "No", or "Yes" and the save
// happened. Cancel, or a save that was cancelled or failed, gives false, so
// unsaved work is never dropped.
bool ConfirmDiscard(Document& doc, Ui& ui, Buttons buttons);

// New (menu and toolbar): the save question, then a cleared document.
bool NewCommand(Document& doc, Ui& ui);

// The language menu: the choice is written to mysetup.ini and the texts are
// reloaded; the document and its history stay as they are.
void SwitchLanguage(Document& doc, Session& session, LanguageTexts& texts,
                    const std::string& languageFile);

// Closing the main window: the save question with Yes and No. False keeps
// the window open (a save the user asked for did not happen).
bool UnloadCommand(Document& doc, Ui& ui);

}  // namespace qx
