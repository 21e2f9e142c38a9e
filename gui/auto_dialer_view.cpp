#include "auto_dialer_view.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "dialog_buttons.h"
#include "platform_info.h"

namespace qx {

AutoDialerView::AutoDialerView(Document& doc, const LanguageTexts& texts, Ui& ui, QWidget* parent)
    : QDialog(parent), doc_(doc), dialog_(doc.codeplug().autoDialer, texts, ui) {
    setObjectName(QStringLiteral("Frm_AutoDialer"));
    setWindowTitle(ToQString(dialog_.title()));

    auto* frame = new QGroupBox(ToQString(dialog_.title()), this);
    frame->setObjectName(QStringLiteral("Frame1"));
    auto* prompt = new QLabel(ToQString(dialog_.prompt()), frame);
    prompt->setObjectName(QStringLiteral("Label12"));
    prompt->setWordWrap(true);
    auto* hint = new QLabel(QLatin1String(AutoDialerDialog::kHint), frame);
    hint->setObjectName(QStringLiteral("Label11"));

    auto* frameLayout = new QVBoxLayout(frame);
    frameLayout->addWidget(prompt);
    frameLayout->addWidget(hint);
    for (int i = 0; i < kAutoDialEntries; ++i) {
        auto* entry = new QLineEdit(ToQString(dialog_.Entry(i)), frame);
        entry->setObjectName(QStringLiteral("Text%1").arg(i + 1));
        entry->setAccessibleName(frame->title() + QLatin1Char(' ') + QString::number(i + 1));
        // No length limit here: a too-long paste must reach the core, which
        // cuts it and says so, rather than be cut silently by the widget.
        connect(entry, &QLineEdit::textEdited, this,
                [this, i](const QString& text) { OnEdited(i, text); });
        entries_[static_cast<std::size_t>(i)] = entry;
        frameLayout->addWidget(entry);
    }

    const DialogButtons buttons =
        MakeDialogButtons(this, ToQString(dialog_.okText()), "CommandOK",
                          ToQString(dialog_.cancelText()), "CommandCANCEL");
    connect(buttons.ok, &QPushButton::clicked, this, &AutoDialerView::OnOk);
    connect(buttons.cancel, &QPushButton::clicked, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(frame);
    layout->addLayout(buttons.row);
    setMinimumWidth(300);
}

void AutoDialerView::OnEdited(int index, const QString& text) {
    // The core may show a message here; the entry shows its result afterwards.
    const QString kept = ToQString(dialog_.ChangeEntry(index, ToStdString(text)));
    QLineEdit* entry = entries_[static_cast<std::size_t>(index)];
    if (entry->text() != kept) entry->setText(kept);
    entry->setCursorPosition(static_cast<int>(kept.size()));
}

void AutoDialerView::OnOk() {
    dialog_.Ok(doc_);
    accept();
}

}  // namespace qx
