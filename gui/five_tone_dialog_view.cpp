#include "five_tone_dialog_view.h"

#include <QApplication>
#include <QComboBox>
#include <QFocusEvent>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QTableView>
#include <QVBoxLayout>
#include <algorithm>

#include "code_grid_model.h"
#include "dialog_buttons.h"
#include "platform_info.h"
#include "special_call_view.h"
#include "view_helpers.h"

namespace qx {
namespace {

// Columns 0-2 of the code grid; columns 3 and 4 share what is left.
constexpr std::array<int, 3> kFixedColumnTwips = {400, 1200, 2400};
constexpr int kLastColumnExtraTwips = 200;
// The narrowest grid that shows all five columns at their given widths.
constexpr int kGridTwips = 7000;
constexpr int kGridVisibleRows = 14;

// The grid's widths follow its cells, which only the view itself measures.
class CodeGrid final : public QTableView {
  public:
    using QTableView::QTableView;
    using QTableView::sizeHintForColumn;
};

QString InfoLines(const std::string& text) {
    return ToQString(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n")).trimmed();
}

bool HasFocusWithin(const QWidget* widget) {
    for (const QWidget* w = QApplication::focusWidget(); w != nullptr; w = w->parentWidget()) {
        if (w == widget) return true;
    }
    return false;
}

}  // namespace

FiveToneDialogView::FiveToneDialogView(Document& doc, const LanguageTexts& texts, Ui& ui,
                                       QWidget* parent)
    : QDialog(parent), dialog_(doc, texts), texts_(texts), ui_(ui) {
    setObjectName(QStringLiteral("Frm5Tone"));
    setWindowTitle(ToQString(texts.LanguageText("OPTION", "60052")));

    auto* top = new QHBoxLayout;
    top->addWidget(BuildIdentity());
    top->addWidget(BuildPttFrame(0));
    top->addWidget(BuildPttFrame(1));

    info_ = new QPlainTextEdit(this);
    info_->setObjectName(QStringLiteral("Text1"));
    info_->setReadOnly(true);
    info_->setLineWrapMode(QPlainTextEdit::NoWrap);
    info_->setAccessibleName(ToQString(texts.LanguageText("Access", "StandardTable")));

    auto* middle = new QHBoxLayout;
    middle->addWidget(BuildGrid(), 1);
    middle->addWidget(info_);

    const DialogButtons buttons =
        MakeDialogButtons(this, ToQString(texts.LanguageText("OPTION", "60024")), "CommandOK",
                          ToQString(texts.LanguageText("OPTION", "60025")), "CommandCANCEL");
    connect(buttons.ok, &QPushButton::clicked, this, &FiveToneDialogView::accept);
    connect(buttons.cancel, &QPushButton::clicked, this, &FiveToneDialogView::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addLayout(middle, 1);
    layout->addLayout(buttons.row);

    ShowForm();
    // The info box is as wide as the widest standard's table and high enough
    // for a whole one.
    const QFontMetrics metrics = info_->fontMetrics();
    int width = 0;
    for (const std::string& name : FiveToneStandardNames()) {
        for (const QString& line :
             InfoLines(ShowStandardTable(name, dialog_.texts())).split(QLatin1Char('\n'))) {
            width = std::max(width, metrics.horizontalAdvance(line));
        }
    }
    const int margins =
        2 * (info_->frameWidth() + static_cast<int>(info_->document()->documentMargin()));
    info_->setMinimumWidth(width + margins + info_->verticalScrollBar()->sizeHint().width());
    info_->setMinimumHeight(21 * metrics.lineSpacing() + margins);
    LayOutColumns();
    // The info box is made before the table but stands to its right.
    ChainTabOrder({grid_, findChild<QPushButton*>(QStringLiteral("Command1")), info_});
}

FiveToneDialogView::~FiveToneDialogView() {
    // The widgets go after the core dialog; nothing of theirs may call back.
    for (QObject* child : findChildren<QObject*>()) {
        child->removeEventFilter(this);
        disconnect(child, nullptr, this, nullptr);
    }
}

QLineEdit* FiveToneDialogView::AddLineEdit(const char* name, int index, int maxLength) {
    auto* edit = new QLineEdit(this);
    edit->setObjectName(QLatin1String(name));
    if (index >= 0) edit->setProperty("index", index);
    edit->setMaxLength(maxLength);
    edit->installEventFilter(this);
    return edit;
}

QComboBox* FiveToneDialogView::AddCombo(const char* name, int index) {
    auto* combo = new QComboBox(this);
    combo->setObjectName(QLatin1String(name));
    if (index >= 0) combo->setProperty("index", index);
    combo->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    return combo;
}

QWidget* FiveToneDialogView::BuildIdentity() {
    auto* frame = new QGroupBox(this);
    frame->setObjectName(QStringLiteral("FrameOwn"));
    auto* form = new QFormLayout(frame);
    const auto label = [this, frame](const char* key) {
        return new QLabel(ToQString(texts_.LanguageText("OPTION", key)), frame);
    };

    selfId_ = AddLineEdit("Text2", -1, static_cast<int>(kSelfIdLength));
    connect(selfId_, &QLineEdit::textEdited, this, [this](const QString& typed) {
        dialog_.SetSelfIdText(ToStdString(typed));
        ShowText(selfId_, dialog_.SelfIdText());
    });
    form->addRow(label("60072"), selfId_);

    const char* keys[] = {nullptr, "60061", "60070", "60071", "60081"};
    for (int i = 1; i < 5; ++i) {
        own_[static_cast<std::size_t>(i)] = AddCombo("Combo1", i);
        form->addRow(label(keys[i]), own_[static_cast<std::size_t>(i)]);
    }
    connect(own_[1], &QComboBox::activated, this, [this](int index) {
        dialog_.ChooseOwnStandard(index);
        ShowForm();
    });
    connect(own_[2], &QComboBox::activated, this,
            [this](int index) { dialog_.SelectResponse(index); });
    connect(own_[3], &QComboBox::activated, this,
            [this](int index) { dialog_.SelectToneTime(index); });
    connect(own_[4], &QComboBox::activated, this,
            [this](int index) { dialog_.SelectDelay(index); });
    LabelFormFields(form);
    return frame;
}

QWidget* FiveToneDialogView::BuildPttFrame(int which) {
    const auto slot = static_cast<std::size_t>(which);
    auto* frame = new QGroupBox(
        which == 0 ? QStringLiteral("PTTID BEGIN") : QStringLiteral("PTTID END"), this);
    frame->setObjectName(QStringLiteral("FramePttId"));
    frame->setProperty("index", which);
    auto* form = new QFormLayout(frame);
    const auto label = [this, frame](const char* key) {
        return new QLabel(ToQString(texts_.LanguageText("OPTION", key)), frame);
    };

    QLineEdit* code = AddLineEdit("Text4", which, static_cast<int>(FiveToneCode::kCodeWidth));
    code->setMinimumWidth(code->fontMetrics().horizontalAdvance(QString(
                              static_cast<int>(FiveToneCode::kCodeWidth), QLatin1Char('0'))) +
                          16);
    pttCode_[slot] = code;
    connect(code, &QLineEdit::textEdited, this, [this, code, which](const QString& typed) {
        dialog_.SetPttCode(which, ToStdString(typed));
        ShowText(code, dialog_.PttCode(which));
    });
    QLabel* codeLabel = label("60079");
    codeLabel->setObjectName(QStringLiteral("Label2"));
    codeLabel->setProperty("index", which);
    form->addRow(codeLabel, code);

    pttStandard_[slot] = AddCombo("Combo4", which);
    form->addRow(label("60061"), pttStandard_[slot]);
    connect(pttStandard_[slot], &QComboBox::activated, this, [this, which](int index) {
        dialog_.ChoosePttStandard(which, index);
        ShowForm();
    });
    pttToneTime_[slot] = AddCombo("Combo5", which);
    form->addRow(label("60080"), pttToneTime_[slot]);
    connect(pttToneTime_[slot], &QComboBox::activated, this,
            [this, which](int index) { dialog_.SelectPttToneTime(which, index); });

    auto* special = new QPushButton(ToQString(texts_.LanguageText("OPTION", "60062")), frame);
    special->setObjectName(which == 0 ? QStringLiteral("Command2") : QStringLiteral("Command3"));
    special->setAutoDefault(false);
    connect(special, &QPushButton::clicked, this, [this, which] {
        OpenSpecial(which == 0 ? SpecialCallSlot::PttIdBegin : SpecialCallSlot::PttIdEnd);
    });
    form->addRow(QString(), special);
    LabelFormFields(form);
    return frame;
}

QWidget* FiveToneDialogView::BuildGrid() {
    auto* box = new QWidget(this);
    grid_ = new CodeGrid(box);
    grid_->setObjectName(QStringLiteral("MSHFlexGrid1"));
    grid_->setAccessibleName(ToQString(texts_.LanguageText("Access", "FiveToneCodes")));
    // The code numbers read like the grid's fixed column: only column 0 is centred.
    model_ = new CodeGridModel(
        kFiveToneGridRows - 1, kFiveToneGridColumns,
        [this](int row, int column) { return dialog_.Cell(row, column); }, 1, this);
    grid_->setModel(model_);
    grid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid_->setTabKeyNavigation(false);  // Tab goes on; the arrows move between cells
    grid_->setSelectionMode(QAbstractItemView::SingleSelection);
    grid_->setWordWrap(false);
    grid_->setCornerButtonEnabled(false);
    grid_->verticalHeader()->hide();
    grid_->horizontalHeader()->setSectionsClickable(false);
    grid_->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    grid_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    grid_->verticalHeader()->setDefaultSectionSize(grid_->fontMetrics().height() + 8);
    grid_->installEventFilter(this);
    grid_->viewport()->installEventFilter(this);
    // The special call starts on the highlighted row, wherever the keys or a click moved it.
    connect(grid_->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex& current) {
                if (current.isValid()) dialog_.HighlightRow(CodeGridModel::GridRow(current));
            });
    connect(grid_, &QTableView::clicked, this, &FiveToneDialogView::ClickCell);
    connect(grid_, &QTableView::doubleClicked, this, &FiveToneDialogView::DoubleClickCell);
    for (QScrollBar* bar : {grid_->verticalScrollBar(), grid_->horizontalScrollBar()}) {
        connect(bar, &QScrollBar::valueChanged, this, [this] {
            if (dialog_.editor() == FiveToneEditor::None) return;
            dialog_.GridScrolled();
            HideEditors();
            model_->Refresh();
        });
    }

    // The in-cell editors, hidden until a cell is entered.
    codeEditor_ = new QLineEdit(grid_->viewport());
    codeEditor_->setObjectName(QStringLiteral("Text3"));
    codeEditor_->setMaxLength(static_cast<int>(FiveToneCode::kCodeWidth));
    connect(codeEditor_, &QLineEdit::textEdited, this, [this](const QString& typed) {
        dialog_.SetCodeEditorText(ToStdString(typed));
        ShowText(codeEditor_, dialog_.CodeEditorText());
    });
    standardEditor_ = new QComboBox(grid_->viewport());
    standardEditor_->setObjectName(QStringLiteral("Combo2"));
    connect(standardEditor_, &QComboBox::activated, this, [this](int index) {
        dialog_.ChooseEditorStandard(index);
        info_->setPlainText(InfoLines(dialog_.InfoText()));
        model_->Refresh();
    });
    toneTimeEditor_ = new QComboBox(grid_->viewport());
    toneTimeEditor_->setObjectName(QStringLiteral("Combo3"));
    connect(toneTimeEditor_, &QComboBox::activated, this,
            [this](int index) { dialog_.ChooseEditorToneTime(index); });
    for (QWidget* editor :
         {static_cast<QWidget*>(codeEditor_), static_cast<QWidget*>(standardEditor_),
          static_cast<QWidget*>(toneTimeEditor_)}) {
        editor->hide();
        editor->installEventFilter(this);
    }

    const auto pixels = [this](int twips) { return TwipsToPixels(this, twips); };
    grid_->setMinimumSize(pixels(kGridTwips) + grid_->verticalScrollBar()->sizeHint().width() +
                              2 * grid_->frameWidth(),
                          grid_->horizontalHeader()->sizeHint().height() +
                              kGridVisibleRows * grid_->verticalHeader()->defaultSectionSize() +
                              2 * grid_->frameWidth());

    auto* special = new QPushButton(ToQString(texts_.LanguageText("OPTION", "60062")), box);
    special->setObjectName(QStringLiteral("Command1"));
    special->setAutoDefault(false);
    connect(special, &QPushButton::clicked, this,
            [this] { OpenSpecial(SpecialCallSlot::TableRow); });

    auto* layout = new QVBoxLayout(box);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(grid_, 1);
    auto* row = new QHBoxLayout;
    row->addWidget(special);
    row->addStretch();
    layout->addLayout(row);
    return box;
}

void FiveToneDialogView::LayOutColumns() {
    const auto pixels = [this](int twips) { return TwipsToPixels(this, twips); };
    // Never narrower than the heading or the cells (the Chinese headings).
    const auto fit = [this](int column, int width) {
        return std::max({width, grid_->horizontalHeader()->sectionSizeHint(column),
                         static_cast<CodeGrid*>(grid_)->sizeHintForColumn(column)});
    };
    for (int column = 0; column < 3; ++column) {
        grid_->setColumnWidth(
            column, fit(column, pixels(kFixedColumnTwips[static_cast<std::size_t>(column)])));
    }
    const int share = (grid_->viewport()->width() - grid_->columnWidth(0)) / 5;
    grid_->setColumnWidth(3, fit(3, share));
    grid_->setColumnWidth(4, fit(4, share + pixels(kLastColumnExtraTwips)));
}

void FiveToneDialogView::ShowForm() {
    ShowText(selfId_, dialog_.SelfIdText());
    ShowList(own_[1], dialog_.OwnStandard());
    ShowList(own_[2], dialog_.Response());
    ShowList(own_[3], dialog_.ToneTime());
    ShowList(own_[4], dialog_.Delay());
    const QString info = InfoLines(dialog_.InfoText());
    if (info_->toPlainText() != info) info_->setPlainText(info);
    for (int which = 0; which < 2; ++which) {
        const auto slot = static_cast<std::size_t>(which);
        ShowText(pttCode_[slot], dialog_.PttCode(which));
        ShowList(pttStandard_[slot], dialog_.PttStandard(which));
        ShowList(pttToneTime_[slot], dialog_.PttToneTime(which));
    }
    if (dialog_.editor() == FiveToneEditor::None) HideEditors();
    model_->Refresh();
}

void FiveToneDialogView::ShowEditor() {
    QWidget* editor = nullptr;
    switch (dialog_.editor()) {
        case FiveToneEditor::None:
            HideEditors();
            model_->Refresh();
            return;
        case FiveToneEditor::Code:
            codeEditor_->setText(ToQString(dialog_.CodeEditorText()));
            codeEditor_->selectAll();
            editor = codeEditor_;
            break;
        case FiveToneEditor::Standard:
            ShowList(standardEditor_, dialog_.StandardEditor());
            editor = standardEditor_;
            break;
        case FiveToneEditor::ToneTime:
            ShowList(toneTimeEditor_, dialog_.ToneTimeEditor());
            editor = toneTimeEditor_;
            break;
    }
    const QModelIndex cell = model_->IndexOf(dialog_.currentRow(), dialog_.currentColumn());
    NameAfterColumn(editor, model_, cell.column());
    editor->setGeometry(grid_->visualRect(cell));
    editor->show();
    editor->raise();
    editor->setFocus(Qt::OtherFocusReason);
    for (QWidget* other :
         {static_cast<QWidget*>(codeEditor_), static_cast<QWidget*>(standardEditor_),
          static_cast<QWidget*>(toneTimeEditor_)}) {
        if (other != editor) other->hide();
    }
    model_->Refresh();
}

void FiveToneDialogView::CommitCell() {
    if (dialog_.editor() != FiveToneEditor::None) dialog_.CloseCellEditor();
    HideEditors();
    model_->Refresh();
}

void FiveToneDialogView::CancelCell() {
    dialog_.CancelCell();
    HideEditors();
    model_->Refresh();
}

void FiveToneDialogView::HideEditors() {
    for (QWidget* editor :
         {static_cast<QWidget*>(codeEditor_), static_cast<QWidget*>(standardEditor_),
          static_cast<QWidget*>(toneTimeEditor_)}) {
        if (!editor->isVisible()) continue;
        // The grid takes the focus before the editor hides, so it does not wander.
        if (HasFocusWithin(editor)) grid_->setFocus(Qt::OtherFocusReason);
        editor->hide();
    }
}

bool FiveToneDialogView::IsCellEditor(const QWidget* widget) const {
    for (; widget != nullptr; widget = widget->parentWidget()) {
        if (widget == codeEditor_ || widget == standardEditor_ || widget == toneTimeEditor_) {
            return true;
        }
    }
    return false;
}

void FiveToneDialogView::ClickCell(const QModelIndex& index) {
    if (!index.isValid()) return;
    // Scrolled into view first: scrolling closes an open editor.
    grid_->scrollTo(index);
    if (dialog_.EnterCell(CodeGridModel::GridRow(index), index.column())) ShowEditor();
}

void FiveToneDialogView::DoubleClickCell(const QModelIndex& index) {
    if (!index.isValid()) return;
    grid_->scrollTo(index);
    dialog_.DoubleClickCell(CodeGridModel::GridRow(index), index.column(), ui_);
    ShowEditor();
}

void FiveToneDialogView::OpenSpecial(SpecialCallSlot slot) {
    CommitCell();
    SpecialCallView special(dialog_, slot, texts_, ui_, this);
    special.exec();
    ShowForm();
}

bool FiveToneDialogView::Leaving(const QEvent* event) const {
    if (closed_ || event->type() != QEvent::FocusOut) return false;
    // A list's own popup, a menu or another window: the edit goes on.
    const auto reason = static_cast<const QFocusEvent*>(event)->reason();
    return reason != Qt::PopupFocusReason && reason != Qt::ActiveWindowFocusReason &&
           reason != Qt::MenuBarFocusReason;
}

bool FiveToneDialogView::eventFilter(QObject* watched, QEvent* event) {
    // Fields are re-parented into their frames before the grid exists.
    if (grid_ == nullptr) return QDialog::eventFilter(watched, event);
    const auto* key =
        event->type() == QEvent::KeyPress ? static_cast<const QKeyEvent*>(event) : nullptr;
    if (watched == grid_->viewport()) {
        if (event->type() == QEvent::MouseButtonPress) CommitCell();
        if (event->type() == QEvent::Resize) LayOutColumns();
    } else if (watched == grid_) {
        const bool plain =
            key != nullptr && (key->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
        if (plain && (IsEnter(key) || key->key() == Qt::Key_F2)) {
            ClickCell(grid_->currentIndex());
            return true;
        }
    } else if (IsCellEditor(qobject_cast<QWidget*>(watched))) {
        if (key != nullptr && key->key() == Qt::Key_Escape) {
            CancelCell();
            return true;
        }
        if (key != nullptr && IsEnter(key)) {
            CommitCell();
            return true;
        }
        if (Leaving(event) && dialog_.editor() != FiveToneEditor::None &&
            !IsCellEditor(QApplication::focusWidget())) {
            CommitCell();
        }
    } else if (watched == selfId_ || watched == pttCode_[0] || watched == pttCode_[1]) {
        if (key != nullptr && IsEnter(key)) {
            focusNextChild();
            return true;
        }
        if (Leaving(event)) {
            if (watched == selfId_) {
                dialog_.LeaveSelfId();
            } else {
                dialog_.LeavePttCode(watched == pttCode_[0] ? 0 : 1);
            }
            ShowForm();
        }
    }
    return QDialog::eventFilter(watched, event);
}

void FiveToneDialogView::accept() {
    closed_ = true;
    dialog_.Ok();
    HideEditors();
    QDialog::accept();
}

void FiveToneDialogView::reject() {
    closed_ = true;
    dialog_.Cancel();
    HideEditors();
    QDialog::reject();
}

}  // namespace qx
