#include "option_dialog_view.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>
#include <cstring>

#include "dialog_buttons.h"
#include "platform_info.h"
#include "view_helpers.h"

namespace qx {
namespace {

// The list fields fill two columns of label and box pairs.
constexpr int kRowsPerColumn = 12;

}  // namespace

OptionDialogView::OptionDialogView(Document& doc, const LanguageTexts& texts, QWidget* parent)
    : QDialog(parent), doc_(doc), dialog_(doc.codeplug().options, texts) {
    setObjectName(QStringLiteral("Frm_Option"));
    setWindowTitle(ToQString(dialog_.title()));

    auto* frame = new QGroupBox(ToQString(dialog_.title()), this);
    frame->setObjectName(QStringLiteral("Frame1"));
    auto* grid = new QGridLayout;
    auto* checkRow = new QHBoxLayout;
    int listPosition = 0;
    for (int field = 1; field <= kOptionFieldCount; ++field) {
        const QString name = QLatin1String(OptionDialog::ControlName(field));
        const QString label = ToQString(dialog_.Label(field));
        if (IsOptionCheckBox(field)) {
            auto* check = new QCheckBox(label, frame);
            check->setObjectName(name);
            connect(check, &QCheckBox::toggled, this, [this, field](bool checked) {
                dialog_.SetChecked(field, checked);
                Refresh();
            });
            checks_[static_cast<std::size_t>(field)] = check;
            checkRow->addWidget(check);
            continue;
        }
        auto* combo = new QComboBox(frame);
        combo->setObjectName(name);
        // Room for the "does not apply" marker, which is no entry of the list.
        combo->setMinimumContentsLength(static_cast<int>(std::strlen(kOptionPlaceholder)));
        combo->setSizeAdjustPolicy(QComboBox::AdjustToContents);
        // Only the user's choices go to the core; Refresh() sets the index quietly.
        connect(combo, &QComboBox::activated, this, [this, field](int index) {
            dialog_.Select(field, index);
            Refresh();
        });
        combos_[static_cast<std::size_t>(field)] = combo;

        auto* caption = new QLabel(label, frame);
        caption->setWordWrap(true);
        caption->setBuddy(combo);
        const int row = listPosition % kRowsPerColumn;
        const int column = listPosition / kRowsPerColumn * 2;
        grid->addWidget(caption, row, column);
        grid->addWidget(combo, row, column + 1);
        ++listPosition;
    }
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(3, 1);
    grid->setHorizontalSpacing(12);
    checkRow->addStretch();
    // Tab through the boxes as they stand on screen: the last list, then the check boxes.
    setTabOrder(combos_[kOptSecurityMode], combos_[kOptPowerSelect]);
    setTabOrder(combos_[kOptPowerSelect], checks_[kOptModelLock]);
    setTabOrder(checks_[kOptModelLock], checks_[kOptScrambler]);

    auto* frameLayout = new QVBoxLayout(frame);
    frameLayout->addLayout(grid);
    frameLayout->addLayout(checkRow);

    const DialogButtons buttons =
        MakeDialogButtons(this, ToQString(dialog_.okText()), "CommandOK",
                          ToQString(dialog_.cancelText()), "CommandCANCEL");
    connect(buttons.ok, &QPushButton::clicked, this, &OptionDialogView::OnOk);
    connect(buttons.cancel, &QPushButton::clicked, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(frame);
    layout->addLayout(buttons.row);
    Refresh();
}

void OptionDialogView::OnOk() {
    dialog_.Ok(doc_);
    accept();
}

void OptionDialogView::Refresh() {
    for (int field = 1; field <= kOptionFieldCount; ++field) {
        const auto at = static_cast<std::size_t>(field);
        if (QCheckBox* check = checks_[at]) {
            const QSignalBlocker quiet(check);
            check->setChecked(dialog_.Checked(field));
            continue;
        }
        QComboBox* combo = combos_[at];
        ShowList(combo, dialog_.List(field));
    }
}

}  // namespace qx
