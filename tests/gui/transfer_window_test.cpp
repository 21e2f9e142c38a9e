// The transfer window, the password prompt and the port dialog, driven
// through their widgets against the built-in simulated radio "sim".
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QtTest>
#include <functional>
#include <optional>
#include <utility>

#include <QTemporaryDir>

#include "app/channel_ops.h"
#include "app/settings_files.h"
#include "app/transfer_commands.h"
#include "channels/cell_editors.h"
#include "modal_answerer.h"
#include "port_dialog.h"
#include "port_links.h"
#include "screenshot.h"
#include "transfer_window.h"

namespace {

using qx::TransferMode;
using qx::TransferResult;
using qx::TransferWindow;

// A whole transfer takes well under a second; this only bounds a failing test.
constexpr int kTransferTimeout = 60000;

qx::LanguageTexts English() { return qx::LanguageTexts(QX_LANGUAGE_DIR, "english.ini"); }

qx::Document LoadedDocument(int model) {
    qx::Document doc;
    qx::SilentUi ui;
    qx::LoadMainWindow(doc, English(), qx::FeatureFlags{true, true, true, false}, ui);
    if (model != doc.model()) qx::ChangeModel(doc, model, ui, [] { return true; });
    return doc;
}

// Row 2 in use under `name`.
void NameRow2(qx::Document& doc, const std::string& name) {
    qx::SetRowInUse(doc, 2, true);
    doc.Change({}, [&name](qx::Codeplug& codeplug) { codeplug.Row(2).name = name; });
    qx::SilentUi ui;
    QVERIFY(qx::CheckWriteChannels(doc, ui));
}

QString Name2(const qx::Document& doc) {
    return QString::fromStdString(qx::CellText(doc, 2, qx::kColName));
}

struct Rig {
    explicit Rig(std::vector<std::uint8_t> radioMemory) : links(std::move(radioMemory)) {
        session.portName = "sim";
    }
    qx::LanguageTexts texts = English();
    qx::Session session;
    qx::PortLinks links;
    qx::SilentUi ui;
};

template <typename T>
T* Child(QWidget& parent, const char* name) {
    T* child = parent.findChild<T*>(QLatin1String(name));
    if (child == nullptr) qFatal("no child %s", name);
    return child;
}

// Shows the window, presses Start once the port test ran and waits until
// the window ends by itself.
void RunToTheEnd(TransferWindow& window) {
    QSignalSpy finished(&window, &QDialog::finished);
    window.show();
    auto* start = Child<QPushButton>(window, "cmdAutoSend");
    QTRY_VERIFY(start->isEnabled());
    QCOMPARE(start->text(), QStringLiteral("Start"));
    QTest::mouseClick(start, Qt::LeftButton);
    QCOMPARE(start->text(), QStringLiteral("Stop"));
    QTRY_COMPARE_WITH_TIMEOUT(finished.count(), 1, kTransferTimeout);
    QVERIFY(!window.isVisible());
    const bool completed = window.Result() == TransferResult::Completed;
    QCOMPARE(finished.at(0).at(0).toInt(), int(completed ? QDialog::Accepted : QDialog::Rejected));
}

class FakeDirectory final : public qx::PortDirectory {
  public:
    std::vector<std::string> PortNames() const override { return {"/dev/ttyS0", "/dev/ttyUSB1"}; }
};

}  // namespace

class TransferWindowTest : public QObject {
    Q_OBJECT
  private slots:
    void readsTheRadioThenWritesItAndReadsItBack() {
        qx::Document radioDoc = LoadedDocument(24);
        NameRow2(radioDoc, "REPEAT");
        Rig rig(qx::FreshRadioMemory(radioDoc));
        qx::test::ModalAnswerer answerer;
        for (int i = 0; i < 3; ++i) answerer.Press(QMessageBox::Ok);

        qx::Document doc = LoadedDocument(3);
        {
            TransferWindow window(TransferMode::Read, doc, rig.session, rig.links, rig.texts);
            QCOMPARE(window.windowTitle(), QStringLiteral("Read data from radio  (COMM Port:sim)"));
            auto* curLine = Child<QLabel>(window, "CurLine");
            QCOMPARE(curLine->text(), QStringLiteral("Completed: 0%"));
            RunToTheEnd(window);
            QVERIFY(window.Result() == TransferResult::Completed);
            QCOMPARE(Child<QProgressBar>(window, "CompleteBar")->maximum(), 512);
            QCOMPARE(Child<QProgressBar>(window, "CompleteBar")->value(), 512);
            QCOMPARE(curLine->text(), QStringLiteral("Completed: 100%"));
            QCOMPARE(doc.model(), 3);  // the document changes only as the window is done
            qx::FinishTransfer(doc, rig.session, window.transfer(), rig.ui);
        }
        QCOMPARE(doc.model(), 24);
        QCOMPARE(Name2(doc), QStringLiteral("REPEAT"));
        // The read codeplug is one step and what the radio holds.
        QVERIFY(doc.UndoStep() == qx::StepLabel{qx::StepKind::Read});
        QVERIFY(!doc.Modified());

        NameRow2(doc, "WRITTEN");
        qx::Document back = LoadedDocument(3);
        for (auto [mode, target] :
             {std::pair{TransferMode::Write, &doc}, {TransferMode::Read, &back}}) {
            TransferWindow window(mode, *target, rig.session, rig.links, rig.texts);
            RunToTheEnd(window);
            QVERIFY(window.Result() == TransferResult::Completed);
            qx::FinishTransfer(*target, rig.session, window.transfer(), rig.ui);
        }
        QCOMPARE(back.model(), 24);
        QCOMPARE(Name2(back), QStringLiteral("WRITTEN"));
        QCOMPARE(answerer.Texts(), QStringList(3, QStringLiteral("Complete!")));
        QCOMPARE(answerer.Unexpected(), QStringList{});
    }

    void aProtectedRadioAsksForItsPassword() {
        struct Case {
            std::vector<std::optional<QString>> answers;  // nullopt: Escape
            TransferResult result;
            QStringList messages;
        };
        const Case cases[] = {
            {{"guess", "secret"}, TransferResult::Completed, {"Complete!"}},
            {{std::nullopt}, TransferResult::PasswordCancelled, {}},
        };
        for (const Case& c : cases) {
            Rig rig(qx::FreshRadioMemory(LoadedDocument(3)));
            rig.links.SimRadio().SetPassword("secret");
            qx::Document doc = LoadedDocument(3);
            qx::test::ModalAnswerer answerer;
            QStringList prompts;
            for (const std::optional<QString>& answer : c.answers) {
                answerer.Then([&prompts, answer](QWidget* prompt) {
                    prompts << prompt->objectName() + ':' + prompt->windowTitle();
                    auto* text1 = Child<QLineEdit>(*prompt, "Text1");
                    QCOMPARE(text1->echoMode(), QLineEdit::Password);
                    if (answer) QTest::keyClicks(text1, *answer);
                    QTest::keyClick(text1, answer ? Qt::Key_Return : Qt::Key_Escape);
                });
            }
            for (int i = 0; i < c.messages.size(); ++i) answerer.Press(QMessageBox::Ok);

            TransferWindow window(TransferMode::Read, doc, rig.session, rig.links, rig.texts);
            RunToTheEnd(window);
            QVERIFY(window.Result() == c.result);
            QCOMPARE(prompts, QStringList(int(c.answers.size()), "FrmPassWord:PassWord"));
            QCOMPARE(answerer.Texts(), c.messages);
            QCOMPARE(answerer.Unexpected(), QStringList{});
        }
    }

    void everyCloseRequestEndsTheModalWindowOnlyAfterTheUnload() {
        const std::pair<const char*, std::function<void(TransferWindow&)>> requests[] = {
            {"Close button",
             [](TransferWindow& w) {
                 QTest::mouseClick(Child<QPushButton>(w, "Command1"), Qt::LeftButton);
             }},
            {"close box", [](TransferWindow& w) { w.close(); }},
            {"Escape", [](TransferWindow& w) { QTest::keyClick(&w, Qt::Key_Escape); }},
        };
        for (const auto& [name, request] : requests) {
            Rig rig({});
            qx::Document doc = LoadedDocument(3);
            TransferWindow window(TransferMode::Read, doc, rig.session, rig.links, rig.texts);
            bool openAfterRequest = false;
            QTimer::singleShot(0, &window, [&, request = request] {
                request(window);
                openAfterRequest = window.isVisible();
            });
            QCOMPARE(window.exec(), int(QDialog::Rejected));
            QVERIFY2(openAfterRequest, name);
            QVERIFY(window.Result() == TransferResult::None);
        }
    }

    void onlyAWriteOffersANewPassword() {
        Rig rig({});
        qx::Document doc = LoadedDocument(3);
        TransferWindow read(TransferMode::Read, doc, rig.session, rig.links, rig.texts);
        read.show();
        auto* none = read.findChild<QCheckBox*>(QStringLiteral("Check1"));
        QVERIFY(none == nullptr || !none->isVisible());

        TransferWindow write(TransferMode::Write, doc, rig.session, rig.links, rig.texts);
        write.show();
        auto* check1 = Child<QCheckBox>(write, "Check1");
        auto* text3 = Child<QLineEdit>(write, "Text3");
        QCOMPARE(text3->maxLength(), 16);
        QVERIFY(write.height() > read.height());
        for (bool checked : {false, true, false}) {
            QCOMPARE(text3->isVisible(), checked);
            QTest::mouseClick(check1, Qt::LeftButton, {}, check1->rect().center());
        }
    }

    // The boxes show the remembered choices, count from Start on and are
    // remembered in the user's settings.
    void theTransferChoicesAreRemembered() {
        QTemporaryDir folder;
        qx::Document doc = LoadedDocument(3);
        Rig rig(qx::FreshRadioMemory(doc));
        rig.session.paths.configDir = folder.filePath("config").toStdString();
        rig.session.paths.backupDir = folder.filePath("backups").toStdString();
        qx::test::ModalAnswerer answerer;
        answerer.Press(QMessageBox::Ok);  // RW msg3
        {
            TransferWindow write(TransferMode::Write, doc, rig.session, rig.links, rig.texts);
            auto* verify = Child<QCheckBox>(write, "chkVerify");
            auto* backup = Child<QCheckBox>(write, "chkBackupFirst");
            QCOMPARE(verify->text(), QStringLiteral("Verify after writing"));
            QVERIFY(verify->isChecked());
            QVERIFY(!backup->isChecked());
            QVERIFY(write.findChild<QCheckBox*>("chkReadTwice") == nullptr);
            verify->setChecked(false);
            backup->setChecked(true);
            RunToTheEnd(write);
            QVERIFY(write.Result() == TransferResult::Completed);
            QVERIFY(!write.transfer().BackupPath().empty());
        }
        const qx::TransferOptions stored = qx::ReadTransferChoices(rig.session.paths);
        QVERIFY(!stored.verify && stored.backupFirst && !stored.readTwice);
        QVERIFY(!rig.session.transferChoices.verify);
        TransferWindow again(TransferMode::Write, doc, rig.session, rig.links, rig.texts);
        QVERIFY(!Child<QCheckBox>(again, "chkVerify")->isChecked());
        QVERIFY(Child<QCheckBox>(again, "chkBackupFirst")->isChecked());
        {
            TransferWindow read(TransferMode::Read, doc, rig.session, rig.links, rig.texts);
            QVERIFY(!Child<QCheckBox>(read, "chkReadTwice")->isChecked());
            QVERIFY(again.findChild<QCheckBox*>("chkQuickRead") == nullptr);
            auto* quick = Child<QCheckBox>(read, "chkQuickRead");
            QCOMPARE(quick->text(),
                     QStringLiteral("Quick read (only the memory this program uses)"));
            QVERIFY(!quick->isChecked());
            quick->setChecked(true);
            answerer.Press(QMessageBox::Ok);  // RW msg3
            RunToTheEnd(read);
            QVERIFY(read.Result() == TransferResult::Completed);
            QVERIFY(read.transfer().Options().quickRead);
        }
        QVERIFY(qx::ReadTransferChoices(rig.session.paths).quickRead);
        TransferWindow read(TransferMode::Read, doc, rig.session, rig.links, rig.texts);
        QVERIFY(Child<QCheckBox>(read, "chkQuickRead")->isChecked());
        QVERIFY(answerer.AllAnswered());
    }

    // A write that fails after changing the radio says so and keeps the
    // window open; Start tries again.
    void aPartlyWrittenRadioKeepsTheWindowForAnotherTry() {
        qx::Document doc = LoadedDocument(3);
        Rig rig(qx::FreshRadioMemory(doc));
        std::string error;
        for (const qx::Fault& fault : qx::ParseFaultRule("power-loss:30", error))
            rig.links.SimRadio().AddFault(fault);
        qx::test::ModalAnswerer answerer;
        answerer.Press(QMessageBox::Ok);  // the failure
        answerer.Press(QMessageBox::Ok);  // RW msg3
        TransferWindow window(TransferMode::Write, doc, rig.session, rig.links, rig.texts);
        window.show();
        auto* start = Child<QPushButton>(window, "cmdAutoSend");
        QTRY_VERIFY(start->isEnabled());
        QTest::mouseClick(start, Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(window.Result() == TransferResult::WriteFailed, kTransferTimeout);
        QVERIFY(window.isVisible());
        QCOMPARE(start->text(), QStringLiteral("Start"));
        QVERIFY(answerer.Texts().value(0).contains("partly written"));
        QTest::mouseClick(start, Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(!window.isVisible(), kTransferTimeout);
        QVERIFY(window.Result() == TransferResult::Completed);
        QVERIFY(answerer.AllAnswered());
    }

    void thePortDialogSetsThePortOnlyOnOk() {
        const std::pair<const char*, std::string> cases[] = {{"OKButton", "sim"},
                                                             {"CancelButton", "/dev/ttyUSB1"}};
        for (const auto& [button, port] : cases) {
            qx::Session session;
            session.portName = "/dev/ttyUSB1";
            qx::SilentUi ui;
            QPointer<qx::PortSettingsDialog> dialog(new qx::PortSettingsDialog(
                session, std::make_unique<FakeDirectory>(), English(), ui, nullptr));
            dialog->show();
            QVERIFY(!dialog->isModal());
            auto* list = Child<QComboBox>(*dialog, "ComBoCommList");
            QStringList items;
            for (int i = 0; i < list->count(); ++i) items << list->itemText(i);
            QCOMPARE(items, QStringList({"/dev/ttyS0", "/dev/ttyUSB1", "sim"}));
            QCOMPARE(list->currentText(), QStringLiteral("/dev/ttyUSB1"));
            QCOMPARE(Child<QLineEdit>(*dialog, "txtPort")->text(), QStringLiteral("/dev/ttyUSB1"));
            QCOMPARE(Child<QLineEdit>(*dialog, "txtSetting")->text(), QStringLiteral("9600,n,8,1"));

            list->setCurrentIndex(2);
            QTest::mouseClick(Child<QPushButton>(*dialog, button), Qt::LeftButton);
            QTRY_VERIFY(dialog.isNull());
            QCOMPARE(session.portName, port);
        }
    }

    // A path typed into the box selects its list entry when there is one and
    // none otherwise; choosing in the list fills the box; OK takes the box,
    // and the transfer opens that path (a missing one is an error message).
    void aTypedPortPathIsChosenAndUsed() {
        Rig rig({});
        rig.session.portName = "/dev/ttyUSB1";
        QPointer<qx::PortSettingsDialog> dialog(new qx::PortSettingsDialog(
            rig.session, std::make_unique<FakeDirectory>(), English(), rig.ui, nullptr));
        dialog->show();
        auto* list = Child<QComboBox>(*dialog, "ComBoCommList");
        auto* path = Child<QLineEdit>(*dialog, "TxtPortPath");
        QCOMPARE(path->text(), QStringLiteral("/dev/ttyUSB1"));

        path->clear();
        QTest::keyClicks(path, "/dev/ttyS0");
        QCOMPARE(list->currentText(), QStringLiteral("/dev/ttyS0"));
        QTest::keyClicks(path, "1");
        QCOMPARE(list->currentIndex(), -1);
        list->setCurrentIndex(2);
        QCOMPARE(path->text(), QStringLiteral("sim"));
        QTest::mouseClick(Child<QPushButton>(*dialog, "CommandRefresh"), Qt::LeftButton);
        QCOMPARE(list->count(), 3);
        QCOMPARE(path->text(), QStringLiteral("sim"));

        const QString typed = QStringLiteral("/dev/qx-typed-port");
        path->selectAll();
        QTest::keyClicks(path, typed);
        QCOMPARE(list->currentIndex(), -1);
        qx::test::SaveShot(*dialog, "PortDialog-typed");
        QTest::mouseClick(Child<QPushButton>(*dialog, "OKButton"), Qt::LeftButton);
        QTRY_VERIFY(dialog.isNull());
        QCOMPARE(QString::fromStdString(rig.session.portName), typed);

        qx::test::ModalAnswerer answerer;
        QMessageBox::Icon icon = QMessageBox::NoIcon;
        QString message;
        answerer.Then([&](QWidget* window) {
            if (auto* box = qobject_cast<QMessageBox*>(window)) {
                icon = box->icon();
                message = box->text();
            }
            window->close();
        });
        qx::Document doc = LoadedDocument(3);
        TransferWindow window(TransferMode::Read, doc, rig.session, rig.links, rig.texts);
        window.show();
        QTRY_COMPARE(icon, QMessageBox::Critical);
        QVERIFY2(message.startsWith("The port " + typed + " does not exist."), qPrintable(message));
        QVERIFY(window.windowTitle().endsWith("(COMM Port:" + typed + ")"));
    }
};

QTEST_MAIN(TransferWindowTest)
#include "transfer_window_test.moc"
