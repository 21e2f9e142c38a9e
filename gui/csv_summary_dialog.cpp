#include "csv_summary_dialog.h"

#include <QLabel>
#include <QListWidget>
#include <QStringList>
#include <QVBoxLayout>

#include "dialog_buttons.h"
#include "platform_info.h"

namespace qx {

CsvSummaryDialog::CsvSummaryDialog(const std::vector<std::string>& summary,
                                   const std::vector<int>& replaced, const LanguageTexts& texts,
                                   QWidget* parent)
    : QDialog(parent) {
    setObjectName(QStringLiteral("CsvSummary"));
    const auto text = [&texts](const char* key) {
        return ToQString(texts.LanguageText("Csv", key));
    };
    setWindowTitle(text("Title"));
    auto* layout = new QVBoxLayout(this);

    auto* totals = new QLabel(summary.empty() ? QString() : ToQString(summary.back()), this);
    totals->setObjectName(QStringLiteral("Totals"));
    QFont bold = totals->font();
    bold.setBold(true);
    totals->setFont(bold);
    layout->addWidget(totals);
    if (!replaced.empty()) {
        QStringList channels;
        for (const int channel : replaced) channels << QString::number(channel);
        auto* overwritten =
            new QLabel(text("Replaces").arg(channels.join(QStringLiteral(", "))), this);
        overwritten->setObjectName(QStringLiteral("Replaced"));
        overwritten->setWordWrap(true);
        layout->addWidget(overwritten);
    }

    const bool details = summary.size() > 1;
    auto* heading = new QLabel(text("Details"), this);
    heading->setVisible(details);
    layout->addWidget(heading);
    auto* notes = new QListWidget(this);
    notes->setObjectName(QStringLiteral("Notes"));
    // A list takes no name from its buddy: screen readers need it spelled out.
    heading->setBuddy(notes);
    notes->setAccessibleName(heading->text());
    for (std::size_t i = 0; i + 1 < summary.size(); ++i) notes->addItem(ToQString(summary[i]));
    notes->setVisible(details);
    layout->addWidget(notes, 1);

    auto* intro = new QLabel(text("Intro"), this);
    intro->setWordWrap(true);
    layout->addWidget(intro);

    const DialogButtons buttons =
        MakeDialogButtons(this, text("Ok"), "CommandOK", text("Cancel"), "CommandCANCEL");
    buttons.ok->setDefault(true);
    connect(buttons.ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(buttons.cancel, &QPushButton::clicked, this, &QDialog::reject);
    layout->addLayout(buttons.row);
    resize(details ? 720 : 480, details ? 400 : 160);
}

}  // namespace qx
