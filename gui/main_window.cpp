#include "main_window.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QComboBox>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QItemSelection>
#include <QLabel>
#include <QMenuBar>
#include <QMimeData>
#include <QStatusBar>
#include <QStyle>
#include <QToolBar>
#include <QUrl>
#include <QVBoxLayout>
#include <algorithm>
#include <filesystem>

#include "about_box.h"
#include "app/channel_ops.h"
#include "app/csv_import.h"
#include "app/grid_columns.h"
#include "app/listing_commands.h"
#include "app/main_commands.h"
#include "app/project_file.h"
#include "app/recent_files.h"
#include "app/row_ops.h"
#include "app/settings_files.h"
#include "app/undo_texts.h"
#include "auto_dialer_view.h"
#include "channel_grid.h"
#include "check_list.h"
#include "codeplug/models.h"
#include "csv_summary_dialog.h"
#include "dtmf_dialog_view.h"
#include "five_tone_dialog_view.h"
#include "fleet_window.h"
#include "link/port_settings.h"
#include "option_dialog_view.h"
#include "platform_info.h"
#include "port_dialog.h"
#include "print_table_view.h"
#include "qt_port_directory.h"
#include "qt_printer.h"
#include "transfer_window.h"
#include "two_tone_dialog_view.h"

namespace qx {
namespace {

// The menus in their order: each entry's control name and its key in section "Menu".
struct MenuEntry {
    const char* name;
    const char* key;
    const char* section = "Menu";
};
struct MenuSpec {
    const char* name;
    const char* key;
    std::vector<MenuEntry> entries;
};

const std::vector<MenuSpec>& Menus() {
    static const std::vector<MenuSpec> menus = {
        {"Menu_File",
         "1000M",
         {{"Menu_New", "10000"},
          {"Menu_Open", "10001"},
          {"Menu_OpenBackup", "10006"},
          {"Menu_Save", "10002"},
          {"Menu_SaveAs", "SaveAs"},
          {"Menu_ImportCsv", "10007"},
          {"Menu_ExportCsv", "10008"},
          {"Menu_Print", "10003"},
          {"Menu_PrintFile", "10004"},
          {"Menu_PrintPreview", "10009"},
          {"Menu_ExportPdf", "10010"},
          {"Menu_Exit", "10005"}}},
        {"Menu_Edit",
         "5000M",
         {{"Menu_Undo", "50001"},
          {"Menu_Redo", "50002"},
          {"Menu_CutChannels", "50010"},
          {"Menu_CopyChannels", "50008"},
          {"Menu_PasteChannels", "50009"},
          {"Menu_InsertChannel", "50003"},
          {"Menu_DeleteChannels", "50004"},
          {"Menu_MoveUp", "50005"},
          {"Menu_MoveDown", "50006"},
          {"Menu_ClearChannels", "50007"}}},
        {"Menu_Option",
         "2000M",
         {{"Menu_RadioOption", "20000"},
          {"mnuDTMF", "20002"},
          {"mnu2Tone", "20003"},
          {"mnu5Tone", "20004"},
          {"Menu_AutoDiaer", "20001"}}},
        {"Menu_Transfer",
         "3000M",
         {{"Menu_WriteCHData", "30000"},
          {"Menu_WriteSeveral", "30004"},
          {"Menu_ReadCHData", "30001"},
          {"Menu_RestoreBackup", "30003"},
          {"Menu_Check", "MenuEntry", "Check"},
          {"MnuRadioSetup", nullptr},
          {"Menu_COMPort", "30002"}}},
        {"Menu_Language", "4000M", {{"Menu_English", "40001"}, {"Menu_Chinese", "40002"}}},
        {"Help", "40003", {{"Menu_About", "40004"}}},
    };
    return menus;
}

// The toolbar: control name, tooltip key in section "Toolbar", icon theme
// name and the fallback icon that ships with the toolkit.
struct ToolButton {
    const char* name;
    const char* key;
    const char* theme;
    QStyle::StandardPixmap fallback;
};
constexpr ToolButton kToolButtons[] = {
    {"NewBtn", "8000", "document-new", QStyle::SP_FileIcon},
    {"OpenBtn", "8001", "document-open", QStyle::SP_DialogOpenButton},
    {"SaveBtn", "8002", "document-save", QStyle::SP_DialogSaveButton},
    {"OptionBtn", "8003", "preferences-system", QStyle::SP_FileDialogDetailedView},
    {"AdBtn", "8004", "call-start", QStyle::SP_FileDialogListView},
    {"ReadBtn", "8005", "go-down", QStyle::SP_ArrowDown},
    {"Write", "8006", "go-up", QStyle::SP_ArrowUp},
    {"UndoBtn", "8007", "edit-undo", QStyle::SP_ArrowBack},
    {"RedoBtn", "8008", "edit-redo", QStyle::SP_ArrowForward},
};

// qxprog's own clipboard form of copied channels: every field.
const QString kChannelsMimeType = QStringLiteral("application/x-qxprog-channels");

// The first local project file among dropped data; empty when there is none.
QString DroppedProject(const QMimeData* data) {
    if (data == nullptr) return {};
    for (const QUrl& url : data->urls()) {
        const QString path = url.toLocalFile();
        if (!path.isEmpty() &&
            QFileInfo(path).suffix().compare(QLatin1String("qx"), Qt::CaseInsensitive) == 0) {
            return path;
        }
    }
    return {};
}

std::string JoinLines(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) text += (text.empty() ? "" : "\n") + line;
    return text;
}

}  // namespace

template <typename Dialog, typename... Extra>
void MainWindow::RunDialog(Extra&&... extra) {
    grid_->CommitEditor();
    {
        Dialog dialog(document_, language_, std::forward<Extra>(extra)..., this);
        dialog.exec();
    }
    ShowDocument();
}

MainWindow::MainWindow(Session& session, QWidget* parent)
    : QMainWindow(parent), session_(session), ui_(this) {
    setObjectName(QStringLiteral("Frm_Radio"));
    language_ = LanguageTexts(session_.paths.languageDir, session_.languageFile);
    LoadMainWindow(document_, language_, session_.featureFlags, ui_);
    links_ = std::make_unique<PortLinks>(FreshRadioMemory(document_), 0, &language_);

    BuildMenus();
    BuildToolbar();
    BuildCentralWidget();
    statusBar()->setObjectName(QStringLiteral("StatusBar1"));
    statusPanel1_ = new QLabel(this);
    statusPanel1_->setObjectName(QStringLiteral("Panel1"));
    statusPanel2_ = new QLabel(this);
    statusPanel2_->setObjectName(QStringLiteral("Panel2"));
    statusBar()->addWidget(statusPanel1_, 1);
    statusBar()->addWidget(statusPanel2_, 1);

    timer1_.setObjectName(QStringLiteral("Timer1"));
    timer1_.setSingleShot(true);
    timer1_.setInterval(200);
    connect(&timer1_, &QTimer::timeout, this, [this] { grid_->setEnabled(true); });

    ui_.RememberFolders(session_.lastFolder, [this](const std::string& folder) {
        session_.lastFolder = folder;
        WriteLastFolder(session_.paths, folder);
    });
    setAcceptDrops(true);

    ApplyTexts();
    ShowDocument();
    const std::string geometry = ReadWindowGeometry(session_.paths);
    if (geometry.empty() ||
        !restoreGeometry(QByteArray::fromBase64(QByteArray::fromStdString(geometry)))) {
        resize(1180, 760);
    }
}

MainWindow::~MainWindow() {
    // The grid asks the document for its headings while it hides, and the
    // document goes before the widgets do: hidden now, while it still exists.
    hide();
}

QAction* MainWindow::AddEntry(QMenu* menu, const char* name) {
    QAction* action = menu->addAction(QString());
    action->setObjectName(QString::fromLatin1(name));
    return action;
}

void MainWindow::BuildMenus() {
    for (const MenuSpec& spec : Menus()) {
        QMenu* menu = menuBar()->addMenu(QString());
        menu->setObjectName(QString::fromLatin1(spec.name));
        for (const MenuEntry& entry : spec.entries) AddEntry(menu, entry.name);
    }
    // The recent files, between their own separators, before Exit.
    QAction* exit = findChild<QAction*>(QStringLiteral("Menu_Exit"));
    QMenu* fileMenu = findChild<QMenu*>(QStringLiteral("Menu_File"));
    fileMenu->insertSeparator(exit)->setObjectName(QStringLiteral("Menu_RecentStart"));
    for (int i = 0; i < static_cast<int>(kMaxRecentFiles); ++i) {
        auto* action = new QAction(fileMenu);
        action->setObjectName(QStringLiteral("Menu_Recent%1").arg(i + 1));
        fileMenu->insertAction(exit, action);
        connect(action, &QAction::triggered, this, [this, i] { OnRecentFile(i); });
    }
    fileMenu->insertSeparator(exit)->setObjectName(QStringLiteral("Menu_RecentEnd"));
    const auto on = [this](const char* name, auto slot) {
        connect(findChild<QAction*>(QString::fromLatin1(name)), &QAction::triggered, this, slot);
    };
    on("Menu_New", [this] { OnNew(); });
    on("Menu_Open", [this] { OnOpen(); });
    on("Menu_OpenBackup", [this] { OnOpenBackup(); });
    on("Menu_Save", [this] { OnSave(); });
    on("Menu_SaveAs", [this] { OnSaveAs(); });
    on("Menu_ImportCsv", [this] { OnImportCsv(); });
    on("Menu_ExportCsv", [this] { OnExportCsv(); });
    on("Menu_Print", [this] { OnPrint(); });
    on("Menu_PrintFile", [this] { OnPrintFile(); });
    on("Menu_PrintPreview", [this] { OnPrintPreview(); });
    on("Menu_ExportPdf", [this] { OnExportPdf(); });
    on("Menu_Exit", [this] { close(); });
    on("Menu_WriteCHData", [this] { OnWrite(); });
    on("Menu_WriteSeveral", [this] { OnWriteSeveral(); });
    on("Menu_ReadCHData", [this] { OnRead(); });
    on("Menu_RestoreBackup", [this] { OnRestore(); });
    on("Menu_Check", [this] { OnCheck(); });
    on("Menu_COMPort", [this] { OnPortSettings(); });
    on("Menu_English", [this] { OnLanguage("english.ini"); });
    on("Menu_Chinese", [this] { OnLanguage("chinese.ini"); });
    on("Menu_About", [this] { OnAbout(); });
    on("Menu_Undo", [this] { OnUndo(); });
    on("Menu_Redo", [this] { OnRedo(); });
    findChild<QAction*>(QStringLiteral("Menu_Undo"))->setShortcuts(QKeySequence::Undo);
    // Ctrl+Shift+Z and Ctrl+Y, whatever the desktop's own redo key is.
    findChild<QAction*>(QStringLiteral("Menu_Redo"))
        ->setShortcuts(
            {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y)});
    on("Menu_InsertChannel", [this] {
        OnChannels([this](const std::vector<int>& channels) {
            return InsertChannel(document_, channels.front(), ui_);
        });
    });
    on("Menu_DeleteChannels", [this] {
        OnChannels([this](const std::vector<int>& channels) {
            return DeleteChannels(document_, channels);
        });
    });
    on("Menu_ClearChannels", [this] {
        OnChannels([this](const std::vector<int>& channels) {
            return ClearChannels(document_, channels);
        });
    });
    on("Menu_CutChannels", [this] {
        OnChannels([this](const std::vector<int>& channels) {
            CopyChannels(channels);
            return ClearChannels(document_, channels, StepKind::CutChannels);
        });
    });
    on("Menu_CopyChannels", [this] {
        grid_->CommitEditor();
        CopyChannels(SelectedChannels());
    });
    on("Menu_PasteChannels", [this] { OnPasteChannels(); });
    on("Menu_MoveUp", [this] { OnMove(-1); });
    on("Menu_MoveDown", [this] { OnMove(1); });
    const auto key = [this](const char* name, QKeySequence sequence) {
        findChild<QAction*>(QString::fromLatin1(name))->setShortcut(sequence);
    };
    key("Menu_New", QKeySequence(Qt::CTRL | Qt::Key_N));
    key("Menu_Open", QKeySequence(Qt::CTRL | Qt::Key_O));
    key("Menu_Save", QKeySequence(Qt::CTRL | Qt::Key_S));
    key("Menu_SaveAs", QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S));
    key("Menu_Print", QKeySequence(Qt::CTRL | Qt::Key_P));
    key("Menu_CutChannels", QKeySequence::Cut);
    key("Menu_CopyChannels", QKeySequence::Copy);
    key("Menu_PasteChannels", QKeySequence::Paste);
    key("Menu_InsertChannel", QKeySequence(Qt::CTRL | Qt::Key_Insert));
    key("Menu_DeleteChannels", QKeySequence(Qt::CTRL | Qt::Key_Delete));
    key("Menu_MoveUp", QKeySequence(Qt::ALT | Qt::Key_Up));
    key("Menu_MoveDown", QKeySequence(Qt::ALT | Qt::Key_Down));
    on("mnuDTMF", [this] { RunDialog<DtmfDialogView>(); });
    on("mnu2Tone", [this] { RunDialog<TwoToneDialogView>(); });
    on("mnu5Tone", [this] { RunDialog<FiveToneDialogView>(ui_); });
    on("Menu_RadioOption", [this] { RunDialog<OptionDialogView>(); });
    on("Menu_AutoDiaer", [this] { RunDialog<AutoDialerView>(ui_); });
    findChild<QAction*>(QStringLiteral("MnuRadioSetup"))->setVisible(false);
}

void MainWindow::BuildToolbar() {
    toolbar_ = addToolBar(QString());
    toolbar_->setObjectName(QStringLiteral("Toolbar1"));
    toolbar_->setMovable(false);
    for (const ToolButton& button : kToolButtons) {
        const QIcon icon = QIcon::fromTheme(QString::fromLatin1(button.theme),
                                            style()->standardIcon(button.fallback));
        QAction* action = toolbar_->addAction(icon, QString());
        action->setObjectName(QString::fromLatin1(button.name));
    }
    const auto on = [this](const char* name, auto slot) {
        connect(toolbar_->findChild<QAction*>(QString::fromLatin1(name)), &QAction::triggered, this,
                slot);
    };
    on("NewBtn", [this] { OnNew(); });
    on("OpenBtn", [this] { OnOpen(); });
    on("SaveBtn", [this] { OnSave(); });
    on("ReadBtn", [this] { OnReadButton(); });
    on("Write", [this] { OnWrite(); });
    on("OptionBtn", [this] { RunDialog<OptionDialogView>(); });
    on("AdBtn", [this] { RunDialog<AutoDialerView>(ui_); });
    on("UndoBtn", [this] { OnUndo(); });
    on("RedoBtn", [this] { OnRedo(); });
}

void MainWindow::BuildCentralWidget() {
    auto* central = new QWidget(this);
    auto* layout = new QVBoxLayout(central);

    modelFrame_ = new QGroupBox(central);
    modelFrame_->setObjectName(QStringLiteral("Frame1"));
    auto* modelRow = new QHBoxLayout(modelFrame_);
    modelLabel_ = new QLabel(modelFrame_);
    modelLabel_->setObjectName(QStringLiteral("Label1"));
    modelCombo_ = new QComboBox(modelFrame_);
    modelCombo_->setObjectName(QStringLiteral("Combo1"));
    modelLabel_->setBuddy(modelCombo_);
    for (const ModelInfo& model : ModelTable()) modelCombo_->addItem(ToQString(model.displayText));
    modelRow->addWidget(modelLabel_);
    modelRow->addWidget(modelCombo_, 1);
    connect(modelCombo_, &QComboBox::activated, this, &MainWindow::OnModelChosen);
    layout->addWidget(modelFrame_);

    gridFrame_ = new QGroupBox(central);
    gridFrame_->setObjectName(QStringLiteral("Frame2"));
    auto* gridBox = new QVBoxLayout(gridFrame_);
    grid_ = new ChannelGrid(document_, ui_, gridFrame_);
    connect(grid_, &ChannelGrid::edited, this, &MainWindow::ShowEditState);
    gridBox->addWidget(grid_);
    layout->addWidget(gridFrame_, 1);
    setCentralWidget(central);
}

void MainWindow::ApplyTexts() {
    const auto text = [this](const char* section, const char* key) {
        return ToQString(language_.LanguageText(section, key));
    };
    ui_.SetTitle(text("OTHERS", "70018"));
    modelLabel_->setText(text("OTHERS", "70009"));
    modelFrame_->setTitle(text("OTHERS", "70010"));
    grid_->setAccessibleName(text("Access", "Channels"));
    for (const MenuSpec& spec : Menus()) {
        auto* menu = findChild<QMenu*>(QString::fromLatin1(spec.name));
        menu->setTitle(text("Menu", spec.key));
        for (const MenuEntry& entry : spec.entries) {
            if (entry.key == nullptr) continue;
            findChild<QAction*>(QString::fromLatin1(entry.name))
                ->setText(text(entry.section, entry.key));
        }
    }
    for (const ToolButton& button : kToolButtons) {
        QAction* action = toolbar_->findChild<QAction*>(QString::fromLatin1(button.name));
        action->setText(text("Toolbar", button.key));
        action->setToolTip(text("Toolbar", button.key));
    }
    ShowEditState();
}

void MainWindow::ShowEditState() {
    const QString file = ToQString(std::filesystem::path(document_.filename).filename().string());
    // No language file, no program title: no separator left dangling.
    const QString program = ToQString(language_.LanguageText("OTHERS", "70018"));
    setWindowTitle(file + QStringLiteral("[*]") +
                   (program.isEmpty() ? QString() : QStringLiteral(" - ") + program));
    setWindowModified(document_.Modified());
    // The grid's notice, while there is one, in place of the editing hint.
    statusPanel2_->setText(ToQString(document_.gridNotice.empty() ? document_.texts.statusPanel2
                                                                  : document_.gridNotice));
    const auto entry = [this](const char* menuName, const char* buttonName, bool enabled,
                              const std::string& text) {
        for (QAction* action : {findChild<QAction*>(QString::fromLatin1(menuName)),
                                toolbar_->findChild<QAction*>(QString::fromLatin1(buttonName))}) {
            action->setEnabled(enabled);
            action->setText(ToQString(text));
        }
    };
    entry("Menu_Undo", "UndoBtn", document_.CanUndo(),
          UndoEntryText(document_.UndoStep(), language_));
    entry("Menu_Redo", "RedoBtn", document_.CanRedo(),
          RedoEntryText(document_.RedoStep(), language_));
}

void MainWindow::ShowDocument() {
    grid_->Reload();
    {
        const QSignalBlocker block(modelCombo_);
        modelCombo_->setCurrentIndex(document_.model());
    }
    findChild<QAction*>(QStringLiteral("mnuDTMF"))->setVisible(document_.menus.dtmf);
    findChild<QAction*>(QStringLiteral("mnu2Tone"))->setVisible(document_.menus.twoTone);
    findChild<QAction*>(QStringLiteral("mnu5Tone"))->setVisible(document_.menus.fiveTone);
    statusPanel1_->setText(ToQString(document_.statusText));
    NoteRecentFile();
    ShowEditState();
}

void MainWindow::NoteRecentFile() {
    if (BelongsToFile(document_) &&
        (session_.recentFiles.empty() || session_.recentFiles.front() != document_.filename)) {
        session_.recentFiles = WithRecentFile(std::move(session_.recentFiles), document_.filename);
        WriteRecentFiles(session_.paths, session_.recentFiles);
    }
    ShowRecentFiles();
}

void MainWindow::ShowRecentFiles() {
    const std::vector<std::string>& files = session_.recentFiles;
    for (std::size_t i = 0; i < kMaxRecentFiles; ++i) {
        QAction* action = findChild<QAction*>(QStringLiteral("Menu_Recent%1").arg(i + 1));
        action->setVisible(i < files.size());
        if (i >= files.size()) continue;
        action->setText(ToQString(RecentFileEntry(i, files[i])));
        action->setStatusTip(ToQString(files[i]));
        action->setToolTip(ToQString(files[i]));
    }
    findChild<QAction*>(QStringLiteral("Menu_RecentEnd"))->setVisible(!files.empty());
}

void MainWindow::BeginFileWork() {
    grid_->CommitEditor();
    grid_->setEnabled(false);
}

void MainWindow::OnModelChosen(int index) {
    grid_->CommitEditor();
    ChangeModel(document_, index, ui_, [this] { return SaveCommand(document_, ui_); });
    ShowDocument();
}

void MainWindow::OnUndo() {
    grid_->CommitEditor();
    document_.Undo();
    ShowDocument();
}

void MainWindow::OnRedo() {
    grid_->CommitEditor();
    document_.Redo();
    ShowDocument();
}

void MainWindow::OnNew() {
    grid_->CommitEditor();
    NewCommand(document_, ui_);
    ShowDocument();
}

void MainWindow::OnOpen() {
    BeginFileWork();
    OpenCommand(document_, ui_);
    ShowDocument();
    timer1_.start();
}

void MainWindow::OnOpenBackup() {
    BeginFileWork();
    OpenBackupCommand(document_, session_.paths.backupDir, ui_);
    ShowDocument();
    timer1_.start();
}

void MainWindow::OnSave() {
    BeginFileWork();
    SaveCommand(document_, ui_);
    ShowDocument();
    timer1_.start();
}

void MainWindow::OnSaveAs() {
    BeginFileWork();
    SaveAsCommand(document_, ui_);
    ShowDocument();
    timer1_.start();
}

void MainWindow::OnRecentFile(int index) {
    if (index >= static_cast<int>(session_.recentFiles.size())) return;
    BeginFileWork();
    const std::string path = session_.recentFiles[static_cast<std::size_t>(index)];
    const std::vector<std::string> before = session_.recentFiles;
    OpenRecentFile(document_, session_.recentFiles, path, ui_);
    if (session_.recentFiles != before) WriteRecentFiles(session_.paths, session_.recentFiles);
    ShowDocument();
    timer1_.start();
}

void MainWindow::OpenFile(const QString& path) {
    BeginFileWork();
    OpenFileCommand(document_, ToStdString(QFileInfo(path).absoluteFilePath()), ui_);
    ShowDocument();
    timer1_.start();
}

void MainWindow::dragEnterEvent(QDragEnterEvent* event) {
    if (!DroppedProject(event->mimeData()).isEmpty()) event->acceptProposedAction();
}

void MainWindow::dragMoveEvent(QDragMoveEvent* event) {
    if (!DroppedProject(event->mimeData()).isEmpty()) event->acceptProposedAction();
}

void MainWindow::dropEvent(QDropEvent* event) {
    const QString path = DroppedProject(event->mimeData());
    if (path.isEmpty()) return;
    event->acceptProposedAction();
    OpenFile(path);
}

void MainWindow::OnPrint() {
    grid_->CommitEditor();
    QtPrinter printer;
    PrintCommand(document_, ui_, printer);
}

void MainWindow::OnPrintFile() {
    BeginFileWork();
    PrintToFileCommand(document_, ui_);
    timer1_.start();
}

void MainWindow::OnPrintPreview() {
    grid_->CommitEditor();
    const PrintTable table = BuildPrintTable(document_, language_, PrintDate());
    ShowPrintPreview(table, ToQString(language_.LanguageText("Menu", "10009")).remove('&'), ui_,
                     this);
}

void MainWindow::OnExportPdf() {
    BeginFileWork();
    ExportPdfCommand(document_, language_, PrintDate(), ui_, PrintTablePdf);
    timer1_.start();
}

void MainWindow::OnWrite() {
    grid_->CommitEditor();
    const auto review = [this](const CheckProblems& problems, WriteCheck decision) {
        return ShowCheckList(problems, decision == WriteCheck::Ask);
    };
    if (!PrepareWrite(document_, session_, ui_, review)) return;
    RunTransfer(TransferMode::Write);
}

void MainWindow::OnWriteSeveral() {
    grid_->CommitEditor();
    // The check of a single write, once for all radios; no port is needed
    // yet, and the notice to connect the radio would be one per radio.
    const auto review = [this](const CheckProblems& problems, WriteCheck decision) {
        return ShowCheckList(problems, decision == WriteCheck::Ask);
    };
    if (!CheckBeforeWrite(document_, session_, ui_, review)) return;
    if (!CheckWriteChannels(document_, ui_)) return;
    {
        FleetWindow window(document_, session_, *links_, language_, this);
        window.exec();
    }
    ShowDocument();
}

std::vector<int> MainWindow::SelectedChannels() const {
    std::vector<int> channels;
    for (const int row : grid_->SelectedRows()) {
        if (row <= kChannelRows) channels.push_back(row - 1);
    }
    if (channels.empty()) {
        if (const auto current = CurrentChannel()) channels.push_back(*current);
    }
    std::sort(channels.begin(), channels.end());
    channels.erase(std::unique(channels.begin(), channels.end()), channels.end());
    return channels;
}

std::optional<int> MainWindow::CurrentChannel() const {
    // The document keeps the current cell across a reload of the grid.
    const QModelIndex current = grid_->currentIndex();
    const int row = current.isValid() ? current.row() + 1 : document_.currentRow;
    if (row < 1 || row > kChannelRows) return std::nullopt;
    return row - 1;
}

void MainWindow::OnChannels(const std::function<bool(const std::vector<int>&)>& operation) {
    grid_->CommitEditor();
    const std::vector<int> channels = SelectedChannels();
    if (channels.empty()) return;
    if (operation(channels)) ShowDocument();
}

void MainWindow::CopyChannels(const std::vector<int>& channels) {
    if (channels.empty()) return;
    // A spreadsheet takes the CSV text; qxprog itself every field of the channels.
    auto* data = new QMimeData;
    data->setText(ToQString(CopiedChannelsText(document_.codeplug(), channels)));
    const std::string records = CopiedChannelsRecords(document_.codeplug(), channels);
    data->setData(kChannelsMimeType,
                  QByteArray(records.data(), static_cast<qsizetype>(records.size())));
    QApplication::clipboard()->setMimeData(data);
}

void MainWindow::OnPasteChannels() {
    grid_->CommitEditor();
    const auto current = CurrentChannel();
    if (!current) return;
    const QMimeData* data = QApplication::clipboard()->mimeData();
    if (data == nullptr) return;
    std::optional<CsvImportPlan> plan;
    if (data->hasFormat(kChannelsMimeType)) {
        const QByteArray records = data->data(kChannelsMimeType);
        plan = PlanRecordsPaste(
            document_.codeplug(),
            std::string_view(records.constData(), static_cast<std::size_t>(records.size())),
            *current);
    }
    if (!plan) plan = PlanPaste(document_.codeplug(), ToStdString(data->text()), *current);
    if (plan->fileIssue == CsvFileIssue::None &&
        ApplyCsvImport(document_, *plan, StepKind::PasteChannels)) {
        ShowDocument();
    }
    // Whatever was left out or changed to fit is said; a clean paste says nothing.
    if (plan->fileIssue != CsvFileIssue::None || plan->skipped > 0 || plan->changed > 0) {
        ui_.ShowMessage(JoinLines(CsvSummaryLines(*plan, language_)));
    }
}

void MainWindow::OnImportCsv() {
    BeginFileWork();
    const auto review = [this](const CsvImportPlan& plan, const std::vector<std::string>& summary) {
        CsvSummaryDialog dialog(summary, ReplacedChannels(document_.codeplug(), plan), language_,
                                this);
        return dialog.exec() == QDialog::Accepted;
    };
    ImportCsvCommand(document_, ui_, language_, review);
    ShowDocument();
    timer1_.start();
}

void MainWindow::OnExportCsv() {
    BeginFileWork();
    ExportCsvCommand(document_, ui_);
    timer1_.start();
}

void MainWindow::OnMove(int delta) {
    grid_->CommitEditor();
    const std::vector<int> channels = SelectedChannels();
    const int column = std::max(grid_->currentIndex().column(), 0);
    if (channels.empty() || !MoveChannels(document_, channels, delta)) return;
    ShowDocument();
    // The selection moves with the channels.
    QItemSelection moved;
    for (const int channel : MovedChannels(channels, delta)) {
        const QModelIndex index = grid_->model()->index(channel, column);
        moved.select(index, index);
    }
    grid_->setCurrentIndex(grid_->model()->index(channels.front() + delta, column));
    grid_->selectionModel()->select(moved, QItemSelectionModel::ClearAndSelect);
}

void MainWindow::OnCheck() {
    grid_->CommitEditor();
    const CheckProblems problems = CheckCodeplug(document_.codeplug());
    if (problems.empty()) {
        ui_.ShowMessage(language_.LanguageText("Check", "None"));
        return;
    }
    ShowCheckList(problems, false);
}

bool MainWindow::ShowCheckList(const CheckProblems& problems, bool offerWrite) {
    std::optional<CheckProblem> chosen;
    bool goOn = false;
    {
        CheckList list(problems, offerWrite, language_, this);
        goOn = list.exec() == QDialog::Accepted;
        chosen = list.chosen();
    }
    if (chosen) GoToProblem(*chosen);
    return goOn;
}

void MainWindow::GoToProblem(const CheckProblem& problem) {
    switch (problem.area) {
        case CheckArea::Channel:
            grid_->SelectCell(problem.row, kFirstFieldColumn + static_cast<int>(problem.field));
            break;
        case CheckArea::Options:
            RunDialog<OptionDialogView>();
            break;
        case CheckArea::AutoDialer:
            RunDialog<AutoDialerView>(ui_);
            break;
        case CheckArea::FiveTone:
            RunDialog<FiveToneDialogView>(ui_);
            break;
    }
}

void MainWindow::OnRead() {
    grid_->CommitEditor();
    if (!PrepareRead(document_, session_, ui_)) return;
    RunTransfer(TransferMode::Read);
}

void MainWindow::OnReadButton() {
    grid_->CommitEditor();
    // A completed read replaces the document, so unsaved changes are saved
    // first or kept by not reading; a failed read leaves the document as it was.
    const bool goOn = ConfirmDiscard(document_, ui_, Buttons::YesNoCancel);
    ShowDocument();
    if (goOn) OnRead();
}

void MainWindow::OnRestore() {
    grid_->CommitEditor();
    auto image = ChooseBackupToRestore(session_, ui_);
    if (!image) return;
    if (!PrepareRestore(document_, session_, ui_)) return;
    RunTransfer(TransferMode::Write, std::move(*image));
}

void MainWindow::RunTransfer(TransferMode mode, BackupImage restore) {
    {
        TransferWindow window(mode, document_, session_, *links_, language_, this,
                              std::move(restore));
        window.exec();
        FinishTransfer(document_, session_, window.transfer(), ui_);
    }
    ShowDocument();
}

void MainWindow::OnPortSettings() {
    if (portDialog_) {
        portDialog_->raise();
        portDialog_->activateWindow();
        return;
    }
    auto directory = std::make_unique<QtPortDirectory>();
    if (!PreparePortDialog(session_, *directory, ui_)) return;
    portDialog_ = new PortSettingsDialog(session_, std::move(directory), language_, ui_, this);
    portDialog_->show();
}

void MainWindow::OnLanguage(const std::string& languageFile) {
    grid_->CommitEditor();
    SwitchLanguage(document_, session_, language_, languageFile);
    ApplyTexts();
    ShowDocument();
}

void MainWindow::OnAbout() {
    AboutBox box(language_, this);
    box.exec();
}

void MainWindow::closeEvent(QCloseEvent* event) {
    grid_->CommitEditor();
    if (!UnloadCommand(document_, ui_)) {
        event->ignore();
        ShowDocument();
        return;
    }
    if (portDialog_) portDialog_->close();
    WriteWindowGeometry(session_.paths, saveGeometry().toBase64().toStdString());
    event->accept();
}

}  // namespace qx
