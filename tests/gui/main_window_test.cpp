// The main window driven through its menus, toolbar, keys, grid and model
// selector, with the message boxes, file dialogs and transfer window answered
// as a user would.
#include <QAbstractItemView>
#include <QClipboard>
#include <QComboBox>
#include <QDropEvent>
#include <QFileDialog>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QPrinterInfo>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTableView>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QToolBar>
#include <QWindow>
#include <QtTest>

#include "about_box.h"
#include "app/channel_ops.h"
#include "app/project_file.h"
#include "app/settings_files.h"
#include "channels/cell_editors.h"
#include "codeplug/defaults.h"
#include "image/memory_image.h"
#include "link/simulated_radio.h"
#include "main_window.h"
#include "modal_answerer.h"
#include "options/option_dialog.h"
#include "platform/ui.h"
#include "screenshot.h"

namespace {

using qx::test::ModalAnswerer;

QString Text(const char* file, const char* section, const char* key) {
    return QString::fromStdString(
        qx::LanguageTexts(QX_LANGUAGE_DIR, file).LanguageText(section, key));
}

// The window title: the file name, the modified marker, the program's title.
QString Title(const QString& file, const char* language = "english.ini") {
    return file + " - " + Text(language, "OTHERS", "70018");
}

// The rows of a test run once in each language, by its language file.
void LanguageRows() {
    QTest::addColumn<QString>("language");
    QTest::newRow("english") << "english.ini";
    QTest::newRow("chinese") << "chinese.ini";
}

QAction* Action(QWidget& window, const char* name) {
    return window.findChild<QAction*>(QString::fromLatin1(name));
}

QAbstractItemView* Grid(QWidget& window) { return window.findChild<QAbstractItemView*>("MFG"); }

// What the grid shows in a cell (rows 1..104, columns 1..16), and in all of them.
QString Shown(QWidget& window, int row, int column) {
    return Grid(window)->model()->index(row - 1, column - 1).data().toString();
}
QStringList AllShown(QWidget& window) {
    QStringList cells;
    const QAbstractItemModel* model = Grid(window)->model();
    for (int row = 0; row < model->rowCount(); ++row) {
        for (int column = 0; column < model->columnCount(); ++column) {
            cells << model->index(row, column).data().toString();
        }
    }
    return cells;
}

void ClickCell(QWidget& window, int row, int column) {
    QAbstractItemView* grid = Grid(window);
    const QModelIndex index = grid->model()->index(row - 1, column - 1);
    grid->scrollTo(index);
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, grid->visualRect(index).center());
}

// Types into the editor a click on the cell opens and commits it with Enter.
void TypeIntoCell(QWidget& window, int row, int column, const QString& text) {
    ClickCell(window, row, column);
    auto* editor = qobject_cast<QLineEdit*>(QApplication::focusWidget());
    QVERIFY(editor != nullptr);
    QTest::keyClicks(editor, text);
    QTest::keyClick(editor, Qt::Key_Return);
    QVERIFY(Grid(window)->hasFocus());
}

// A key pressed in the window where the focus is, as the user presses it.
// A window shortcut needs its window active: a desktop gives the activation
// back to the window when a dialog over it closes, the offscreen platform not.
void PressKey(QWidget& window, Qt::Key key, Qt::KeyboardModifiers modifiers) {
    window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    QWidget* focus = window.focusWidget();
    QTest::keyClick(focus != nullptr ? focus : &window, key, modifiers);
}

// The title as the window system shows it: the "[*]" turned into "*" or dropped.
QString ShownTitle(QWidget& window) { return window.windowHandle()->title(); }

// The Undo (or Redo) menu entry and toolbar button agree; the entry's text and state.
QString EditEntry(QWidget& window, const char* entry, const char* button) {
    QAction* menu = Action(window, entry);
    QAction* tool = Action(window, button);
    if (menu->text() != tool->text() || menu->isEnabled() != tool->isEnabled()) return "differ";
    return menu->isEnabled() ? menu->text() : "disabled";
}
QString UndoEntry(QWidget& window) { return EditEntry(window, "Menu_Undo", "UndoBtn"); }
QString RedoEntry(QWidget& window) { return EditEntry(window, "Menu_Redo", "RedoBtn"); }

// A change as an editor makes it: one step, the document modified.
void Rename(qx::Document& doc, int row, const std::string& name) {
    doc.Change({qx::StepKind::ChannelEdit, row, qx::ChannelField::Name},
               [&](qx::Codeplug& codeplug) { codeplug.Row(row).name = name; });
}

// Channels 0 and 1 in use, named "FIRST" and "SECOND".
void NameFirstTwo(qx::Document& doc) {
    qx::SetRowInUse(doc, 2, true);
    Rename(doc, 1, "FIRST");
    Rename(doc, 2, "SECOND");
}

// A project file the core writes: a new document of the start model.
void WriteNewProject(const QString& path) {
    QCOMPARE(qx::WriteProject(qx::NewCodeplug(qx::kStartModel), path.toStdString()), std::string());
}

// Files dragged from a file manager onto `target`; true when it takes them.
bool Drop(QWidget& target, const QStringList& paths) {
    QMimeData data;
    QList<QUrl> urls;
    for (const QString& path : paths) urls << QUrl::fromLocalFile(path);
    data.setUrls(urls);
    const QPointF at(target.width() / 2.0, target.height() / 2.0);
    QDragEnterEvent enter(at.toPoint(), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&target, &enter);
    if (!enter.isAccepted()) return false;
    QDropEvent drop(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&target, &drop);
    return drop.isAccepted();
}

// The recent files entries of the File menu that show.
QStringList RecentEntries(QWidget& window) {
    QStringList entries;
    for (int i = 1; i <= 9; ++i) {
        QAction* entry = window.findChild<QAction*>(QStringLiteral("Menu_Recent%1").arg(i));
        if (entry != nullptr && entry->isVisible()) entries << entry->text();
    }
    return entries;
}

void ChooseFile(ModalAnswerer& answerer, const QString& path) {
    answerer.Then([path](QWidget* window) {
        auto* dialog = qobject_cast<QFileDialog*>(window);
        if (dialog == nullptr) return window->close(), void();
        dialog->selectFile(path);
        // The dialog's folder model fills in the background and may still
        // change the selection; the typed name is what accepting takes.
        if (auto* edit = dialog->findChild<QLineEdit*>("fileNameEdit")) edit->setText(path);
        static_cast<QDialog*>(dialog)->accept();  // QFileDialog hides it
    });
}

}  // namespace

class MainWindowTest : public QObject {
    Q_OBJECT
  private:
    QTemporaryDir config_;

    qx::Session TestSession(const std::string& languageFile) {
        qx::Session session;
        session.paths = qx::SettingsPaths{QX_LANGUAGE_DIR, config_.path().toStdString(), {}};
        session.languageFile = languageFile;
        session.featureFlags = qx::FeatureFlags{.fiveTone = false, .twoTone = true, .dtmf = true};
        session.portName = "sim";
        return session;
    }

  private slots:
    void startsWithItsTextsMenusAndToolbar() {
        qx::Session session = TestSession("english.ini");
        qx::MainWindow window(session);
        QCOMPARE(window.objectName(), QStringLiteral("Frm_Radio"));
        QCOMPARE(window.windowTitle(), Title("noname.qx[*]"));
        QVERIFY(!window.isWindowModified());
        QCOMPARE(window.document().model(), 3);
        QCOMPARE(window.findChild<QComboBox*>("Combo1")->currentIndex(), 3);
        QVERIFY(!window.document().Modified());
        QCOMPARE(UndoEntry(window), QStringLiteral("disabled"));
        QCOMPARE(RedoEntry(window), QStringLiteral("disabled"));
        QCOMPARE(Action(window, "Menu_Undo")->text(), QStringLiteral("&Undo"));
        QCOMPARE(Action(window, "Menu_Undo")->shortcut(), QKeySequence(QKeySequence::Undo));
        QCOMPARE(Action(window, "Menu_Redo")->shortcuts(),
                 (QList<QKeySequence>{QKeySequence("Ctrl+Shift+Z"), QKeySequence("Ctrl+Y")}));

        QStringList menus;
        for (QAction* menu : window.menuBar()->actions()) {
            QStringList entries;
            for (QAction* entry : menu->menu()->actions()) {
                if (entry->isVisible() && !entry->isSeparator()) entries << entry->objectName();
            }
            menus << menu->text() + ": " + entries.join(' ');
        }
        // The 5-tone entry follows the session's features; the radio setup entry is hidden.
        QCOMPARE(menus,
                 QStringList({
                     "&File: Menu_New Menu_Open Menu_OpenBackup Menu_Save Menu_SaveAs Menu_ImportCsv "
                     "Menu_ExportCsv Menu_Print Menu_PrintFile Menu_PrintPreview Menu_ExportPdf "
                     "Menu_Exit",
                     "&Edit: Menu_Undo Menu_Redo Menu_CutChannels Menu_CopyChannels "
                     "Menu_PasteChannels Menu_InsertChannel Menu_DeleteChannels Menu_MoveUp "
                     "Menu_MoveDown Menu_ClearChannels",
                     "&Option: Menu_RadioOption mnuDTMF mnu2Tone Menu_AutoDiaer",
                     "&Transfer: Menu_WriteCHData Menu_WriteSeveral Menu_ReadCHData "
                     "Menu_RestoreBackup Menu_Check Menu_COMPort",
                     "&Language: Menu_English Menu_Chinese",
                     "&Help: Menu_About",
                 }));
        QStringList tips;
        for (QAction* button : window.findChild<QToolBar*>("Toolbar1")->actions()) {
            tips << button->objectName() + "=" + button->toolTip();
            QVERIFY(!button->icon().isNull());
        }
        QCOMPARE(tips, QStringList({"NewBtn=New", "OpenBtn=Open", "SaveBtn=Save",
                                    "OptionBtn=Radio Option", "AdBtn=Auto Dialer",
                                    "ReadBtn=Read data from radio", "Write=Write data to radio",
                                    "UndoBtn=Undo", "RedoBtn=Redo"}));
    }

    void fileEntriesHaveTheDesktopKeys() {
        qx::Session session = TestSession("english.ini");
        qx::MainWindow window(session);
        const std::pair<const char*, const char*> keys[] = {
            {"Menu_New", "Ctrl+N"},          {"Menu_Open", "Ctrl+O"},  {"Menu_Save", "Ctrl+S"},
            {"Menu_SaveAs", "Ctrl+Shift+S"}, {"Menu_Print", "Ctrl+P"},
        };
        for (const auto& [name, key] : keys) {
            QCOMPARE(Action(window, name)->shortcut(), QKeySequence(QString::fromLatin1(key)));
        }
        QCOMPARE(Action(window, "Menu_SaveAs")->text(), Text("english.ini", "Menu", "SaveAs"));
    }

    // Ctrl+S asks for a name only the first time; ".qx" is added to a name
    // typed without it; the title follows; Save As proposes the file.
    void saveAsksForANameOnceThenSavesInPlace() {
        qx::Session session = TestSession("english.ini");
        QTemporaryDir folder;
        qx::MainWindow window(session);
        window.show();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        TypeIntoCell(window, 1, qx::kColName, QStringLiteral("first"));
        QCOMPARE(ShownTitle(window), Title("noname.qx*"));
        ModalAnswerer answerer;
        ChooseFile(answerer, folder.filePath("dealer1"));
        PressKey(window, Qt::Key_S, Qt::ControlModifier);
        QVERIFY(answerer.AllAnswered());
        QVERIFY(QFile::exists(folder.filePath("dealer1.qx")));
        QVERIFY(QFile::exists(folder.filePath("dealer1.ton")));
        QVERIFY(!QFile::exists(folder.filePath("dealer1")));
        QCOMPARE(ShownTitle(window), Title("dealer1.qx"));
        QCOMPARE(session.lastFolder, folder.path().toStdString());
        QCOMPARE(qx::ReadLastFolder(session.paths), folder.path().toStdString());

        QTRY_VERIFY(Grid(window)->isEnabled());  // Timer1 gives it back
        window.activateWindow();                 // the offscreen platform does not after a dialog
        QVERIFY(QTest::qWaitForWindowActive(&window));
        TypeIntoCell(window, 1, qx::kColName, QStringLiteral("2"));
        QCOMPARE(ShownTitle(window), Title("dealer1.qx*"));
        PressKey(window, Qt::Key_S, Qt::ControlModifier);  // no dialog
        QCOMPARE(ShownTitle(window), Title("dealer1.qx"));
        qx::Document reopened;
        qx::SilentUi silent;
        QCOMPARE(qx::OpenProject(reopened, folder.filePath("dealer1.qx").toStdString(), silent),
                 qx::OpenOutcome::Opened);
        QCOMPARE(reopened.codeplug(), window.document().codeplug());

        // Save As starts at the document's file.
        QString proposed;
        answerer.Then([&proposed, &folder](QWidget* w) {
            auto* dialog = qobject_cast<QFileDialog*>(w);
            if (dialog == nullptr) return w->close(), void();
            proposed = dialog->selectedFiles().value(0);
            dialog->findChild<QLineEdit*>("fileNameEdit")->setText(folder.filePath("copy"));
            static_cast<QDialog*>(dialog)->accept();
        });
        PressKey(window, Qt::Key_S, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(proposed, folder.filePath("dealer1.qx"));
        QCOMPARE(ShownTitle(window), Title("copy.qx"));

        // The open dialog starts in the folder last used.
        QString openedIn;
        answerer.Then([&openedIn](QWidget* w) {
            if (auto* dialog = qobject_cast<QFileDialog*>(w)) {
                openedIn = dialog->directory().absolutePath();
            }
            static_cast<QDialog*>(w)->reject();
        });
        PressKey(window, Qt::Key_O, Qt::ControlModifier);
        QCOMPARE(openedIn, QDir(folder.path()).absolutePath());
        QVERIFY(answerer.AllAnswered());
        QVERIFY(answerer.Unexpected().isEmpty());
    }

    void theQuestionBeforeOpenKeepsTheDocumentOnEscape() {
        qx::Session session = TestSession("english.ini");
        qx::MainWindow window(session);
        window.show();
        Rename(window.document(), 1, "KEEP");
        ModalAnswerer answerer;
        QStringList buttons;
        answerer.Then([&buttons](QWidget* w) {
            auto* box = qobject_cast<QMessageBox*>(w);
            if (box == nullptr) return w->close(), void();
            for (QAbstractButton* button : box->buttons()) {
                buttons << QString::number(box->standardButton(button), 16);
            }
            QTest::keyClick(box, Qt::Key_Escape);
        });
        Action(window, "Menu_Open")->trigger();
        buttons.sort();
        QStringList expected{QString::number(QMessageBox::Yes, 16),
                             QString::number(QMessageBox::No, 16),
                             QString::number(QMessageBox::Cancel, 16)};
        expected.sort();
        QCOMPARE(buttons, expected);
        QVERIFY(answerer.AllAnswered());
        QVERIFY(answerer.Unexpected().isEmpty());  // no open dialog followed
        QCOMPARE(Shown(window, 1, qx::kColName), QStringLiteral("KEEP"));
        QVERIFY(window.isWindowModified());
    }

    // A file named on the command line, a file dropped on the window.
    void opensAFileGivenAtStartOrDropped() {
        qx::Session session = TestSession("english.ini");
        QTemporaryDir folder;
        const QString start = folder.filePath("start.qx");
        const QString dropped = folder.filePath("dropped.qx");
        WriteNewProject(start);
        WriteNewProject(dropped);
        ModalAnswerer answerer;
        {
            qx::MainWindow window(session);
            answerer.Press(QMessageBox::Ok);
            window.OpenFile(folder.filePath("missing.qx"));
            QVERIFY(answerer.Texts().value(0).startsWith("Cannot open \""));
            QCOMPARE(window.windowTitle(), Title("noname.qx[*]"));
        }
        qx::MainWindow window(session);
        window.show();
        window.OpenFile(start);
        QCOMPARE(ShownTitle(window), Title("start.qx"));

        QVERIFY(!Drop(window, {folder.filePath("notes.txt")}));
        Rename(window.document(), 1, "EDIT");
        answerer.Press(QMessageBox::Cancel);
        QVERIFY(Drop(window, {dropped}));
        QCOMPARE(ShownTitle(window), Title("start.qx*"));
        answerer.Press(QMessageBox::No);
        QVERIFY(Drop(window, {folder.filePath("notes.txt"), dropped}));
        QCOMPARE(ShownTitle(window), Title("dropped.qx"));
        QCOMPARE(answerer.Texts().mid(1), QStringList(2, Text("english.ini", "MSG", "9001")));
        QVERIFY(answerer.AllAnswered());
        QVERIFY(answerer.Unexpected().isEmpty());
    }

    // The eight latest files, latest first, each once, kept for the next
    // start; a file gone since is said and dropped when chosen.
    void recentFilesListTheLatestEight() {
        QTemporaryDir config;
        QTemporaryDir folder;
        const auto file = [&folder](int n) {
            return folder.filePath(QStringLiteral("f%1.qx").arg(n));
        };
        for (int n = 1; n <= 9; ++n) WriteNewProject(file(n));
        qx::Session session = TestSession("english.ini");
        session.paths.configDir = config.path().toStdString();
        ModalAnswerer answerer;
        {
            qx::MainWindow window(session);
            QCOMPARE(RecentEntries(window), QStringList());
            for (int n = 1; n <= 9; ++n) window.OpenFile(file(n));
            window.OpenFile(file(5));
            QCOMPARE(RecentEntries(window),
                     QStringList({"&1 f5.qx", "&2 f9.qx", "&3 f8.qx", "&4 f7.qx", "&5 f6.qx",
                                  "&6 f4.qx", "&7 f3.qx", "&8 f2.qx"}));
            Action(window, "Menu_Recent3")->trigger();
            QCOMPARE(window.windowTitle(), Title("f8.qx[*]"));
            QCOMPARE(RecentEntries(window).mid(0, 3),
                     QStringList({"&1 f8.qx", "&2 f5.qx", "&3 f9.qx"}));

            QVERIFY(QFile::remove(file(3)));
            answerer.Press(QMessageBox::Ok);
            Action(window, "Menu_Recent7")->trigger();
            QCOMPARE(answerer.Texts(), QStringList{"\"" + file(3) +
                                                   "\" no longer exists. It has been removed "
                                                   "from the recent files."});
            QCOMPARE(window.windowTitle(), Title("f8.qx[*]"));
        }
        const QStringList expected{"&1 f8.qx", "&2 f5.qx", "&3 f9.qx", "&4 f7.qx",
                                   "&5 f6.qx", "&6 f4.qx", "&7 f2.qx"};
        qx::Session next = qx::StartSession(session.paths, {}, "");
        qx::MainWindow window(next);
        QCOMPARE(RecentEntries(window), expected);
        QVERIFY(answerer.AllAnswered());
        QVERIFY(answerer.Unexpected().isEmpty());
    }

    void theWindowComesBackWhereItWas() {
        QTemporaryDir config;
        qx::Session session = TestSession("english.ini");
        session.paths.configDir = config.path().toStdString();
        QRect was;
        {
            qx::MainWindow window(session);
            window.show();
            window.setGeometry(120, 90, 900, 600);
            QTRY_COMPARE(window.size(), QSize(900, 600));
            was = window.geometry();
            QVERIFY(window.close());
        }
        qx::MainWindow window(session);
        window.show();
        QTRY_COMPARE(window.geometry(), was);
    }

    void startsWithoutALanguageFile() {
        qx::Session session = TestSession("");
        qx::MainWindow window(session);
        QCOMPARE(window.windowTitle(), QStringLiteral("noname.qx[*]"));
        QCOMPARE(window.document().model(), 3);
    }

    void newWithUnsavedChangesAsksAndCancelKeepsEverything() {
        qx::Session session = TestSession("english.ini");
        qx::MainWindow window(session);
        Rename(window.document(), 1, "KEEP");
        ModalAnswerer answerer;
        answerer.Press(QMessageBox::Cancel);
        Action(window, "NewBtn")->trigger();
        QCOMPARE(answerer.Texts(), QStringList{Text("english.ini", "MSG", "9001")});
        QCOMPARE(Shown(window, 1, qx::kColName), QStringLiteral("KEEP"));
        QVERIFY(window.document().Modified());

        answerer.Press(QMessageBox::No);
        Action(window, "Menu_New")->trigger();
        QCOMPARE(Shown(window, 1, qx::kColName), QString());
        QVERIFY(!window.document().Modified());
        QVERIFY(answerer.Unexpected().isEmpty());
    }

    void saveThenOpenReproducesTheGrid() {
        qx::Session session = TestSession("english.ini");
        qx::MainWindow window(session);
        window.show();
        qx::Document& doc = window.document();
        qx::ToggleRowStatus(doc, 6);
        Rename(doc, 6, "SAVED");
        doc.Change({}, [](qx::Codeplug& c) { c.Row(1).rxTone = *qx::Tone::Parse("C:88.5"); });
        const QString path = config_.filePath("round.qx");
        ModalAnswerer answerer;
        ChooseFile(answerer, path);
        Action(window, "Menu_Save")->trigger();
        QVERIFY(QFile::exists(path));
        auto* grid = window.findChild<QWidget*>("MFG");
        QVERIFY(!grid->isEnabled());  // Timer1 gives it back
        QTRY_VERIFY(grid->isEnabled());
        const QStringList saved = AllShown(window);
        QCOMPARE(window.findChild<QLabel*>("Panel1")->text(), " Current File: " + path);
        QCOMPARE(ShownTitle(window), Title("round.qx"));

        Action(window, "Menu_New")->trigger();
        QVERIFY(AllShown(window) != saved);
        ChooseFile(answerer, path);
        Action(window, "Menu_Open")->trigger();
        QCOMPARE(AllShown(window), saved);
        QCOMPARE(Shown(window, 1, qx::kColRxTone), QStringLiteral("C:88.5"));
        QVERIFY(!window.isWindowModified());

        // A backup image opens as a new document over the grid.
        const qx::ImageEncoding image = qx::EncodeImage(qx::NewCodeplug(qx::kStartModel),
                                                        qx::FeatureFlags{true, true, true, false});
        const QString backup = config_.filePath(QStringLiteral("20261208-143015-model3-read.img"));
        QFile file(backup);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(reinterpret_cast<const char*>(image.image.data()),
                   static_cast<qint64>(image.image.size()));
        file.close();
        ChooseFile(answerer, backup);
        Action(window, "Menu_OpenBackup")->trigger();
        QCOMPARE(Shown(window, 1, qx::kColRxTone), QStringLiteral("off"));
        QCOMPARE(ShownTitle(window), Title("noname.qx"));
        QCOMPARE(UndoEntry(window), QStringLiteral("&Undo: opening a file"));
        QVERIFY(answerer.AllAnswered());
        QVERIFY(answerer.Unexpected().isEmpty());
    }

    // No question: the texts change, the document and its history stay.
    void switchingToChineseChangesTheCaptionsAndKeepsTheDocument() {
        qx::Session session = TestSession("english.ini");
        qx::MainWindow window(session);
        window.show();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        TypeIntoCell(window, 1, qx::kColName, QStringLiteral("kept"));
        QCOMPARE(UndoEntry(window), QStringLiteral("&Undo: channel 0 Name"));
        ModalAnswerer answerer;
        Action(window, "Menu_Chinese")->trigger();
        QCOMPARE(session.languageFile, std::string("chinese.ini"));
        QCOMPARE(qx::ReadCurrentLanguage(session.paths), std::string("chinese.ini"));
        QCOMPARE(window.windowTitle(), Title("noname.qx[*]", "chinese.ini"));
        QCOMPARE(window.findChild<QMenu*>("Menu_File")->title(),
                 Text("chinese.ini", "Menu", "1000M"));
        QCOMPARE(Action(window, "Write")->toolTip(), Text("chinese.ini", "Toolbar", "8006"));
        QCOMPARE(window.findChild<QGroupBox*>("Frame1")->title(),
                 Text("chinese.ini", "OTHERS", "70010"));
        QCOMPARE(Shown(window, 1, qx::kColStatus), Text("chinese.ini", "Channel", "50015"));
        QCOMPARE(Shown(window, 1, qx::kColBandwidth), Text("chinese.ini", "Channel", "50019"));
        QCOMPARE(Shown(window, 1, qx::kColName), QStringLiteral("KEPT"));
        QVERIFY(window.isWindowModified());
        QCOMPARE(UndoEntry(window), QStringLiteral("撤销(&U)：信道 0 名称"));

        PressKey(window, Qt::Key_Z, Qt::ControlModifier);  // the edit made before the switch
        QCOMPARE(Shown(window, 1, qx::kColName), QString());
        QVERIFY(!window.isWindowModified());
        QVERIFY(answerer.Texts().isEmpty());
        QVERIFY(answerer.Unexpected().isEmpty());
    }

    // Transfer > Restore Backup: the open dialog in the backup folder, then
    // the restore window writes the image; the document stays as it was.
    void restoringABackupWritesItIntoTheRadio() {
        qx::Session session = TestSession("english.ini");
        session.paths.backupDir = config_.filePath("backups").toStdString();
        QVERIFY(QDir().mkpath(config_.filePath("backups")));
        qx::MainWindow window(session);
        window.show();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        qx::Document radioDoc = window.document();
        Rename(radioDoc, 1, "BACKUP");
        const QString backup = config_.filePath("backups/20261208-143015-model3-read.img");
        {
            const std::vector<std::uint8_t> image = qx::FreshRadioMemory(radioDoc);
            QFile file(backup);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(reinterpret_cast<const char*>(image.data()),
                       static_cast<qint64>(image.size()));
        }
        const auto before = window.document().codeplug();
        ModalAnswerer answerer;
        QString startFolder;
        answerer.Then([&startFolder, backup](QWidget* dialog) {
            auto* files = qobject_cast<QFileDialog*>(dialog);
            if (files == nullptr) return dialog->close(), void();
            startFolder = files->directory().absolutePath();
            if (auto* edit = files->findChild<QLineEdit*>("fileNameEdit")) edit->setText(backup);
            static_cast<QDialog*>(files)->accept();
        });
        answerer.Press(QMessageBox::Ok);  // MSG 9007
        QString title;
        answerer.Then([&title](QWidget* transfer) {
            title = transfer->windowTitle();
            transfer->findChild<QPushButton*>("cmdAutoSend")->click();
        });
        answerer.Press(QMessageBox::Ok);  // RW msg3
        Action(window, "Menu_RestoreBackup")->trigger();
        QCOMPARE(startFolder, QDir(config_.filePath("backups")).absolutePath());
        QCOMPARE(title, QStringLiteral("Restore backup to radio  (COMM Port:sim)"));
        QVERIFY(window.document().codeplug() == before);
        const std::vector<std::uint8_t>& memory = window.portLinks().SimRadio().Memory();
        QCOMPARE(qx::DecodeImage(memory, 3).codeplug.Row(1).name, std::string("BACKUP"));
        QVERIFY(answerer.AllAnswered());
        QVERIFY(answerer.Unexpected().isEmpty());
    }

    // The Edit menu's channel entries act on the grid's current channel and
    // keep it selected; each is one step that Ctrl+Z takes back.
    void channelEntriesActOnTheCurrentChannel() {
        qx::Session session = TestSession("english.ini");
        qx::MainWindow window(session);
        window.show();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        NameFirstTwo(window.document());
        // SECOND's priority channel is FIRST, and follows it.
        window.document().Change(
            {}, [](qx::Codeplug& c) { c.Memory(1).priority = *qx::Priority::Parse("00"); });
        Grid(window)->setFocus();
        Grid(window)->setCurrentIndex(Grid(window)->model()->index(0, qx::kColName - 1));
        const QStringList before = AllShown(window);

        PressKey(window, Qt::Key_Down, Qt::AltModifier);
        QCOMPARE(Shown(window, 2, qx::kColName), QStringLiteral("FIRST"));
        QCOMPARE(Shown(window, 1, qx::kColName), QStringLiteral("SECOND"));
        QCOMPARE(Shown(window, 1, qx::kColPriority), QStringLiteral("01"));
        QCOMPARE(Grid(window)->currentIndex().row(), 1);
        QCOMPARE(UndoEntry(window), QStringLiteral("&Undo: moving channels"));
        PressKey(window, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(AllShown(window), before);

        // The current channel is still channel 1.
        Action(window, "Menu_InsertChannel")->trigger();
        QCOMPARE(Shown(window, 2, qx::kColName), QStringLiteral("---"));
        QCOMPARE(Shown(window, 3, qx::kColName), QStringLiteral("SECOND"));
        QCOMPARE(Shown(window, 3, qx::kColPriority), QStringLiteral("00"));
        PressKey(window, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(AllShown(window), before);

        // Deleting FIRST moves SECOND up; its priority channel is gone.
        Grid(window)->setCurrentIndex(Grid(window)->model()->index(0, qx::kColName - 1));
        PressKey(window, Qt::Key_Delete, Qt::ControlModifier);
        QCOMPARE(Shown(window, 1, qx::kColName), QStringLiteral("SECOND"));
        QCOMPARE(Shown(window, 1, qx::kColPriority), QStringLiteral("off"));
        PressKey(window, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(AllShown(window), before);

        Action(window, "Menu_ClearChannels")->trigger();
        QCOMPARE(Shown(window, 1, qx::kColName), QStringLiteral("---"));
        QCOMPARE(UndoEntry(window), QStringLiteral("&Undo: clearing channels"));
        PressKey(window, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(AllShown(window), before);
    }

    // Row labels select whole channels. Ctrl+C copies them as CSV for a
    // spreadsheet and with every field for qxprog; Ctrl+V puts them in from
    // the current channel down, as does a spreadsheet's tab-separated text;
    // Ctrl+X copies and clears. Each is one step.
    void copiedChannelsPasteFromTheCurrentChannel() {
        qx::Session session = TestSession("english.ini");
        qx::MainWindow window(session);
        window.show();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        NameFirstTwo(window.document());
        // Fields the CSV text does not carry.
        window.document().Change({}, [](qx::Codeplug& c) {
            c.Memory(1).priority = *qx::Priority::Parse("00");
            c.Memory(1).bcl = true;
        });
        const qx::Codeplug copied = window.document().codeplug();
        ModalAnswerer answerer;  // a paste that fits says nothing
        QAbstractItemView* grid = Grid(window);
        QHeaderView* labels = qobject_cast<QTableView*>(grid)->verticalHeader();
        const auto clickLabel = [labels](int row, Qt::KeyboardModifiers modifiers) {
            const int y =
                labels->sectionViewportPosition(row - 1) + labels->sectionSize(row - 1) / 2;
            QTest::mouseClick(labels->viewport(), Qt::LeftButton, modifiers, QPoint(5, y));
        };
        clickLabel(1, {});
        clickLabel(2, Qt::ShiftModifier);
        PressKey(window, Qt::Key_C, Qt::ControlModifier);
        QVERIFY(QApplication::clipboard()->text().startsWith("Location,Name,Frequency,"));
        QVERIFY(QApplication::clipboard()->mimeData()->hasFormat("application/x-qxprog-channels"));

        grid->setCurrentIndex(grid->model()->index(10, qx::kColName - 1));
        const QStringList before = AllShown(window);
        PressKey(window, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(Shown(window, 11, qx::kColName), QStringLiteral("FIRST"));
        QCOMPARE(Shown(window, 12, qx::kColName), QStringLiteral("SECOND"));
        QVERIFY(window.document().codeplug().Memory(11) == copied.Memory(1));
        QCOMPARE(UndoEntry(window), QStringLiteral("&Undo: pasting channels"));
        PressKey(window, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(AllShown(window), before);

        clickLabel(1, {});
        clickLabel(2, Qt::ControlModifier);
        PressKey(window, Qt::Key_X, Qt::ControlModifier);
        QCOMPARE(Shown(window, 1, qx::kColName), QStringLiteral("---"));
        QCOMPARE(Shown(window, 2, qx::kColName), QStringLiteral("---"));
        QCOMPARE(UndoEntry(window), QStringLiteral("&Undo: cutting channels"));
        grid->setCurrentIndex(grid->model()->index(20, qx::kColName - 1));
        PressKey(window, Qt::Key_V, Qt::ControlModifier);
        QVERIFY(window.document().codeplug().Memory(21) == copied.Memory(1));

        QApplication::clipboard()->setText(
            "20\tCELL\t146.525000\t\t0.000000\t\t88.5\t88.5\t023\tNN\t023\tTone->Tone\tNFM\t"
            "12.50\t\n");
        grid->setCurrentIndex(grid->model()->index(30, qx::kColName - 1));
        PressKey(window, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(Shown(window, 31, qx::kColName), QStringLiteral("CELL"));
        QCOMPARE(Shown(window, 31, qx::kColRxFreq), QStringLiteral("146.52500"));
        QCOMPARE(answerer.Unexpected(), QStringList{});
    }

    // A value chosen with several channels selected goes to all of them as
    // one step.
    void aChoiceFillsTheSelectedChannels() {
        qx::Session session = TestSession("english.ini");
        qx::MainWindow window(session);
        window.show();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        for (int row = 2; row <= 5; ++row) qx::SetRowInUse(window.document(), row, true);
        const QStringList before = AllShown(window);

        ClickCell(window, 1, qx::kColBandwidth);
        QAbstractItemView* grid = Grid(window);
        const QModelIndex last = grid->model()->index(4, qx::kColBandwidth - 1);
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, Qt::ShiftModifier,
                          grid->visualRect(last).center());
        auto* list = qobject_cast<QComboBox*>(QApplication::focusWidget());
        QVERIFY(list != nullptr);
        QCOMPARE(list->objectName(), QStringLiteral("ComboWN"));
        list->setCurrentIndex(1);
        emit list->activated(1);
        QTest::keyClick(list, Qt::Key_Return);
        const QString narrow = list->itemText(1);
        for (int row = 1; row <= 5; ++row) QCOMPARE(Shown(window, row, qx::kColBandwidth), narrow);
        QCOMPARE(Shown(window, 6, qx::kColBandwidth), QStringLiteral("---"));
        QCOMPARE(UndoEntry(window), QStringLiteral("&Undo: filling W/N"));

        PressKey(window, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(AllShown(window), before);
    }

    // File > Import Channels shows the summary before anything changes:
    // Cancel keeps the document, OK imports as one step.
    void importShowsItsSummaryFirst_data() { LanguageRows(); }
    void importShowsItsSummaryFirst() {
        QFETCH(QString, language);
        qx::Session session = TestSession(language.toStdString());
        qx::MainWindow window(session);
        window.show();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        const QString file = QStringLiteral(QX_TEST_DATA_DIR "/csv/import_model3.csv");
        const qx::Codeplug before = window.document().codeplug();
        ModalAnswerer answerer;
        QStringList notes;
        QString replaced;  // channel 0 is in use and in the file
        const auto summary = [&](bool ok) {
            answerer.Then([&, ok](QWidget* dialog) {
                QCOMPARE(dialog->objectName(), QStringLiteral("CsvSummary"));
                auto* list = dialog->findChild<QListWidget*>("Notes");
                notes.clear();
                for (int i = 0; i < list->count(); ++i) notes << list->item(i)->text();
                replaced = dialog->findChild<QLabel*>("Replaced")->text();
                qx::test::SaveShot(*dialog, "CsvSummary-" + language.section('.', 0, 0));
                dialog->findChild<QPushButton*>(ok ? "CommandOK" : "CommandCANCEL")->click();
            });
        };
        ChooseFile(answerer, file);
        summary(false);
        Action(window, "Menu_ImportCsv")->trigger();
        QVERIFY(answerer.AllAnswered());
        QVERIFY(!notes.isEmpty());
        QVERIFY2(replaced.endsWith(QLatin1Char('0')), qPrintable(replaced));
        QVERIFY(window.document().codeplug() == before);
        QVERIFY(!window.isWindowModified());

        ChooseFile(answerer, file);
        summary(true);
        Action(window, "Menu_ImportCsv")->trigger();
        QVERIFY(answerer.AllAnswered());
        QVERIFY(window.document().codeplug() != before);
        QVERIFY(window.isWindowModified());
        PressKey(window, Qt::Key_Z, Qt::ControlModifier);
        QVERIFY(window.document().codeplug() == before);
        QVERIFY(answerer.Unexpected().isEmpty());
    }

    // File > Export Channels writes the channels in use as CSV.
    void exportWritesTheChannelsInUse() {
        qx::Session session = TestSession("english.ini");
        qx::MainWindow window(session);
        window.show();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        NameFirstTwo(window.document());
        QTemporaryDir dir;
        const QString path = dir.filePath("list.csv");
        ModalAnswerer answerer;
        ChooseFile(answerer, path);
        Action(window, "Menu_ExportCsv")->trigger();
        QVERIFY(answerer.AllAnswered());
        QFile written(path);
        QVERIFY(written.open(QIODevice::ReadOnly));
        const QList<QByteArray> lines = written.readAll().split('\n');
        QVERIFY(lines.at(0).startsWith("Location,Name,Frequency,"));
        QVERIFY(lines.at(1).startsWith("0,FIRST,"));
        QVERIFY(lines.at(2).startsWith("1,SECOND,"));
    }

    // File > Export PDF writes the channel table of an opened project: every
    // channel in use with its Rx and Tx frequencies, headings on every page,
    // the pages numbered.
    void exportsTheChannelTableAsPdf() {
        const QString pdftotext = QStandardPaths::findExecutable("pdftotext");
        QVERIFY2(!pdftotext.isEmpty(), "pdftotext (Debian package poppler-utils) is needed");
        qx::Session session = TestSession("english.ini");
        qx::MainWindow window(session);
        window.show();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        ModalAnswerer answerer;
        ChooseFile(answerer, QStringLiteral(QX_TEST_DATA_DIR "/corpus/d000.qx"));
        Action(window, "Menu_Open")->trigger();
        QTemporaryDir dir;
        ChooseFile(answerer, dir.filePath("channels"));
        Action(window, "Menu_ExportPdf")->trigger();
        QVERIFY(answerer.AllAnswered());
        QVERIFY(answerer.Unexpected().isEmpty());

        QProcess convert;
        convert.start(pdftotext, {"-layout", dir.filePath("channels.pdf"), "-"});
        QVERIFY(convert.waitForFinished(20000));
        QCOMPARE(convert.exitCode(), 0);
        const QStringList pages = QString::fromUtf8(convert.readAllStandardOutput()).split('\f');
        // The golden listing names the channels in use: number, Rx (field 4), Tx (field 10).
        QFile listing(QStringLiteral(QX_TEST_DATA_DIR "/corpus/d000.en.txt"));
        QVERIFY(listing.open(QIODevice::ReadOnly));
        int inUse = 0;
        const QString text = pages.join('\n');
        for (const QString& line : QString::fromUtf8(listing.readAll()).split("\r\n")) {
            const QStringList fields = line.split(QStringLiteral("    "));
            if (fields.size() < 11 || fields[1] != "Active") continue;
            ++inUse;
            const QRegularExpression row("^\\s*" + fields[0] + "\\s+Active\\s.*\\s" +
                                             QRegularExpression::escape(fields[4]) + "\\s.*\\s" +
                                             QRegularExpression::escape(fields[10]) + "\\s",
                                         QRegularExpression::MultilineOption);
            QVERIFY2(row.match(text).hasMatch(), qPrintable(line));
        }
        QCOMPARE(inUse, 39);
        // 39 channels and PL, PH, call, VFO on two pages; the settings on two more.
        const int expected = 4;
        QCOMPARE(pages.size() - 1, expected);  // pdftotext ends every page with a form feed
        for (int p = 0; p < expected; ++p) {
            QVERIFY2(pages[p].contains(QStringLiteral("Page %1 of %2").arg(p + 1).arg(expected)),
                     qPrintable(pages[p]));
            QVERIFY(pages[p].contains("Model: ") && pages[p].contains("File: d000.qx"));
        }
        for (int p = 0; p < 2; ++p) QVERIFY(pages[p].contains(QRegularExpression("Rx Freq\\s")));
    }

    // File > Print Preview shows the table in the window's language.
    void printPreviewShowsTheTable_data() { LanguageRows(); }
    void printPreviewShowsTheTable() {
        QFETCH(QString, language);
        qx::Session session = TestSession(language.toStdString());
        qx::MainWindow window(session);
        window.show();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        ModalAnswerer answerer;
        ChooseFile(answerer, QStringLiteral(QX_TEST_DATA_DIR "/corpus/d000.qx"));
        Action(window, "Menu_Open")->trigger();
        QString title;
        answerer.Then([&](QWidget* dialog) {
            title = dialog->objectName() + ": " + dialog->windowTitle();
            dialog->resize(1100, 800);
            qx::test::SaveShot(*dialog, "PrintPreview-" + language.section('.', 0, 0));
            dialog->close();
        });
        Action(window, "Menu_PrintPreview")->trigger();
        QVERIFY(answerer.AllAnswered());
        QCOMPARE(title, "PrintPreview: " + Text(qPrintable(language), "Menu", "10009").remove('&'));
    }

    void readFromTheSimulatedRadioFillsTheGridAndSetsTheModel() {
        qx::Session session = TestSession("english.ini");
        qx::MainWindow window(session);
        window.show();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        // The radio holds model 5 with a named channel 0.
        qx::Document radioDoc = window.document();
        qx::SilentUi silent;
        qx::ChangeModel(radioDoc, 5, silent, [] { return true; });
        Rename(radioDoc, 1, "SIMRX");
        window.portLinks().SimRadio() = qx::SimulatedRadio(qx::FreshRadioMemory(radioDoc));

        // Unsaved changes: the save question first; Cancel reads nothing and clears nothing.
        Rename(window.document(), 1, "KEEP");
        ModalAnswerer answerer;
        answerer.Press(QMessageBox::Cancel);
        Action(window, "ReadBtn")->trigger();
        QCOMPARE(answerer.Texts(), QStringList{Text("english.ini", "MSG", "9001")});
        QCOMPARE(Shown(window, 1, qx::kColName), QStringLiteral("KEEP"));
        QVERIFY(answerer.AllAnswered());

        answerer.Press(QMessageBox::No);
        answerer.Press(QMessageBox::Ok);  // MSG 9007
        answerer.Then([&window](QWidget* transfer) {
            QCOMPARE(transfer->objectName(), QStringLiteral("frmMain"));
            // The document stays as it is while the radio is read.
            QCOMPARE(Shown(window, 1, qx::kColName), QStringLiteral("KEEP"));
            transfer->findChild<QPushButton*>("cmdAutoSend")->click();
        });
        answerer.Press(QMessageBox::Ok);  // RW msg3
        Action(window, "ReadBtn")->trigger();

        QCOMPARE(
            answerer.Texts(),
            QStringList({Text("english.ini", "MSG", "9001"), Text("english.ini", "MSG", "9001"),
                         Text("english.ini", "MSG", "9007"), Text("english.ini", "RW", "msg3")}));
        QCOMPARE(window.document().model(), 5);
        QCOMPARE(window.findChild<QComboBox*>("Combo1")->currentIndex(), 5);
        QCOMPARE(Shown(window, 1, qx::kColName), QStringLiteral("SIMRX"));
        // The document is what the radio holds; the read is one step.
        QVERIFY(!window.isWindowModified());
        QCOMPARE(UndoEntry(window), QStringLiteral("&Undo: reading the radio"));
        QVERIFY(answerer.Unexpected().isEmpty());

        Action(window, "UndoBtn")->trigger();
        QCOMPARE(Shown(window, 1, qx::kColName), QStringLiteral("KEEP"));
        QCOMPARE(window.findChild<QComboBox*>("Combo1")->currentIndex(), 3);
    }

    void writeWithOnlyPlActiveIsRefused() {
        qx::Session session = TestSession("english.ini");
        qx::MainWindow window(session);
        qx::ToggleRowStatus(window.document(), 1);    // channel 0 off
        qx::ToggleRowStatus(window.document(), 101);  // PL on
        ModalAnswerer answerer;
        answerer.Press(QMessageBox::Ok);
        answerer.Press(QMessageBox::Ok);
        Action(window, "Write")->trigger();
        QCOMPARE(answerer.Texts(), QStringList({Text("english.ini", "MSG", "9007"),
                                                "please active one channel in 0 to 99."}));
        QVERIFY(answerer.AllAnswered());
        QVERIFY(answerer.Unexpected().isEmpty());  // no transfer window opened
    }

    // The check before a write: errors show the list and stop; warnings let
    // the user go on to the notice and the transfer window.
    void aWriteRunsTheCheckFirst() {
        qx::Session session = TestSession("english.ini");
        qx::MainWindow window(session);
        window.document().Change(qx::StepLabel{}, [](qx::Codeplug& c) {
            c.Memory(0).rx = *qx::Frequency::Parse("180.0000");
            c.Memory(0).txTone = qx::Tone::Ctcss(8);
        });
        ModalAnswerer answerer;
        QStringList rows;
        bool writeOffered = true;
        const auto readList = [&](QWidget* list) {
            rows.clear();
            const auto* table = list->findChild<QTableWidget*>("ProblemTable");
            for (int row = 0; row < table->rowCount(); ++row) {
                QStringList cells;
                for (int column = 0; column < table->columnCount(); ++column)
                    cells << table->item(row, column)->text();
                rows << cells.join(" | ");
            }
            writeOffered = !list->findChild<QPushButton*>("CommandOK")->isHidden();
        };
        answerer.Then([&](QWidget* list) {
            QCOMPARE(list->objectName(), QStringLiteral("CheckList"));
            readList(list);
            list->findChild<QPushButton*>("CommandCANCEL")->click();
        });
        Action(window, "Write")->trigger();
        QCOMPARE(rows, QStringList({"error | channel 0 | Rx frequency | 180.0000 MHz is outside "
                                    "136–174 MHz",
                                    "warning | channel 0 | Rx tone | Tx tone 88.5 is sent, but no "
                                    "Rx tone is set"}));
        QVERIFY(!writeOffered);
        QVERIFY(answerer.AllAnswered());
        QVERIFY(answerer.Unexpected().isEmpty());  // no notice, no transfer window

        window.document().Change(qx::StepLabel{}, [](qx::Codeplug& c) {
            c.Memory(0).rx = *qx::Frequency::Parse("145.0000");
        });
        answerer.Then([&](QWidget* list) {
            readList(list);
            list->findChild<QPushButton*>("CommandOK")->click();
        });
        answerer.Press(QMessageBox::Ok);  // MSG 9007
        QString transfer;
        answerer.Then([&transfer](QWidget* window) {
            transfer = window->objectName();
            window->close();
        });
        Action(window, "Menu_WriteCHData")->trigger();
        QVERIFY(writeOffered);
        QCOMPARE(rows.size(), 1);
        QCOMPARE(transfer, QStringLiteral("frmMain"));
        QVERIFY(answerer.AllAnswered());
        QVERIFY(answerer.Unexpected().isEmpty());
    }

    // Double-clicking a channel problem selects its cell; an option problem
    // opens the option dialog.
    void theCheckListGoesToAProblem() {
        qx::Session session = TestSession("english.ini");
        qx::MainWindow window(session);
        window.show();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        window.document().Change(qx::StepLabel{}, [](qx::Codeplug& c) {
            qx::PutInUse(c.Memory(40), c.model);
            c.Memory(40).name = "ab%";
            c.Memory(40).rx = c.Memory(40).tx = *qx::Frequency::Parse("146.0000");
            c.options.squelch = 30;
        });
        ModalAnswerer answerer;
        const auto doubleClick = [](QWidget* list, int row) {
            auto* table = list->findChild<QTableWidget*>("ProblemTable");
            const QPoint cell = table->visualItemRect(table->item(row, 3)).center();
            // A double click is a click followed by the double-click event.
            QTest::mousePress(table->viewport(), Qt::LeftButton, {}, cell);
            QTest::mouseRelease(table->viewport(), Qt::LeftButton, {}, cell);
            QTest::mouseDClick(table->viewport(), Qt::LeftButton, {}, cell);
        };
        answerer.Then([&](QWidget* list) { doubleClick(list, 0); });
        Action(window, "Menu_Check")->trigger();
        QTRY_VERIFY(answerer.AllAnswered());
        QVERIFY(QApplication::activeModalWidget() == nullptr);
        const QModelIndex current = Grid(window)->currentIndex();
        QCOMPARE(current.row(), 40);  // row 41, channel 40
        QCOMPARE(current.column(), qx::kColName - 1);

        QString dialog;
        answerer.Then([&](QWidget* list) { doubleClick(list, 1); });
        answerer.Then([&dialog](QWidget* options) {
            dialog = options->objectName();
            options->close();
        });
        Action(window, "Menu_Check")->trigger();
        QCOMPARE(dialog, QStringLiteral("Frm_Option"));
        QVERIFY(answerer.AllAnswered());
        QVERIFY(answerer.Unexpected().isEmpty());
    }

    void printsToAFileOrReportsAMissingPrinter() {
        qx::Session session = TestSession("english.ini");
        qx::MainWindow window(session);
        const QString path = config_.filePath("listing.txt");
        ModalAnswerer answerer;
        ChooseFile(answerer, path);
        Action(window, "Menu_PrintFile")->trigger();
        QVERIFY(QFile(path).size() > 0);

        if (!QPrinterInfo::defaultPrinter().isNull()) QSKIP("this machine has a printer");
        answerer.Press(QMessageBox::Ok);  // MSG 900B
        answerer.Press(QMessageBox::Ok);
        Action(window, "Menu_Print")->trigger();
        QCOMPARE(answerer.Texts().size(), 2);
        QCOMPARE(answerer.Texts()[0], Text("english.ini", "MSG", "900B"));
        QVERIFY(answerer.Texts()[1].startsWith("No printer is set up"));
        QVERIFY(answerer.Unexpected().isEmpty());
    }

    void aboutBoxListsTheModelsAndReportsAMissingSystemTool() {
        qx::Session session = TestSession("english.ini");
        qx::MainWindow window(session);
        ModalAnswerer answerer;
        int models = 0;
        QString title;
        answerer.Then([&](QWidget* about) {
            title = about->windowTitle();
            models = about->findChild<QListWidget*>("ModelList")->count();
            about->findChild<QPushButton*>("cmdSysInfo")->click();
            about->findChild<QPushButton*>("cmdOK")->click();
        });
        if (qx::SystemInfoTool().isEmpty()) answerer.Press(QMessageBox::Ok);
        Action(window, "Menu_About")->trigger();
        QCOMPARE(models, 32);
        QCOMPARE(title,
                 Text("english.ini", "OTHERS", "70013") + " " + QApplication::applicationName());
        if (qx::SystemInfoTool().isEmpty()) {
            QCOMPARE(answerer.Texts(),
                     QStringList{"System Information Is Unavailable At This Time"});
        }
        QVERIFY(answerer.Unexpected().isEmpty());
    }

    void optionEntriesOpenTheirDialogs() {
        qx::Session session = TestSession("english.ini");
        session.featureFlags = qx::FeatureFlags{true, true, true, false};
        qx::MainWindow window(session);
        const std::pair<const char*, const char*> entries[] = {
            {"mnuDTMF", "FrmDTMF"},      {"mnu2Tone", "Frm2Tone"},
            {"mnu5Tone", "Frm5Tone"},    {"Menu_RadioOption", "Frm_Option"},
            {"OptionBtn", "Frm_Option"}, {"Menu_AutoDiaer", "Frm_AutoDialer"},
            {"AdBtn", "Frm_AutoDialer"},
        };
        for (const auto& [action, dialog] : entries) {
            ModalAnswerer answerer;
            QString opened;
            answerer.Then([&](QWidget* shown) {
                opened = shown->objectName();
                static_cast<QDialog*>(shown)->reject();
            });
            Action(window, action)->trigger();
            QCOMPARE(opened, QString::fromLatin1(dialog));
        }
    }

    void closingWithUnsavedChangesStaysOpenUntilTheSaveHappens() {
        qx::Session session = TestSession("english.ini");
        qx::MainWindow window(session);
        window.show();
        Rename(window.document(), 1, "EXIT");
        ModalAnswerer answerer;
        answerer.Press(QMessageBox::Yes);
        answerer.Then([](QWidget* dialog) { static_cast<QDialog*>(dialog)->reject(); });
        QVERIFY(!window.close());
        QVERIFY(window.isVisible());

        const QString path = config_.filePath("exit.qx");
        answerer.Press(QMessageBox::Yes);
        ChooseFile(answerer, path);
        QVERIFY(window.close());
        QVERIFY(QFile::exists(path));
        QVERIFY(answerer.Unexpected().isEmpty());
    }

    // Ctrl+Z takes back what a grid editor committed, in one step per editor.
    void undoAndRedoAnEditorsCommit_data() {
        QTest::addColumn<int>("column");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QString>("undo");
        QTest::newRow("name") << int(qx::kColName) << "ab1"
                              << "AB1"
                              << "&Undo: channel 0 Name";
        QTest::newRow("rx") << int(qx::kColRxFreq) << "146"
                            << "146.00000"
                            << "&Undo: channel 0 Rx Freq";
    }
    void undoAndRedoAnEditorsCommit() {
        QFETCH(int, column);
        QFETCH(QString, typed);
        QFETCH(QString, shown);
        QFETCH(QString, undo);
        qx::Session session = TestSession("english.ini");
        qx::MainWindow window(session);
        window.show();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        const QStringList before = AllShown(window);
        const QString title = ShownTitle(window);
        QCOMPARE(title, Title("noname.qx"));

        TypeIntoCell(window, 1, column, typed);
        QCOMPARE(Shown(window, 1, column), shown);
        QCOMPARE(UndoEntry(window), undo);
        QCOMPARE(RedoEntry(window), QStringLiteral("disabled"));
        QVERIFY(window.isWindowModified());
        QCOMPARE(ShownTitle(window), Title("noname.qx*"));

        PressKey(window, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(AllShown(window), before);
        QCOMPARE(UndoEntry(window), QStringLiteral("disabled"));
        QCOMPARE(RedoEntry(window), QString(undo).replace("&Undo", "&Redo"));
        QVERIFY(!window.isWindowModified());
        QCOMPARE(ShownTitle(window), title);

        PressKey(window, Qt::Key_Y, Qt::ControlModifier);
        QCOMPARE(Shown(window, 1, column), shown);
        QVERIFY(window.isWindowModified());
        Action(window, "Menu_Undo")->trigger();
        QCOMPARE(AllShown(window), before);
        PressKey(window, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(Shown(window, 1, column), shown);
        QCOMPARE(RedoEntry(window), QStringLiteral("disabled"));
        Action(window, "UndoBtn")->trigger();
        Action(window, "RedoBtn")->trigger();
        QCOMPARE(Shown(window, 1, column), shown);
        QCOMPARE(UndoEntry(window), undo);
    }

    void undoBringsBackAChannelSwitchedOff() {
        qx::Session session = TestSession("english.ini");
        qx::MainWindow window(session);
        window.show();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        TypeIntoCell(window, 1, qx::kColName, QStringLiteral("on"));
        const QStringList before = AllShown(window);

        ClickCell(window, 1, qx::kColStatus);
        QCOMPARE(Shown(window, 1, qx::kColStatus), QStringLiteral("Inactive"));
        QCOMPARE(Shown(window, 1, qx::kColName), QStringLiteral("---"));
        QCOMPARE(UndoEntry(window), QStringLiteral("&Undo: channel 0 switched on or off"));

        PressKey(window, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(AllShown(window), before);
        QCOMPARE(UndoEntry(window), QStringLiteral("&Undo: channel 0 Name"));
    }

    void theStatusBarShowsTheGridsNotice() {
        qx::Session session = TestSession("english.ini");
        qx::MainWindow window(session);
        window.show();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        auto* panel = window.findChild<QLabel*>("Panel2");
        const QString hint = Text("english.ini", "OTHERS", "70008");
        QCOMPARE(panel->text(), hint);

        TypeIntoCell(window, 1, qx::kColRxFreq, QStringLiteral("146.9400"));
        QCOMPARE(panel->text(), QStringLiteral("146.9400 MHz is not on the 12.5 kHz step: stored "
                                               "as 146.93750 MHz; choose the step first to keep "
                                               "it"));

        ClickCell(window, 1, qx::kColName);
        QCOMPARE(panel->text(), QStringLiteral("7 characters left"));
        QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("abc"));
        QCOMPARE(panel->text(), QStringLiteral("4 characters left"));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
        QCOMPARE(panel->text(), hint);
    }

    // A dialog's OK is one step; the menu and toolbar entries take it back.
    void undoTakesBackADialogsOk() {
        qx::Session session = TestSession("english.ini");
        qx::MainWindow window(session);
        window.show();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        const qx::Codeplug before = window.document().codeplug();
        ModalAnswerer answerer;
        answerer.Then([](QWidget* options) {
            QCOMPARE(options->objectName(), QStringLiteral("Frm_Option"));
            auto* squelch = options->findChild<QComboBox*>(
                QLatin1String(qx::OptionDialog::ControlName(qx::kOptSquelch)));
            squelch->setCurrentIndex(7);
            emit squelch->activated(7);
            options->findChild<QPushButton*>("CommandOK")->click();
        });
        Action(window, "Menu_RadioOption")->trigger();
        QCOMPARE(int(window.document().codeplug().options.squelch), 7);
        QCOMPARE(UndoEntry(window), QStringLiteral("&Undo: radio options"));
        QVERIFY(window.isWindowModified());

        answerer.Then([](QWidget* dialer) {
            QTest::keyClicks(dialer->findChild<QLineEdit*>("Text1"), QStringLiteral("123"));
            dialer->findChild<QPushButton*>("CommandOK")->click();
        });
        Action(window, "AdBtn")->trigger();
        QCOMPARE(window.document().codeplug().autoDialer.entries[0], std::string("123"));
        QCOMPARE(UndoEntry(window), QStringLiteral("&Undo: auto dialer"));

        PressKey(window, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(window.document().codeplug().autoDialer, before.autoDialer);
        QCOMPARE(UndoEntry(window), QStringLiteral("&Undo: radio options"));
        Action(window, "UndoBtn")->trigger();
        QVERIFY(window.document().codeplug() == before);
        QVERIFY(!window.isWindowModified());
        QVERIFY(answerer.AllAnswered());
        QVERIFY(answerer.Unexpected().isEmpty());
    }

    // With unsaved changes the model change asks first: Cancel puts the
    // selector back; a change made is one step that Undo takes back.
    void theModelSelectorFollowsTheDocument() {
        qx::Session session = TestSession("english.ini");
        qx::MainWindow window(session);
        window.show();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        auto* selector = window.findChild<QComboBox*>("Combo1");
        const auto choose = [selector](int model) {
            selector->setCurrentIndex(model);
            emit selector->activated(model);
        };
        TypeIntoCell(window, 1, qx::kColName, QStringLiteral("mine"));
        ModalAnswerer answerer;
        answerer.Press(QMessageBox::Cancel);
        choose(5);
        QCOMPARE(answerer.Texts(), QStringList{Text("english.ini", "MSG", "9001")});
        QCOMPARE(selector->currentIndex(), 3);
        QCOMPARE(window.document().model(), 3);
        QCOMPARE(Shown(window, 1, qx::kColName), QStringLiteral("MINE"));
        QVERIFY(window.isWindowModified());

        answerer.Press(QMessageBox::No);
        choose(5);
        QCOMPARE(window.document().model(), 5);
        QCOMPARE(Shown(window, 1, qx::kColName), QString());
        QCOMPARE(UndoEntry(window), QStringLiteral("&Undo: model change"));
        PressKey(window, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(selector->currentIndex(), 3);
        QCOMPARE(Shown(window, 1, qx::kColName), QStringLiteral("MINE"));
        QVERIFY(answerer.AllAnswered());
        QVERIFY(answerer.Unexpected().isEmpty());
    }
};

QTEST_MAIN(MainWindowTest)
#include "main_window_test.moc"
