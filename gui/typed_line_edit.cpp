#include "typed_line_edit.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <algorithm>
#include <utility>

#include "platform_info.h"

namespace qx {

TypedLineEdit::TypedLineEdit(KeyRule rule, std::size_t maxLength, QWidget* parent)
    : QLineEdit(parent), rule_(std::move(rule)), maxLength_(maxLength) {
    setAttribute(Qt::WA_InputMethodEnabled, false);
    setContextMenuPolicy(Qt::NoContextMenu);
    setDragEnabled(false);
    setAcceptDrops(false);
    connect(this, &QLineEdit::textEdited, this, &TypedLineEdit::edited);
}

void TypedLineEdit::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        event->accept();
        emit enterPressed();
        return;
    }
    if (event->matches(QKeySequence::Copy) || event->matches(QKeySequence::Paste) ||
        event->matches(QKeySequence::Cut)) {
        event->accept();
        return;
    }
    const QList<uint> keys = event->text().toUcs4();
    // Backspace, Delete, the arrows, Ctrl+A and the like are the line edit's own.
    const bool editingKey =
        std::all_of(keys.begin(), keys.end(), [](uint k) { return k < 0x20 || k == 0x7f; });
    if (keys.isEmpty() || editingKey) {
        QLineEdit::keyPressEvent(event);
        return;
    }
    event->accept();
    Type(event->text());
}

bool TypedLineEdit::Type(const QString& keys) {
    // The accepted characters are ASCII, so character positions are byte positions.
    const std::string text = ToStdString(this->text());
    const auto start =
        static_cast<std::size_t>(hasSelectedText() ? selectionStart() : cursorPosition());
    const auto end = start + static_cast<std::size_t>(selectedText().size());
    std::string left = text.substr(0, std::min(start, text.size()));
    const std::string right = text.substr(std::min(end, text.size()));
    const std::string before = left;
    for (uint key : keys.toUcs4()) left = rule_(left, static_cast<char32_t>(key));
    if (left == before || left.size() + right.size() > maxLength_) return false;
    setText(ToQString(left + right));
    setCursorPosition(static_cast<int>(left.size()));
    emit edited(this->text());
    return true;
}

void TypedLineEdit::mousePressEvent(QMouseEvent* event) {
    // No pasting of the selection with the middle button either.
    if (event->button() == Qt::MiddleButton) {
        event->accept();
        return;
    }
    QLineEdit::mousePressEvent(event);
}

void TypedLineEdit::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::MiddleButton) {
        event->accept();
        return;
    }
    QLineEdit::mouseReleaseEvent(event);
}

}  // namespace qx
