#include "dialog_buttons.h"

namespace qx {

DialogButtons MakeDialogButtons(QWidget* dialog, const QString& okText, const char* okName,
                                const QString& cancelText, const char* cancelName) {
    auto* ok = new QPushButton(okText, dialog);
    ok->setObjectName(QLatin1String(okName));
    ok->setDefault(true);
    auto* cancel = new QPushButton(cancelText, dialog);
    cancel->setObjectName(QLatin1String(cancelName));
    cancel->setAutoDefault(false);
    auto* row = new QHBoxLayout;
    row->addStretch();
    row->addWidget(ok);
    row->addWidget(cancel);
    return {ok, cancel, row};
}

}  // namespace qx
