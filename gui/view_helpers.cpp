#include "view_helpers.h"

#include <QSignalBlocker>
#include <algorithm>

#include "platform_info.h"

namespace qx {
namespace {

bool SameEntries(const QComboBox& combo, const std::vector<std::string>& entries) {
    if (combo.count() != static_cast<int>(entries.size())) return false;
    for (int i = 0; i < combo.count(); ++i) {
        if (combo.itemText(i) != ToQString(entries[static_cast<std::size_t>(i)])) return false;
    }
    return true;
}

}  // namespace

void ShowList(QComboBox* combo, const ListControl& list) {
    const QSignalBlocker quiet(combo);
    if (!SameEntries(*combo, list.entries)) {
        combo->clear();
        for (const std::string& entry : list.entries) combo->addItem(ToQString(entry));
    }
    combo->setPlaceholderText(list.selected < 0 ? ToQString(list.text) : QString());
    combo->setCurrentIndex(list.selected);
    combo->setEnabled(list.enabled);
}

void ShowText(QLineEdit* edit, const std::string& text) {
    const QString shown = ToQString(text);
    if (edit->text() == shown) return;
    const int cursor = edit->cursorPosition();
    edit->setText(shown);
    edit->setCursorPosition(std::min(cursor, static_cast<int>(shown.size())));
}

bool IsEnter(const QKeyEvent* event) {
    return event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
}

int TwipsToPixels(const QWidget* widget, int twips) {
    constexpr int kTwipsPerInch = 1440;
    return twips * widget->logicalDpiX() / kTwipsPerInch;
}

}  // namespace qx
