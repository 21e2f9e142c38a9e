// frmMain: the read and write transfer window over the core's Transfer. It
// only shows what the transfer reports and forwards Start and Close; the
// transfer runs on the UI thread's events, so the window never blocks.
#pragma once

#include <QDialog>
#include <memory>

#include "app/document.h"
#include "app/session.h"
#include "files/backups.h"
#include "link/transfer.h"
#include "platform/serial_link.h"
#include "port_links.h"
#include "qt_timers.h"
#include "qt_ui.h"
#include "util/language_texts.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;

namespace qx {

class TransferWindow final : public QDialog {
    Q_OBJECT
  public:
    // Opened with exec(); ends by itself once the transfer has unloaded.
    // A write window with a `restore` image writes that backup image instead
    // of the document (leaving alone the lines its read did not read).
    TransferWindow(TransferMode mode, Document& doc, Session& session, PortLinks& links,
                   const LanguageTexts& texts, QWidget* parent = nullptr, BackupImage restore = {});

    TransferResult Result() const { return transfer_.Result(); }
    const Transfer& transfer() const { return transfer_; }

    // Escape: the same as the Close button.
    void reject() override;

  protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

  private:
    void OnStart();
    void OnChange();
    void Refresh();

    // Declared in this order so that the transfer goes first, then the link,
    // and the timers they both use go last.
    QtTimers timers_;
    std::unique_ptr<SerialLink> link_;
    QtUi ui_;
    TransferTexts texts_;
    Transfer transfer_;

    QLabel* curLine_;
    QProgressBar* completeBar_;
    QPushButton* start_;
    QCheckBox* passwordModify_ = nullptr;  // write only
    QLineEdit* newPassword_ = nullptr;     // write only
    QCheckBox* backupFirst_ = nullptr;     // write only
    QCheckBox* verify_ = nullptr;          // write only
    QCheckBox* readTwice_ = nullptr;       // read only
    QCheckBox* quickRead_ = nullptr;       // read only
    Session& session_;
    bool loadQueued_ = false;
    bool loaded_ = false;
};

}  // namespace qx
