// The main window driven through its menus, toolbar and model selector, with
// the message boxes, file dialogs and transfer window answered as a user would.
#include <QAbstractItemView>
#include <QComboBox>
#include <QFileDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPrinterInfo>
#include <QPushButton>
#include <QTemporaryDir>
#include <QToolBar>
#include <QtTest>

#include "about_box.h"
#include "app/settings_files.h"
#include "channels/cell_editors.h"
#include "channels/channel_ops.h"
#include "link/simulated_radio.h"
#include "main_window.h"
#include "modal_answerer.h"
#include "platform/ui.h"

namespace {

using qx::test::ModalAnswerer;

QString Text(const char* file, const char* section, const char* key) {
    return QString::fromStdString(
        qx::LanguageTexts(QX_LANGUAGE_DIR, file).LanguageText(section, key));
}

QAction* Action(QWidget& window, const char* name) {
    return window.findChild<QAction*>(QString::fromLatin1(name));
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
        session.paths = qx::SettingsPaths{QX_LANGUAGE_DIR, config_.path().toStdString()};
        session.LanguageFile = languageFile;
        session.featureFlags = qx::FeatureFlags{.fiveTone = false, .twoTone = true, .dtmf = true};
        session.ComPort = "sim";
        return session;
    }

  private slots:
    void startsWithItsTextsMenusAndToolbar() {
        qx::Session session = TestSession("english.ini");
        qx::MainWindow window(session);
        QCOMPARE(window.objectName(), QStringLiteral("Frm_Radio"));
        QCOMPARE(window.windowTitle(),
                 QStringLiteral("qxprog - FM Transceiver Programming Software"));
        QCOMPARE(window.document().modelIndex, 3);
        QCOMPARE(window.findChild<QComboBox*>("Combo1")->currentIndex(), 3);
        QVERIFY(!window.document().bModify);

        QStringList menus;
        for (QAction* menu : window.menuBar()->actions()) {
            QStringList entries;
            for (QAction* entry : menu->menu()->actions()) {
                if (entry->isVisible()) entries << entry->objectName();
            }
            menus << menu->text() + ": " + entries.join(' ');
        }
        // The 5-tone entry follows the session's features; the radio setup entry is hidden.
        QCOMPARE(menus, QStringList({
                            "&File: Menu_New Menu_Open Menu_Save Menu_Print Menu_PrintFile "
                            "Menu_Exit",
                            "&Option: Menu_RadioOption mnuDTMF mnu2Tone Menu_AutoDiaer",
                            "&Transfer: Menu_WriteCHData Menu_ReadCHData Menu_COMPort",
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
                                    "ReadBtn=Read data from radio", "Write=Write data to radio"}));
    }

    void startsWithoutALanguageFile() {
        qx::Session session = TestSession("");
        qx::MainWindow window(session);
        QVERIFY(window.windowTitle().isEmpty());
        QCOMPARE(window.document().modelIndex, 3);
    }

    void newWithUnsavedChangesAsksAndCancelKeepsEverything() {
        qx::Session session = TestSession("english.ini");
        qx::MainWindow window(session);
        window.document().Cell(1, qx::kColName) = "KEEP";
        window.document().bModify = true;
        ModalAnswerer answerer;
        answerer.Press(QMessageBox::Cancel);
        Action(window, "NewBtn")->trigger();
        QCOMPARE(answerer.Texts(), QStringList{Text("english.ini", "MSG", "9001")});
        QCOMPARE(window.document().Cell(1, qx::kColName), std::string("KEEP"));
        QVERIFY(window.document().bModify);

        answerer.Press(QMessageBox::No);
        Action(window, "Menu_New")->trigger();
        QCOMPARE(window.document().Cell(1, qx::kColName), std::string());
        QVERIFY(!window.document().bModify);
        QVERIFY(answerer.Unexpected().isEmpty());
    }

    void saveThenOpenReproducesTheGrid() {
        qx::Session session = TestSession("english.ini");
        qx::MainWindow window(session);
        window.show();
        qx::Document& doc = window.document();
        qx::ToggleRowStatus(doc, 6);
        doc.Cell(6, qx::kColName) = "SAVED";
        doc.Cell(1, qx::kColRxTone) = "C:88.5";
        const QString path = config_.filePath("round.qx");
        ModalAnswerer answerer;
        ChooseFile(answerer, path);
        Action(window, "Menu_Save")->trigger();
        QVERIFY(QFile::exists(path));
        auto* grid = window.findChild<QWidget*>("MFG");
        QVERIFY(!grid->isEnabled());  // Timer1 gives it back
        QTRY_VERIFY(grid->isEnabled());
        const qx::GridTexts saved = doc.grid;
        QCOMPARE(window.findChild<QLabel*>("Panel1")->text(), " Current File: " + path);

        Action(window, "Menu_New")->trigger();
        QVERIFY(doc.grid != saved);
        ChooseFile(answerer, path);
        Action(window, "Menu_Open")->trigger();
        QVERIFY(doc.grid == saved);
        QVERIFY(answerer.AllAnswered());
        QVERIFY(answerer.Unexpected().isEmpty());
    }

    void switchingToChineseAsksFirstThenChangesTheCaptions() {
        qx::Session session = TestSession("english.ini");
        qx::MainWindow window(session);
        window.document().bModify = true;
        ModalAnswerer answerer;
        answerer.Press(QMessageBox::Cancel);
        Action(window, "Menu_Chinese")->trigger();
        QCOMPARE(answerer.Texts().size(), 1);
        QCOMPARE(session.LanguageFile, std::string("english.ini"));
        QCOMPARE(window.windowTitle(), Text("english.ini", "OTHERS", "70018"));
        QVERIFY(window.document().bModify);

        answerer.Press(QMessageBox::No);
        Action(window, "Menu_Chinese")->trigger();
        QCOMPARE(session.LanguageFile, std::string("chinese.ini"));
        QCOMPARE(qx::ReadCurrentLanguage(session.paths), std::string("chinese.ini"));
        QCOMPARE(window.windowTitle(), Text("chinese.ini", "OTHERS", "70018"));
        QCOMPARE(window.findChild<QMenu*>("Menu_File")->title(),
                 Text("chinese.ini", "Menu", "1000M"));
        QCOMPARE(Action(window, "Write")->toolTip(), Text("chinese.ini", "Toolbar", "8006"));
        QCOMPARE(window.findChild<QGroupBox*>("Frame1")->title(),
                 Text("chinese.ini", "OTHERS", "70010"));
        QCOMPARE(QString::fromStdString(window.document().Cell(1, qx::kColStatus)),
                 Text("chinese.ini", "Channel", "50015"));
        QVERIFY(!window.document().bModify);
        QVERIFY(answerer.Unexpected().isEmpty());
    }

    void readFromTheSimulatedRadioFillsTheGridAndSetsTheModel() {
        qx::Session session = TestSession("english.ini");
        qx::MainWindow window(session);
        window.show();
        // The radio holds model 5 with a named channel 0.
        qx::Document radioDoc = window.document();
        qx::SilentUi silent;
        qx::ChangeModel(radioDoc, 5, silent, [] { return true; });
        radioDoc.Cell(1, qx::kColName) = "SIMRX";
        window.portLinks().SimRadio() = qx::SimulatedRadio(qx::FreshRadioMemory(radioDoc));

        ModalAnswerer answerer;
        answerer.Press(QMessageBox::Ok);  // MSG 9007
        answerer.Then([](QWidget* transfer) {
            QCOMPARE(transfer->objectName(), QStringLiteral("frmMain"));
            transfer->findChild<QPushButton*>("cmdAutoSend")->click();
        });
        answerer.Press(QMessageBox::Ok);  // RW msg3
        Action(window, "ReadBtn")->trigger();

        QCOMPARE(answerer.Texts(), QStringList({Text("english.ini", "MSG", "9007"),
                                                Text("english.ini", "RW", "msg3")}));
        QCOMPARE(window.document().modelIndex, 5);
        QCOMPARE(window.findChild<QComboBox*>("Combo1")->currentIndex(), 5);
        auto* grid = window.findChild<QAbstractItemView*>("MFG");
        QCOMPARE(grid->model()->index(0, qx::kColName - 1).data().toString(),
                 QStringLiteral("SIMRX"));
        QVERIFY(window.document().bModify);
        QVERIFY(answerer.Unexpected().isEmpty());
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
        window.document().bModify = true;
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
};

QTEST_MAIN(MainWindowTest)
#include "main_window_test.moc"
