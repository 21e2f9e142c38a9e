// Small pieces every view uses to show what the core returns: a list control
// in a combo box, a filtered text in a line edit, twips on the screen.
#pragma once

#include <QAbstractItemModel>
#include <QComboBox>
#include <QFormLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <initializer_list>
#include <string>

#include "app/list_control.h"

namespace qx {

// Entries (rebuilt only when they differ), the selection, and a text that is
// no entry shown as the box's placeholder with nothing selected; enabled state.
void ShowList(QComboBox* combo, const ListControl& list);

// Puts the core's text into the field, keeping the cursor where it can.
void ShowText(QLineEdit* edit, const std::string& text);

// Names an in-place editor after the heading of the column it edits, which
// is what a screen reader announces for it.
void NameAfterColumn(QWidget* editor, const QAbstractItemModel* model, int column);

// Makes each caption of the form the buddy of its field, so that a screen
// reader names the field after it (addRow with a label widget does not).
void LabelFormFields(const QFormLayout* form);

// Tab moves through `widgets` in this order; null entries are left out.
void ChainTabOrder(std::initializer_list<QWidget*> widgets);

bool IsEnter(const QKeyEvent* event);

// A width given in twips (1440 to the inch) in the widget's pixels.
int TwipsToPixels(const QWidget* widget, int twips);

}  // namespace qx
