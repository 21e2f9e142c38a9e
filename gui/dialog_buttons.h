// The OK and Cancel buttons at the right of a dialog's bottom row, named as
// the tests and the dialogs' callers find them. The caller wires them.
#pragma once

#include <QHBoxLayout>
#include <QPushButton>

namespace qx {

struct DialogButtons {
    QPushButton* ok;
    QPushButton* cancel;
    QHBoxLayout* row;  // add it to the dialog's layout
};

DialogButtons MakeDialogButtons(QWidget* dialog, const QString& okText, const char* okName,
                                const QString& cancelText, const char* cancelName);

}  // namespace qx
