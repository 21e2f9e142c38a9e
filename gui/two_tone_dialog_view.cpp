#include "two_tone_dialog_view.h"

#include <QComboBox>
#include <QEvent>
#include <QFocusEvent>
#include <QGridLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QScopedValueRollback>
#include <QScrollBar>
#include <QTabWidget>
#include <QTableView>
#include <QVBoxLayout>
#include <algorithm>

#include "code_grid_model.h"
#include "dialog_buttons.h"
#include "platform_info.h"
#include "typed_line_edit.h"
#include "view_helpers.h"

namespace qx {
namespace {

constexpr int kNumberColumnTwips = 300;
constexpr int kGridMarginTwips = 300;  // left beside the tone columns for the scroll bar

int DigitsWidth(const QWidget* widget) {
    return widget->fontMetrics().horizontalAdvance(QStringLiteral("000000"));
}

}  // namespace

TwoToneDialogView::TwoToneDialogView(Document& doc, const LanguageTexts& texts, QWidget* parent)
    : QDialog(parent), dialog_(doc, texts) {
    setObjectName(QStringLiteral("Frm2Tone"));
    const TwoToneCaptions& captions = dialog_.Captions();
    setWindowTitle(ToQString(captions.window));

    tabs_ = new QTabWidget(this);
    tabs_->setObjectName(QStringLiteral("SSTab1"));
    tabs_->addTab(BuildTonePage(), ToQString(captions.tabs[0]));
    tabs_->addTab(BuildCodePage(), ToQString(captions.tabs[1]));

    const DialogButtons buttons = MakeDialogButtons(this, ToQString(captions.ok), "CommandOK",
                                                    ToQString(captions.cancel), "CommandCANCEL");
    connect(buttons.ok, &QPushButton::clicked, this, &TwoToneDialogView::OnOk);
    connect(buttons.cancel, &QPushButton::clicked, this, &TwoToneDialogView::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(tabs_);
    layout->addLayout(buttons.row);
    ShowTones();
}

TwoToneDialogView::~TwoToneDialogView() {
    // The widgets go after the core dialog; nothing of theirs may call back.
    for (QObject* watched : {static_cast<QObject*>(editor_), static_cast<QObject*>(grid_)}) {
        watched->removeEventFilter(this);
        disconnect(watched, nullptr, this, nullptr);
    }
    for (TypedLineEdit* tone : tones_) {
        tone->removeEventFilter(this);
        disconnect(tone, nullptr, this, nullptr);
    }
    disconnect(grid_->verticalScrollBar(), nullptr, this, nullptr);
    disconnect(grid_->horizontalScrollBar(), nullptr, this, nullptr);
}

QWidget* TwoToneDialogView::BuildTonePage() {
    const TwoToneCaptions& captions = dialog_.Captions();
    auto* page = new QWidget;
    auto* grid = new QGridLayout(page);
    grid->setHorizontalSpacing(12);

    for (int i = 0; i < kToneFieldCount; ++i) {
        auto* label = new QLabel(ToQString(captions.toneLabels.at(static_cast<std::size_t>(i))));
        label->setObjectName(QStringLiteral("Label3"));
        label->setProperty("index", i);
        auto* tone = new TypedLineEdit(TypeToneKey, kToneTextMaxLength, page);
        tone->setObjectName(QStringLiteral("Text2"));
        tone->setProperty("index", i);
        tone->setMinimumWidth(DigitsWidth(tone));
        tone->installEventFilter(this);
        label->setBuddy(tone);
        connect(tone, &TypedLineEdit::edited, this,
                [this, i](const QString& text) { dialog_.SetToneText(i, ToStdString(text)); });
        connect(tone, &TypedLineEdit::enterPressed, this, [this] { focusNextChild(); });
        tones_.at(static_cast<std::size_t>(i)) = tone;
        grid->addWidget(label, i, 0);
        grid->addWidget(tone, i, 1);
    }

    const auto addRow = [&](int row, const std::string& caption, QComboBox* list) {
        auto* label = new QLabel(ToQString(caption), page);
        label->setBuddy(list);
        grid->addWidget(label, row, 3);
        grid->addWidget(list, row, 4);
    };
    QComboBox* pair = AddList(dialog_.PairList(), "Combo2", 0);
    connect(pair, &QComboBox::activated, this, [this](int index) {
        dialog_.ChoosePair(index);
        ShowTones();
    });
    addRow(0, captions.pairLabel, pair);
    QComboBox* response = AddList(dialog_.ResponseList(), "Combo2", 1);
    connect(response, &QComboBox::activated, this,
            [this](int index) { dialog_.SelectResponse(index); });
    addRow(1, captions.responseLabel, response);
    for (int k = 0; k < 4; ++k) {
        QComboBox* time = AddList(dialog_.TimeList(k), "Combo1", k);
        connect(time, &QComboBox::activated, this,
                [this, k](int index) { dialog_.SelectTime(k, index); });
        addRow(2 + k, captions.timeLabels.at(static_cast<std::size_t>(k)), time);
    }

    grid->setColumnMinimumWidth(2, 12);
    grid->setColumnStretch(5, 1);
    grid->setRowStretch(6, 1);
    return page;
}

QComboBox* TwoToneDialogView::AddList(const ListControl& list, const char* name, int index) {
    auto* combo = new QComboBox;
    combo->setObjectName(QLatin1String(name));
    combo->setProperty("index", index);
    combo->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    for (const std::string& entry : list.entries) combo->addItem(ToQString(entry));
    combo->setCurrentIndex(list.selected);
    combo->setEnabled(list.enabled);
    return combo;
}

QWidget* TwoToneDialogView::BuildCodePage() {
    auto* page = new QWidget;
    grid_ = new QTableView(page);
    grid_->setObjectName(QStringLiteral("MSHFlexGrid1"));
    grid_->setAccessibleName(ToQString(dialog_.Captions().tabs[1]));
    model_ = new CodeGridModel(
        kTwoToneCodeCount, kTwoToneGridColumns,
        [this](int row, int column) { return dialog_.GridText(row, column); }, kTwoToneGridColumns,
        grid_);
    grid_->setModel(model_);
    grid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid_->setTabKeyNavigation(false);  // Tab goes on; the arrows move between cells
    grid_->setSelectionMode(QAbstractItemView::SingleSelection);
    grid_->setSelectionBehavior(QAbstractItemView::SelectItems);
    grid_->setWordWrap(false);
    grid_->setCornerButtonEnabled(false);
    grid_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    grid_->verticalHeader()->hide();
    grid_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    grid_->verticalHeader()->setDefaultSectionSize(grid_->fontMetrics().height() + 8);
    grid_->horizontalHeader()->setSectionsClickable(false);
    grid_->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    grid_->installEventFilter(this);

    editor_ = new TypedLineEdit(TypeToneKey, kToneTextMaxLength, grid_->viewport());
    editor_->setObjectName(QStringLiteral("Text1"));
    editor_->setAlignment(Qt::AlignCenter);
    editor_->hide();
    editor_->installEventFilter(this);
    connect(editor_, &TypedLineEdit::edited, this,
            [this](const QString& text) { dialog_.SetEditorText(ToStdString(text)); });
    connect(editor_, &TypedLineEdit::enterPressed, this, [this] {
        CommitEditor();
        grid_->setFocus(Qt::OtherFocusReason);
    });

    connect(grid_, &QTableView::clicked, this, &TwoToneDialogView::EnterCell);
    for (QScrollBar* bar : {grid_->verticalScrollBar(), grid_->horizontalScrollBar()}) {
        connect(bar, &QScrollBar::valueChanged, this, &TwoToneDialogView::Scrolled);
    }

    // Wide enough that no heading is cut; the columns share what there is.
    int width = 2 * grid_->frameWidth() + grid_->verticalScrollBar()->sizeHint().width();
    for (int column = 0; column < kTwoToneGridColumns; ++column) {
        width +=
            std::max(grid_->horizontalHeader()->sectionSizeHint(column) + 8, DigitsWidth(grid_));
    }
    grid_->setMinimumWidth(width);

    auto* layout = new QVBoxLayout(page);
    layout->addWidget(grid_);
    return page;
}

void TwoToneDialogView::ShowTones() {
    for (int i = 0; i < kToneFieldCount; ++i) {
        const ToneField& field = dialog_.Tone(i);
        TypedLineEdit* tone = tones_.at(static_cast<std::size_t>(i));
        const QString text = ToQString(field.text);
        if (tone->text() != text) tone->setText(text);
        tone->setEnabled(field.enabled);
    }
}

void TwoToneDialogView::EnterCell(const QModelIndex& index) {
    if (!index.isValid() || index.column() < 1) return;
    // Scrolling first: it would commit and hide the editor placed below.
    grid_->scrollTo(index);
    dialog_.EnterCell(CodeGridModel::GridRow(index), index.column());
    model_->Refresh();
    ShowEditor();
}

void TwoToneDialogView::ShowEditor() {
    const CellEditor& editor = dialog_.Editor();
    const GridCell cell = dialog_.CurrentCell();
    if (!editor.visible || cell.row < 1) {
        if (editor_->hasFocus()) grid_->setFocus(Qt::OtherFocusReason);
        editor_->hide();
        return;
    }
    const QModelIndex index = model_->IndexOf(cell.row, cell.column);
    const QScopedValueRollback placing(placing_, true);
    grid_->setCurrentIndex(index);
    editor_->setText(ToQString(editor.text));
    NameAfterColumn(editor_, model_, index.column());
    editor_->setGeometry(grid_->visualRect(index));
    editor_->show();
    editor_->raise();
    editor_->setFocus(Qt::OtherFocusReason);
    editor_->selectAll();
}

void TwoToneDialogView::CommitEditor() {
    dialog_.CommitCell();
    model_->Refresh();
    const QString text = ToQString(dialog_.Editor().text);
    if (editor_->text() != text) editor_->setText(text);
}

void TwoToneDialogView::CancelEditor() {
    dialog_.CancelCell();
    ShowEditor();
}

void TwoToneDialogView::Scrolled() {
    if (placing_) return;
    dialog_.GridScrolled();
    model_->Refresh();
    ShowEditor();
}

void TwoToneDialogView::ApplyColumnWidths() {
    const auto pixels = [this](int twips) { return TwipsToPixels(this, twips); };
    QHeaderView* header = grid_->horizontalHeader();
    const int number =
        std::max({pixels(kNumberColumnTwips), header->sectionSizeHint(0),
                  grid_->fontMetrics().horizontalAdvance(QStringLiteral("999")) + 12});
    // The tone columns share the rest, never more than the cells can show.
    const int share = std::min((grid_->width() - number - pixels(kGridMarginTwips)) / 2,
                               (grid_->viewport()->width() - number) / 2);
    grid_->setColumnWidth(0, number);
    for (int column = 1; column < kTwoToneGridColumns; ++column) {
        grid_->setColumnWidth(column, std::max(share, header->sectionSizeHint(column)));
    }
    if (editor_->isVisible()) {
        editor_->setGeometry(grid_->visualRect(
            model_->IndexOf(dialog_.CurrentCell().row, dialog_.CurrentCell().column)));
    }
}

void TwoToneDialogView::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    ApplyColumnWidths();
}

bool TwoToneDialogView::eventFilter(QObject* watched, QEvent* event) {
    if (watched == grid_) {
        if (event->type() == QEvent::Resize) {
            ApplyColumnWidths();
        } else if (event->type() == QEvent::KeyPress) {
            const auto* key = static_cast<QKeyEvent*>(event);
            if (IsEnter(key) || key->key() == Qt::Key_F2) {
                EnterCell(grid_->currentIndex());
                return true;
            }
        }
        return QDialog::eventFilter(watched, event);
    }
    if (event->type() == QEvent::FocusOut) {
        // A list's popup, a menu or another window: the edit goes on.
        const auto reason = static_cast<QFocusEvent*>(event)->reason();
        const bool away = reason != Qt::PopupFocusReason && reason != Qt::ActiveWindowFocusReason &&
                          reason != Qt::MenuBarFocusReason;
        if (watched == editor_ && away) {
            CommitEditor();
        } else if (away) {
            for (int i = 0; i < kToneFieldCount; ++i) {
                if (watched != tones_.at(static_cast<std::size_t>(i))) continue;
                dialog_.LeaveTone(i);
                ShowTones();
            }
        }
    } else if (watched == editor_ && event->type() == QEvent::KeyPress &&
               static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
        CancelEditor();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void TwoToneDialogView::OnOk() {
    dialog_.Ok();
    accept();
}

void TwoToneDialogView::reject() {
    // A cell edit still open (the close box leaves it focused) must not be
    // committed into the record by the focus leaving as the window closes.
    CancelEditor();
    dialog_.Cancel();
    QDialog::reject();
}

}  // namespace qx
