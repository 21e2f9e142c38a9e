#include "special_call_view.h"

#include <QApplication>
#include <QComboBox>
#include <QFocusEvent>
#include <QFormLayout>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>
#include <algorithm>

#include "dialog_buttons.h"
#include "platform_info.h"
#include "view_helpers.h"

namespace qx {
namespace {

// A control of an indexed family ("Combo1" 0 and 1, "Text1" 0 and 1): the
// family's name as objectName, the position as the property "index".
template <typename T>
T* Indexed(T* widget, const char* name, int index) {
    widget->setObjectName(QLatin1String(name));
    widget->setProperty("index", index);
    return widget;
}

}  // namespace

SpecialCallView::SpecialCallView(FiveToneDialog& fiveTone, SpecialCallSlot slot,
                                 const LanguageTexts& texts, Ui& ui, QWidget* parent)
    : QDialog(parent),
      dialog_(fiveTone, slot, texts),
      ui_(ui),
      row_(Indexed(new QComboBox(this), "Combo1", 0)),
      kind_(Indexed(new QComboBox(this), "Combo1", 1)),
      channel_(new QComboBox(this)),
      frameA_(new QGroupBox(this)),
      frameB_(new QGroupBox(this)),
      frameC_(new QGroupBox(this)),
      id_{nullptr, nullptr},
      message_(new QLineEdit(this)) {
    const auto text = [&texts](const char* key) {
        return ToQString(texts.LanguageText("OPTION", key));
    };
    setObjectName(QStringLiteral("FrmSpecial"));
    setWindowTitle(ToQString(dialog_.title()));

    auto* choice = new QFormLayout;
    choice->addRow(Indexed(new QLabel(ToQString(dialog_.rowLabel()), this), "Label1", 0), row_);
    choice->addRow(Indexed(new QLabel(text("60064"), this), "Label1", 1), kind_);
    connect(row_, &QComboBox::activated, this, [this](int index) { dialog_.SelectRow(index); });
    connect(kind_, &QComboBox::activated, this, [this](int index) {
        dialog_.SelectKind(index);
        ShowFrames();
    });

    frameA_->setObjectName(QStringLiteral("FrameA"));
    auto* a = new QFormLayout(frameA_);
    a->addRow(new QLabel(text("60076"), frameA_), AddIdField(0, frameA_));
    message_->setParent(frameA_);
    message_->setObjectName(QStringLiteral("Text2"));
    message_->setMaxLength(static_cast<int>(kSpecialMessageLength));
    message_->installEventFilter(this);
    auto* label3 = new QLabel(text("60077"), frameA_);
    label3->setObjectName(QStringLiteral("Label3"));
    a->addRow(label3, message_);
    connect(message_, &QLineEdit::textEdited, this, [this](const QString& typed) {
        dialog_.SetMessageText(ToStdString(typed));
        ShowText(message_, dialog_.MessageText());
    });

    frameB_->setObjectName(QStringLiteral("FrameB"));
    auto* b = new QFormLayout(frameB_);
    channel_->setParent(frameB_);
    channel_->setObjectName(QStringLiteral("Combo2"));
    auto* label4 = new QLabel(text("60078"), frameB_);
    label4->setObjectName(QStringLiteral("Label4"));
    b->addRow(label4, channel_);
    connect(channel_, &QComboBox::activated, this,
            [this](int index) { dialog_.SelectChannel(index); });

    frameC_->setObjectName(QStringLiteral("FrameC"));
    auto* c = new QFormLayout(frameC_);
    c->addRow(new QLabel(text("60076"), frameC_), AddIdField(1, frameC_));

    const DialogButtons buttons =
        MakeDialogButtons(this, text("60024"), "CommandOK", text("60025"), "CommandCANCEL");
    ok_ = buttons.ok;
    cancel_ = buttons.cancel;
    connect(ok_, &QPushButton::clicked, this, &SpecialCallView::OnOk);
    connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(choice);
    layout->addWidget(frameA_);
    layout->addWidget(frameB_);
    layout->addWidget(frameC_);
    layout->addStretch();
    layout->addLayout(buttons.row);
    // The dialog follows the frame the kind shows.
    layout->setSizeConstraint(QLayout::SetFixedSize);
    // Tab follows the frames down the window, not the order the fields were made in.
    for (const QFormLayout* form : {choice, a, b, c}) LabelFormFields(form);
    ChainTabOrder({row_, kind_, id_[0], message_, channel_, id_[1], ok_, cancel_});

    ShowList(row_, dialog_.Row());
    ShowList(kind_, dialog_.Kind());
    ShowList(channel_, dialog_.Channel());
    ShowFrames();
}

SpecialCallView::~SpecialCallView() {
    // The widgets go after the core dialog; nothing of theirs may call back.
    for (QObject* child : findChildren<QObject*>()) {
        child->removeEventFilter(this);
        disconnect(child, nullptr, this, nullptr);
    }
}

void SpecialCallView::done(int result) {
    closed_ = true;
    QDialog::done(result);
}

QLineEdit* SpecialCallView::AddIdField(int which, QWidget* parent) {
    QLineEdit* edit = Indexed(new QLineEdit(parent), "Text1", which);
    edit->setMaxLength(static_cast<int>(kSpecialIdLength));
    edit->setText(ToQString(dialog_.IdText(which)));
    edit->installEventFilter(this);
    connect(edit, &QLineEdit::textEdited, this, [this, edit, which](const QString& typed) {
        dialog_.SetIdText(which, ToStdString(typed));
        ShowText(edit, dialog_.IdText(which));
    });
    id_[which] = edit;
    return edit;
}

void SpecialCallView::ShowFrames() {
    const SpecialFrame frame = dialog_.VisibleFrame();
    frameA_->setVisible(frame == SpecialFrame::A);
    frameB_->setVisible(frame == SpecialFrame::B);
    frameC_->setVisible(frame == SpecialFrame::C);
    frameC_->setTitle(ToQString(dialog_.frameCCaption()));
}

void SpecialCallView::OnOk() {
    if (dialog_.Ok(ui_)) accept();
}

bool SpecialCallView::eventFilter(QObject* watched, QEvent* event) {
    auto* edit = qobject_cast<QLineEdit*>(watched);
    if (edit == nullptr) return QDialog::eventFilter(watched, event);
    if (event->type() == QEvent::KeyPress && IsEnter(static_cast<QKeyEvent*>(event))) {
        focusNextChild();
        return true;
    }
    if (event->type() == QEvent::FocusOut && (edit == id_[0] || edit == id_[1])) {
        const auto reason = static_cast<QFocusEvent*>(event)->reason();
        const QWidget* next = QApplication::focusWidget();
        // OK checks the ID itself and Cancel drops it; a popup, a menu or
        // another window is no leaving; a hidden frame's field is not shown.
        const bool leaving =
            reason != Qt::PopupFocusReason && reason != Qt::ActiveWindowFocusReason &&
            reason != Qt::MenuBarFocusReason && next != ok_ && next != cancel_ && edit->isVisible();
        if (leaving) dialog_.LeaveId(edit == id_[0] ? 0 : 1, ui_);
    }
    return QDialog::eventFilter(watched, event);
}

}  // namespace qx
