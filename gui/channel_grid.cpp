#include "channel_grid.h"

#include <QApplication>
#include <QComboBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QScrollBar>
#include <QSignalBlocker>
#include <algorithm>
#include <utility>

#include "channel_grid_model.h"
#include "platform_info.h"
#include "view_helpers.h"

namespace qx {
namespace {

constexpr int kCodeListCount = 3;  // Combo2 for DTMF, 2-tone and 5-tone codes

void FillList(QComboBox* combo, const std::vector<std::string>& entries, const std::string& shown) {
    const QSignalBlocker block(combo);
    combo->clear();
    for (const auto& entry : entries) combo->addItem(ToQString(entry));
    combo->setCurrentIndex(combo->findText(ToQString(shown)));
}

std::string TextOf(const QWidget* editor) {
    if (const auto* edit = qobject_cast<const QLineEdit*>(editor)) return ToStdString(edit->text());
    if (const auto* combo = qobject_cast<const QComboBox*>(editor)) {
        return ToStdString(combo->currentText());
    }
    return {};
}

}  // namespace

ChannelGrid::ChannelGrid(Document& doc, Ui& ui, QWidget* parent)
    : QTableView(parent), doc_(doc), ui_(ui), model_(new ChannelGridModel(doc, this)) {
    setObjectName(QStringLiteral("MFG"));
    setModel(model_);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    // Tab leaves the table for the next control; the arrow keys move between cells.
    setTabKeyNavigation(false);
    // Several channels at once (row labels with Shift or Ctrl) for the Edit
    // menu's channel entries.
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    setWordWrap(false);
    setCornerButtonEnabled(false);
    horizontalHeader()->setSectionsClickable(false);
    // A row label selects the whole channel; the open editor is committed
    // first, so the selection it fills is the one it was opened over.
    verticalHeader()->setSectionsClickable(true);
    verticalHeader()->viewport()->installEventFilter(this);
    horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    horizontalHeader()->setStretchLastSection(true);

    nameEdit_ = AddLineEdit("TxtName", [this](const std::string& t) { CommitName(doc_, t); });
    nameEdit_->setAttribute(Qt::WA_InputMethodEnabled, false);
    nameEdit_->setContextMenuPolicy(Qt::NoContextMenu);
    nameEdit_->setDragEnabled(false);
    nameEdit_->setAcceptDrops(false);
    connect(nameEdit_, &QLineEdit::textEdited, this, &ChannelGrid::NameEdited);
    AddLineEdit("TxtRxFreq", [this](const std::string& t) { CommitRxFreq(doc_, t, ui_); });
    AddLineEdit("TxtTxFreq", [this](const std::string& t) { CommitTxFreq(doc_, t, ui_); });

    QComboBox* step = AddCombo("ComboRef", [this](const std::string& t) { LeaveStep(doc_, t); });
    connect(step, &QComboBox::activated, this, [this, step] {
        ChooseStep(doc_, ToStdString(step->currentText()));
        Changed();
    });
    toneKindCombo_ =
        AddCombo("ComboCTCSSDCS", [this](const std::string& t) { LeaveToneKind(doc_, t); });
    connect(toneKindCombo_, &QComboBox::activated, this,
            [this] { ChooseToneKindEntry(toneKindCombo_->currentText()); });
    AddCombo("ComboCTCSS", [this](const std::string& t) { CommitCtcss(doc_, t); });
    AddCombo("ComboDCS", [this](const std::string& t) { CommitDcs(doc_, t); });
    for (const char* name :
         {"ComboWN", "ComboPACMOD", "ComboDCSDET", "ComboSCNSkp", "ComboBCL", "ComboANI"}) {
        AddCombo(name, [this](const std::string& t) { CommitList(doc_, t); });
    }
    AddCombo("ComboShift", [this](const std::string& t) { CommitShift(doc_, t); });
    AddCombo("ComboPRI", [this](const std::string& t) { CommitPriority(doc_, t); });

    optSignalCombo_ = AddCombo("ComboOptSignal", [this](const std::string& t) {
        LeaveOptSignal(doc_, t);
        GridScrolled(doc_);  // the code lists go with it
    });
    connect(optSignalCombo_, &QComboBox::activated, this,
            [this] { ChooseOptSignalEntry(optSignalCombo_->currentText()); });
    for (int i = 0; i < kCodeListCount; ++i) {
        QComboBox* codes = AddCombo("Combo2", nullptr);
        codes->setProperty("index", i);
        connect(codes, &QComboBox::activated, this, [this](int position) {
            ChooseSignalCode(doc_, position);
            Changed();
        });
    }
    for (const char* name : {"Combo3", "Combo4"}) {
        connect(AddCombo(name, nullptr), &QComboBox::activated, this, [this](int position) {
            ChooseSignalSubCode(doc_, position);
            Changed();
        });
    }

    for (QScrollBar* bar : {verticalScrollBar(), horizontalScrollBar()}) {
        connect(bar, &QScrollBar::valueChanged, this, [this] {
            CommitEditor();
            GridScrolled(doc_);
        });
    }
    Reload();
}

ChannelGrid::~ChannelGrid() {
    // The editors go after this object; nothing of theirs may call back.
    for (const Editor& editor : editors_) {
        editor.widget->removeEventFilter(this);
        disconnect(editor.widget, nullptr, this, nullptr);
    }
    disconnect(verticalScrollBar(), nullptr, this, nullptr);
    disconnect(horizontalScrollBar(), nullptr, this, nullptr);
}

QLineEdit* ChannelGrid::AddLineEdit(const char* name, Leave leave) {
    auto* edit = new QLineEdit(viewport());
    edit->setObjectName(QString::fromLatin1(name));
    edit->hide();
    edit->installEventFilter(this);
    editors_.push_back({edit, std::move(leave)});
    return edit;
}

QComboBox* ChannelGrid::AddCombo(const char* name, Leave leave) {
    auto* combo = new QComboBox(viewport());
    combo->setObjectName(QString::fromLatin1(name));
    combo->hide();
    combo->installEventFilter(this);
    editors_.push_back({combo, std::move(leave)});
    return combo;
}

void ChannelGrid::SelectCell(int row, int column) {
    CloseEditor(Close::Commit);
    const QModelIndex index = model()->index(row - 1, column - 1);
    scrollTo(index);
    setCurrentIndex(index);
    setFocus();
}

void ChannelGrid::Reload() {
    CloseEditor(Close::Discard);
    model_->ResetAll();
    ApplyLayout();
    // The lists whose entries come from the language texts or the radio's
    // features; every editor is filled again from the core when it opens.
    const auto fill = [this](const char* name, const std::vector<std::string>& entries) {
        if (auto* combo = viewport()->findChild<QComboBox*>(QString::fromLatin1(name))) {
            FillList(combo, entries, entries.empty() ? std::string() : entries.front());
        }
    };
    fill("ComboWN", {doc_.texts.wide, doc_.texts.narrow});
    fill("ComboSCNSkp", {doc_.texts.scanSkipOff, doc_.texts.scanSkipOn});
    fill("ComboOptSignal", doc_.optSignalList);
}

void ChannelGrid::ApplyLayout() {
    const auto pixels = [this](int twips) { return TwipsToPixels(this, twips); };
    for (int column = kColStatus; column < kColOptSignal; ++column) {
        const int twips = kGridColumnTwips[static_cast<std::size_t>(column)];
        setColumnHidden(column - 1, twips == 0);
        // The scaled width, widened where the heading or a cell would be cut
        // (the Chinese headings and "Inactive" need more than the table gives).
        if (twips > 0) {
            setColumnWidth(column - 1,
                           std::max({pixels(twips), horizontalHeader()->sectionSizeHint(column - 1),
                                     sizeHintForColumn(column - 1)}));
        }
    }
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 8);
    // The labels ("99", "PL") must stay readable whatever the screen.
    verticalHeader()->setFixedWidth(
        std::max(pixels(kGridColumnTwips[kColLabel]), verticalHeader()->sizeHint().width()));
}

void ChannelGrid::CommitEditor() { CloseEditor(Close::Commit); }

void ChannelGrid::Activate(const QModelIndex& index, OpenCell open) {
    CommitEditor();
    if (!index.isValid()) return;
    const EditorView view =
        open(doc_, ChannelGridModel::GridRow(index), ChannelGridModel::GridColumn(index));
    Changed();
    if (view.kind == EditorKind::None) return;
    scrollTo(index);
    openIndex_ = index;
    Open(view);
}

QWidget* ChannelGrid::EditorFor(const EditorView& view) const {
    const QString name = ToQString(view.name);
    for (const Editor& editor : editors_) {
        if (editor.widget->objectName() != name) continue;
        if (view.index >= 0 && editor.widget->property("index").toInt() != view.index) continue;
        return editor.widget;
    }
    return nullptr;
}

void ChannelGrid::Open(const EditorView& view) {
    QWidget* editor = EditorFor(view);
    if (editor == nullptr) return;
    if (auto* edit = qobject_cast<QLineEdit*>(editor)) {
        edit->setMaxLength(view.maxLength);
        edit->setText(ToQString(view.text));
        edit->selectAll();
    } else if (auto* combo = qobject_cast<QComboBox*>(editor)) {
        FillList(combo, view.entries, view.text);
    }
    NameAfterColumn(editor, model(), openIndex_.column());
    QWidget* previous = std::exchange(open_, editor);
    editor->setGeometry(visualRect(openIndex_));
    editor->show();
    editor->raise();
    editor->setFocus(Qt::OtherFocusReason);
    if (previous != nullptr && previous != editor) previous->hide();
}

void ChannelGrid::ChooseToneKindEntry(const QString& kind) {
    const EditorView tones = ChooseToneKind(doc_, ToStdString(kind));
    if (tones.kind == EditorKind::None) return;  // "off" is taken on leaving
    // The tone list of the chosen kind takes the kind list's place.
    LeaveToneKind(doc_, ToStdString(kind));
    Open(tones);
}

void ChannelGrid::ChooseOptSignalEntry(const QString& type) {
    for (QComboBox* list : std::exchange(openLists_, {})) list->hide();
    const std::vector<EditorView> lists = ChooseOptSignal(doc_, ToStdString(type));
    // The code lists stack below the cell, or above it near the bottom.
    const QRect cell = visualRect(openIndex_);
    const bool below =
        cell.bottom() + cell.height() * static_cast<int>(lists.size()) < viewport()->height();
    int offset = 0;
    for (const EditorView& view : lists) {
        auto* combo = qobject_cast<QComboBox*>(EditorFor(view));
        if (combo == nullptr) continue;
        FillList(combo, view.entries, view.text);
        NameAfterColumn(combo, model(), openIndex_.column());
        offset += below ? cell.height() : -cell.height();
        const int width = std::max(cell.width(), combo->sizeHint().width());
        const int x = std::max(0, std::min(cell.x(), viewport()->width() - width));
        combo->setGeometry(x, cell.y() + offset, width, cell.height());
        combo->show();
        combo->raise();
        openLists_.push_back(combo);
    }
}

void ChannelGrid::CloseEditor(Close how) {
    if (open_ == nullptr) return;
    QWidget* editor = std::exchange(open_, nullptr);
    const std::vector<QComboBox*> lists = std::exchange(openLists_, {});
    const std::string text = TextOf(editor);
    bool hadFocus = false;
    for (QWidget* w = QApplication::focusWidget(); w != nullptr; w = w->parentWidget()) {
        hadFocus =
            hadFocus || w == editor || std::find(lists.begin(), lists.end(), w) != lists.end();
    }
    // The grid takes the focus before the editor hides, so it does not wander.
    if (hadFocus) setFocus(Qt::OtherFocusReason);
    editor->hide();
    for (QComboBox* list : lists) list->hide();
    if (how == Close::Commit) {
        for (const Editor& e : editors_) {
            if (e.widget == editor && e.leave) e.leave(text);
        }
        EndCellEditOver(doc_, SelectedRows());
    } else {
        CancelCellEdit(doc_);
    }
    if (how != Close::Discard) Changed();
}

bool ChannelGrid::InOpenEditor(const QWidget* widget) const {
    for (; widget != nullptr; widget = widget->parentWidget()) {
        if (widget == open_) return true;
        if (std::find(openLists_.begin(), openLists_.end(), widget) != openLists_.end()) {
            return true;
        }
    }
    return false;
}

std::vector<int> ChannelGrid::SelectedRows() const {
    std::vector<int> rows;
    for (const QModelIndex& index : selectionModel()->selectedIndexes()) {
        rows.push_back(ChannelGridModel::GridRow(index));
    }
    return rows;
}

bool ChannelGrid::eventFilter(QObject* watched, QEvent* event) {
    if (watched == verticalHeader()->viewport()) {
        if (event->type() == QEvent::MouseButtonPress) CommitEditor();
        return QTableView::eventFilter(watched, event);
    }
    auto* widget = qobject_cast<QWidget*>(watched);
    if (open_ == nullptr || !InOpenEditor(widget)) return QTableView::eventFilter(watched, event);
    switch (event->type()) {
        case QEvent::KeyPress: {
            const auto* key = static_cast<QKeyEvent*>(event);
            if (key->key() == Qt::Key_Escape) {
                CloseEditor(Close::Cancel);
                return true;
            }
            if (IsEnter(key)) {
                CloseEditor(Close::Commit);
                return true;
            }
            if (widget == nameEdit_) return TypeIntoName(key);
            break;
        }
        case QEvent::FocusOut: {
            const auto reason = static_cast<QFocusEvent*>(event)->reason();
            // A list's own popup, a menu or another window: the edit goes on.
            if (reason == Qt::PopupFocusReason || reason == Qt::ActiveWindowFocusReason ||
                reason == Qt::MenuBarFocusReason) {
                break;
            }
            if (!InOpenEditor(QApplication::focusWidget())) CloseEditor(Close::Commit);
            break;
        }
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
            // No pasting into the name, not even the selection's middle click.
            if (widget == nameEdit_ &&
                static_cast<QMouseEvent*>(event)->button() == Qt::MiddleButton) {
                return true;
            }
            break;
        default:
            break;
    }
    return QTableView::eventFilter(watched, event);
}

bool ChannelGrid::TypeIntoName(const QKeyEvent* event) {
    if (event->matches(QKeySequence::Copy) || event->matches(QKeySequence::Paste) ||
        event->matches(QKeySequence::Cut)) {
        return true;
    }
    const QList<uint> keys = event->text().toUcs4();
    // Backspace, Delete, Ctrl+A and the like are the line edit's own keys.
    const bool editingKey =
        std::all_of(keys.begin(), keys.end(), [](uint k) { return k < 0x20 || k == 0x7f; });
    if (keys.isEmpty() || editingKey) return false;

    // The name is ASCII, so character positions are byte positions.
    const std::string text = ToStdString(nameEdit_->text());
    const auto start = static_cast<std::size_t>(
        nameEdit_->hasSelectedText() ? nameEdit_->selectionStart() : nameEdit_->cursorPosition());
    const auto end = start + static_cast<std::size_t>(nameEdit_->selectedText().size());
    std::string left = text.substr(0, std::min(start, text.size()));
    const std::string right = text.substr(std::min(end, text.size()));
    for (uint key : keys) left = TypeNameKey(left, static_cast<char32_t>(key));
    if (left.size() + right.size() > static_cast<std::size_t>(kNameMaxLength)) return true;
    const std::string name = CommitName(doc_, left + right);
    nameEdit_->setText(ToQString(name));
    nameEdit_->setCursorPosition(static_cast<int>(std::min(left.size(), name.size())));
    Changed();
    return true;
}

void ChannelGrid::NameEdited(const QString& text) {
    if (open_ != nameEdit_) return;
    const QString name = ToQString(CommitName(doc_, ToStdString(text)));
    if (name != text) {
        const int cursor = nameEdit_->cursorPosition();
        nameEdit_->setText(name);
        nameEdit_->setCursorPosition(std::min(cursor, static_cast<int>(name.size())));
    }
    Changed();
}

void ChannelGrid::Changed() {
    model_->Refresh();
    emit edited();
}

void ChannelGrid::keyPressEvent(QKeyEvent* event) {
    const bool plain = (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
    if (plain && (IsEnter(event) || event->key() == Qt::Key_F2)) {
        Activate(currentIndex(), &CellEntered);
        event->accept();
        return;
    }
    // A character typed on the cell opens its editor and goes into it, as in
    // a spreadsheet; a list editor just opens.
    const QList<uint> keys = event->text().toUcs4();
    const bool typed =
        !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) &&
        !keys.isEmpty() && std::all_of(keys.begin(), keys.end(), [](uint k) {
            return StartsCellEdit(static_cast<char32_t>(k));
        });
    if (typed && currentIndex().isValid()) {
        Activate(currentIndex(), &OpenCellEditor);
        if (qobject_cast<QLineEdit*>(open_) != nullptr) {
            QKeyEvent copy(event->type(), event->key(), event->modifiers(), event->text());
            QCoreApplication::sendEvent(open_, &copy);
        }
        event->accept();
        return;
    }
    QTableView::keyPressEvent(event);
}

void ChannelGrid::mousePressEvent(QMouseEvent* event) {
    CommitEditor();
    QTableView::mousePressEvent(event);
    pressed_ =
        event->button() == Qt::LeftButton ? indexAt(event->position().toPoint()) : QModelIndex();
}

void ChannelGrid::mouseReleaseEvent(QMouseEvent* event) {
    QTableView::mouseReleaseEvent(event);
    const QModelIndex index = indexAt(event->position().toPoint());
    const bool click = event->button() == Qt::LeftButton && index.isValid() && index == pressed_;
    pressed_ = QModelIndex();
    // A double click is one click on the cell, not two.
    if (click && !std::exchange(doubleClicked_, false)) Activate(index, &CellClicked);
}

void ChannelGrid::mouseDoubleClickEvent(QMouseEvent* event) {
    // The second press of a double click: its release is no new click.
    mousePressEvent(event);
    doubleClicked_ = true;
}

void ChannelGrid::currentChanged(const QModelIndex& current, const QModelIndex& previous) {
    QTableView::currentChanged(current, previous);
    // The document follows the current cell while no editor holds it.
    if (open_ == nullptr && current.isValid()) {
        doc_.currentRow = ChannelGridModel::GridRow(current);
        doc_.currentColumn = ChannelGridModel::GridColumn(current);
    }
}

}  // namespace qx
