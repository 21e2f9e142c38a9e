// Frm_Radio, the main window: the model selector, the channel grid, the menus,
// the toolbar and the status bar over the document it owns. Every command is
// a core operation; this class shows the result.
#pragma once

#include <QMainWindow>
#include <QPointer>
#include <QTimer>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "app/document.h"
#include "app/session.h"
#include "app/transfer_commands.h"
#include "port_links.h"
#include "qt_ui.h"
#include "util/language_texts.h"

class QAction;
class QComboBox;
class QDragEnterEvent;
class QDragMoveEvent;
class QDropEvent;
class QGroupBox;
class QLabel;
class QMenu;
class QToolBar;

namespace qx {

class ChannelGrid;
class PortSettingsDialog;

class MainWindow final : public QMainWindow {
    Q_OBJECT
  public:
    explicit MainWindow(Session& session, QWidget* parent = nullptr);
    ~MainWindow() override;

    Document& document() { return document_; }
    // The ports the transfer windows open; "sim" is the built-in radio.
    PortLinks& portLinks() { return *links_; }
    // Opens a project (named on the command line, dropped on the window)
    // after the save question; a file that cannot be opened is said and
    // the document stays as it was.
    void OpenFile(const QString& path);

  protected:
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

  private:
    void BuildMenus();
    void BuildToolbar();
    void BuildCentralWidget();
    void ApplyTexts();
    // Shows the document as it is now: cells, model, menus, status bar.
    void ShowDocument();
    // The title with the file name and modified marker, the Undo and Redo
    // entries, the grid's notice.
    void ShowEditState();

    void OnModelChosen(int index);
    void OnUndo();
    void OnRedo();
    void OnNew();
    void OnOpen();
    void OnOpenBackup();
    void OnSave();
    void OnSaveAs();
    void OnRecentFile(int index);
    // The recent files entries of the File menu as the session lists them.
    void ShowRecentFiles();
    // A document that now belongs to a file puts it first among the recent files.
    void NoteRecentFile();
    void OnPrint();
    void OnPrintFile();
    void OnPrintPreview();
    void OnExportPdf();
    void OnWrite();
    // Transfer > Write to Several Radios: the check, then the fleet window.
    void OnWriteSeveral();
    void OnCheck();
    // The problem list; true when the user chose to go on writing. A
    // double-clicked problem is gone to: its grid cell or its dialog.
    bool ShowCheckList(const CheckProblems& problems, bool offerWrite);
    void GoToProblem(const CheckProblem& problem);
    void OnRead();
    void OnReadButton();
    void OnPortSettings();
    void OnLanguage(const std::string& languageFile);
    void OnAbout();
    void RunTransfer(TransferMode mode, BackupImage restore = {});
    void OnRestore();
    // The memory channels selected in the grid (else the current one), 0..99.
    std::vector<int> SelectedChannels() const;
    // The memory channel of the grid's current cell, if it is one.
    std::optional<int> CurrentChannel() const;
    void OnChannels(const std::function<bool(const std::vector<int>&)>& operation);
    void OnMove(int delta);
    // The channels (those in use) to the clipboard: CSV text and every field.
    void CopyChannels(const std::vector<int>& channels);
    void OnPasteChannels();
    void OnImportCsv();
    void OnExportCsv();
    // A modal option or signalling dialog over the document, then the document shown again.
    template <typename Dialog, typename... Extra>
    void RunDialog(Extra&&... extra);
    // File work: the grid is disabled and re-enabled by Timer1 afterwards.
    void BeginFileWork();

    QAction* AddEntry(QMenu* menu, const char* name);

    Session& session_;
    LanguageTexts language_;
    Document document_;
    QtUi ui_;
    std::unique_ptr<PortLinks> links_;

    QGroupBox* modelFrame_ = nullptr;
    QLabel* modelLabel_ = nullptr;
    QComboBox* modelCombo_ = nullptr;
    QGroupBox* gridFrame_ = nullptr;
    ChannelGrid* grid_ = nullptr;
    QToolBar* toolbar_ = nullptr;
    QLabel* statusPanel1_ = nullptr;
    QLabel* statusPanel2_ = nullptr;
    QTimer timer1_;
    QPointer<PortSettingsDialog> portDialog_;
};

}  // namespace qx
