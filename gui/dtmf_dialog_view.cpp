#include "dtmf_dialog_view.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QPushButton>
#include <QVBoxLayout>

#include "dialog_buttons.h"
#include "platform_info.h"
#include "typed_line_edit.h"

namespace qx {

DtmfDialogView::DtmfDialogView(Document& doc, const LanguageTexts& texts, QWidget* parent)
    : QDialog(parent), doc_(doc), dialog_(doc, texts) {
    setObjectName(QStringLiteral("FrmDTMF"));
    const DtmfCaptions& captions = dialog_.Captions();
    setWindowTitle(ToQString(captions.window));

    auto* frame = new QGroupBox(ToQString(captions.frame), this);
    frame->setObjectName(QStringLiteral("Frame1"));
    auto* grid = new QGridLayout(frame);
    for (std::size_t i = 0; i < kDtmfMemoryCount; ++i) {
        auto* entry = new TypedLineEdit(TypeDtmfKey, kDtmfMemoryMaxLength, frame);
        entry->setObjectName(QStringLiteral("Text1"));
        entry->setProperty("index", static_cast<int>(i));
        entry->setText(ToQString(dialog_.Entry(i)));
        // The memories have no labels of their own: the frame and the number name them.
        entry->setAccessibleName(frame->title() + QLatin1Char(' ') + QString::number(i + 1));
        // Wide enough for four digits: a stored value may show as "FFFF".
        entry->setFixedWidth(entry->fontMetrics().horizontalAdvance(QStringLiteral("WWWWWW")));
        connect(entry, &TypedLineEdit::edited, this,
                [this, i](const QString& text) { dialog_.SetEntryText(i, ToStdString(text)); });
        connect(entry, &TypedLineEdit::enterPressed, this, [this] { focusNextChild(); });
        entries_[i] = entry;

        // Two rows of four, memories 1..8 in reading order.
        grid->addWidget(entry, static_cast<int>(i / 4), static_cast<int>(i % 4));
    }

    const DialogButtons buttons = MakeDialogButtons(this, ToQString(captions.ok), "CommandOK",
                                                    ToQString(captions.cancel), "CommandCANCEL");
    connect(buttons.ok, &QPushButton::clicked, this, &DtmfDialogView::OnOk);
    connect(buttons.cancel, &QPushButton::clicked, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(frame);
    layout->addLayout(buttons.row);
    entries_[0]->setFocus();
}

void DtmfDialogView::OnOk() {
    dialog_.Ok(doc_);
    accept();
}

}  // namespace qx
