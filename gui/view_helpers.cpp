#include "view_helpers.h"

#include <QLabel>
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

void NameAfterColumn(QWidget* editor, const QAbstractItemModel* model, int column) {
    editor->setAccessibleName(
        model->headerData(column, Qt::Horizontal).toString().remove(QLatin1Char('&')).trimmed());
}

void LabelFormFields(const QFormLayout* form) {
    for (int row = 0; row < form->rowCount(); ++row) {
        const QLayoutItem* label = form->itemAt(row, QFormLayout::LabelRole);
        const QLayoutItem* field = form->itemAt(row, QFormLayout::FieldRole);
        if (label == nullptr || field == nullptr) continue;
        if (auto* caption = qobject_cast<QLabel*>(label->widget()))
            caption->setBuddy(field->widget());
    }
}

void ChainTabOrder(std::initializer_list<QWidget*> widgets) {
    QWidget* previous = nullptr;
    for (QWidget* next : widgets) {
        if (next == nullptr) continue;
        if (previous != nullptr) QWidget::setTabOrder(previous, next);
        previous = next;
    }
}

bool IsEnter(const QKeyEvent* event) {
    return event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
}

int TwipsToPixels(const QWidget* widget, int twips) {
    constexpr int kTwipsPerInch = 1440;
    return twips * widget->logicalDpiX() / kTwipsPerInch;
}

}  // namespace qx
