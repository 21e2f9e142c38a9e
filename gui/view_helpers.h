// Small pieces every view uses to show what the core returns: a list control
// in a combo box, a filtered text in a line edit, twips on the screen.
#pragma once

#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <string>

#include "app/list_control.h"

namespace qx {

// Entries (rebuilt only when they differ), the selection, and a text that is
// no entry shown as the box's placeholder with nothing selected; enabled state.
void ShowList(QComboBox* combo, const ListControl& list);

// Puts the core's text into the field, keeping the cursor where it can.
void ShowText(QLineEdit* edit, const std::string& text);

bool IsEnter(const QKeyEvent* event);

// A width given in twips (1440 to the inch) in the widget's pixels.
int TwipsToPixels(const QWidget* widget, int twips);

}  // namespace qx
