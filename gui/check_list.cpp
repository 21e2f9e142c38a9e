#include "check_list.h"

#include <QHeaderView>
#include <QTableWidget>
#include <QVBoxLayout>

#include "app/check_texts.h"
#include "dialog_buttons.h"
#include "platform_info.h"

namespace qx {

CheckList::CheckList(const CheckProblems& problems, bool offerWrite, const LanguageTexts& texts,
                     QWidget* parent)
    : QDialog(parent), problems_(problems) {
    setObjectName(QStringLiteral("CheckList"));
    const auto text = [&texts](const char* key) {
        return ToQString(texts.LanguageText("Check", key));
    };
    setWindowTitle(text("Title"));
    auto* layout = new QVBoxLayout(this);

    table_ = new QTableWidget(static_cast<int>(problems_.size()), 4, this);
    table_->setObjectName(QStringLiteral("ProblemTable"));
    table_->setAccessibleName(text("Title"));
    table_->setHorizontalHeaderLabels(
        {text("Severity"), text("Where"), text("Field"), text("Message")});
    table_->verticalHeader()->hide();
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->setTabKeyNavigation(false);  // Tab goes on to the buttons
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setSelectionMode(QAbstractItemView::SingleSelection);
    table_->horizontalHeader()->setStretchLastSection(true);
    for (int row = 0; row < table_->rowCount(); ++row) {
        const CheckProblemWords words =
            DescribeCheckProblem(problems_[static_cast<std::size_t>(row)], texts);
        int column = 0;
        for (const std::string* cell :
             {&words.severity, &words.where, &words.field, &words.message})
            table_->setItem(row, column++, new QTableWidgetItem(ToQString(*cell)));
    }
    table_->resizeColumnsToContents();
    connect(table_, &QTableWidget::cellDoubleClicked, this, [this](int row, int) {
        chosen_ = problems_.at(static_cast<std::size_t>(row));
        reject();
    });
    layout->addWidget(table_, 1);

    const DialogButtons buttons =
        MakeDialogButtons(this, text("GoOn"), "CommandOK", text("Cancel"), "CommandCANCEL");
    buttons.ok->setVisible(offerWrite);
    connect(buttons.ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(buttons.cancel, &QPushButton::clicked, this, &QDialog::reject);
    layout->addLayout(buttons.row);
    resize(820, 360);
}

}  // namespace qx
