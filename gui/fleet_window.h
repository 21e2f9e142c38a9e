// Transfer > Write to Several Radios: the ports with a check box each, and
// every checked radio written at once with the project, each with its own
// label and self ID. The writes run on the UI thread's events through the
// core's FleetWrite, so the window never blocks; it only shows what each
// radio's write reports and forwards Start, Stop and Refresh.
#pragma once

#include <QDialog>
#include <memory>
#include <vector>

#include "app/document.h"
#include "app/session.h"
#include "fleet/fleet_write.h"
#include "platform/port_directory.h"
#include "port_links.h"
#include "qt_timers.h"
#include "util/language_texts.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableWidget;
class QTableWidgetItem;

namespace qx {

class FleetWindow final : public QDialog {
    Q_OBJECT
  public:
    // The table's columns.
    enum Column { kPort, kLabel, kSelfId, kProgress, kStage, kResult, kTime, kBackup, kColumns };

    // `doc`, `session`, `links` and `texts` must outlive the window. Links
    // come from `makeLink` when given, else from `links` on the window's own
    // timers; the ports from `directory` (the machine's ports and running
    // simulators when none is given), with "sim" last.
    FleetWindow(const Document& doc, Session& session, PortLinks& links, const LanguageTexts& texts,
                QWidget* parent = nullptr, LinkFactory makeLink = {},
                std::unique_ptr<PortDirectory> directory = nullptr);
    ~FleetWindow() override;

    bool Running() const { return running_; }
    // The last run's write, null before the first Start.
    const FleetWrite* fleet() const { return fleet_.get(); }

    // Escape closes the window unless radios are being written.
    void reject() override;

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    // The port list read again; checks and typed labels stay with their ports.
    void FillPorts();
    void OnStartStop();
    void Start();
    void OnItemChanged(QTableWidgetItem* item);
    // The self IDs the checked radios would get, shown in their rows; false
    // (and the reason shown) when the start field cannot number them.
    bool ShowSelfIds();
    void ShowRadio(std::size_t index);
    void Finish();
    // Buttons, fields and check boxes as running or not allows.
    void ShowRunState();
    QString Text(const char* key) const;

    const Document& doc_;
    Session& session_;
    const LanguageTexts& texts_;
    // Declared before the write so that it goes first, then what it uses.
    QtTimers timers_;
    LinkFactory makeLink_;
    std::unique_ptr<PortDirectory> directory_;
    std::unique_ptr<FleetWrite> fleet_;
    std::vector<int> rows_;  // the table row of each radio of the run
    bool running_ = false;
    bool stopping_ = false;
    bool filling_ = false;  // the window itself is setting cells

    QTableWidget* table_;
    QLineEdit* selfIdStart_;
    QLineEdit* password_;
    QCheckBox* backupFirst_;
    QCheckBox* verify_;
    QLabel* status_;
    QPushButton* refresh_;
    QPushButton* start_;
    QPushButton* close_;
};

}  // namespace qx
