// The several-radios window driven through its widgets: three simulated
// radios written at once, one of them failing, Stop, the menu entry that
// opens it, and its texts in both languages.
#include <QAction>
#include <QCheckBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QtTest>
#include <deque>
#include <memory>

#include "app/channel_ops.h"
#include "app/settings_files.h"
#include "codeplug/frequency.h"
#include "fleet_window.h"
#include "image/memory_image.h"
#include "link/simulated_link.h"
#include "main_window.h"
#include "modal_answerer.h"
#include "port_links.h"
#include "qt_timers.h"
#include "screenshot.h"

namespace {

using qx::FleetWindow;

// Three radios take well under a second without a baud rate; this only
// bounds a failing test.
constexpr int kWriteTimeout = 60000;

template <typename T>
T* Child(QWidget& parent, const char* name) {
    T* child = parent.findChild<T*>(QLatin1String(name));
    if (child == nullptr) qFatal("no child %s", name);
    return child;
}

class FixedPorts final : public qx::PortDirectory {
  public:
    std::vector<std::string> PortNames() const override { return {"radio1", "radio2", "radio3"}; }
};

// A project with row 2 in use and three blank radios of its model behind
// the ports radio1..radio3, each on a link of its own.
struct Rig {
    explicit Rig(const char* language = "english.ini", int baud = 0)
        : texts(QX_LANGUAGE_DIR, language) {
        qx::SilentUi ui;
        qx::LoadMainWindow(doc, texts, qx::FeatureFlags{true, true, true, false}, ui);
        const std::vector<std::uint8_t> blank = qx::FreshRadioMemory(doc);
        for (int i = 0; i < 3; ++i) radios.emplace_back(blank);
        qx::SetRowInUse(doc, 2, true);
        doc.Change({}, [](qx::Codeplug& codeplug) { codeplug.Row(2).name = "FLEET"; });
        session.paths = qx::SettingsPaths{QX_LANGUAGE_DIR, config.path().toStdString(),
                                          config.filePath("backups").toStdString()};
        session.languageFile = language;
        makeLink = [this, baud](const std::string& port) -> std::unique_ptr<qx::SerialLink> {
            const int index = port.back() - '1';
            return std::make_unique<qx::SimulatedLink>(radios[static_cast<std::size_t>(index)],
                                                       timers, baud);
        };
    }

    std::unique_ptr<FleetWindow> Window() {
        return std::make_unique<FleetWindow>(doc, session, links, texts, nullptr, makeLink,
                                             std::make_unique<FixedPorts>());
    }

    QTemporaryDir config;
    qx::LanguageTexts texts;
    qx::Document doc;
    qx::Session session;
    qx::PortLinks links{std::vector<std::uint8_t>(8192, 0xFF)};
    qx::QtTimers timers;
    std::deque<qx::SimulatedRadio> radios;
    qx::LinkFactory makeLink;
};

QTableWidget* Table(QWidget& window) { return Child<QTableWidget>(window, "tblRadios"); }

QString Cell(QWidget& window, int row, int column) {
    return Table(window)->item(row, column)->text();
}

QStringList Column(QWidget& window, int column, int rows = 3) {
    QStringList texts;
    for (int row = 0; row < rows; ++row) texts << Cell(window, row, column);
    return texts;
}

void CheckRows(QWidget& window, std::initializer_list<int> rows) {
    for (const int row : rows)
        Table(window)->item(row, FleetWindow::kPort)->setCheckState(Qt::Checked);
}

void StartAndWait(FleetWindow& window) {
    auto* start = Child<QPushButton>(window, "cmdStart");
    QVERIFY(start->isEnabled());
    QTest::mouseClick(start, Qt::LeftButton);
    QTRY_VERIFY_WITH_TIMEOUT(!window.Running(), kWriteTimeout);
}

std::string SelfIdIn(const qx::SimulatedRadio& radio) {
    const qx::ImageDecoding decoded = qx::DecodeImage(radio.Memory(), -1);
    if (!decoded.error.empty()) return "undecodable: " + decoded.error;
    return decoded.codeplug.signalling.fiveTone.selfId;
}

std::string Row2NameIn(const qx::SimulatedRadio& radio) {
    return qx::DecodeImage(radio.Memory(), -1).codeplug.Row(2).name;
}

}  // namespace

class FleetWindowTest : public QObject {
    Q_OBJECT
  private slots:
    void writesThreeRadiosWithNumberedSelfIds() {
        Rig rig;
        auto window = rig.Window();
        window->show();
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
        QCOMPARE(Column(*window, FleetWindow::kPort, 4),
                 QStringList({"radio1", "radio2", "radio3", "sim"}));
        QCOMPARE(Column(*window, FleetWindow::kLabel, 4), QStringList({"#1", "#2", "#3", "#4"}));
        auto* start = Child<QPushButton>(*window, "cmdStart");
        QVERIFY(!start->isEnabled());  // nothing checked

        // The space bar checks the current radio; the others by their boxes.
        QTableWidget* table = Table(*window);
        QCOMPARE(QApplication::focusWidget(), table);
        table->setCurrentCell(0, FleetWindow::kPort);
        QTest::keyClick(table, Qt::Key_Space);
        QCOMPARE(table->item(0, FleetWindow::kPort)->checkState(), Qt::Checked);
        CheckRows(*window, {1, 2});
        QVERIFY(start->isEnabled());
        // Before a start field, each radio keeps the project's own ID.
        const QString own = QString::fromStdString(rig.doc.codeplug().signalling.fiveTone.selfId);
        QCOMPARE(Column(*window, FleetWindow::kSelfId, 4), QStringList({own, own, own, ""}));
        QTest::keyClicks(Child<QLineEdit>(*window, "txtSelfIdStart"), "4200");
        QVERIFY(!start->isEnabled());  // four digits number nothing
        QTest::keyClicks(Child<QLineEdit>(*window, "txtSelfIdStart"), "7");
        QCOMPARE(Column(*window, FleetWindow::kSelfId, 4),
                 QStringList({"42007", "42008", "42009", ""}));
        Child<QCheckBox>(*window, "chkBackupFirst")->setChecked(false);
        Child<QCheckBox>(*window, "chkVerify")->setChecked(true);

        QTest::mouseClick(start, Qt::LeftButton);
        QCOMPARE(start->text(), QStringLiteral("&Stop"));
        QVERIFY(!Child<QPushButton>(*window, "cmdClose")->isEnabled());
        QVERIFY(!Child<QPushButton>(*window, "cmdRefresh")->isEnabled());
        QTRY_VERIFY_WITH_TIMEOUT(!window->Running(), kWriteTimeout);

        QCOMPARE(start->text(), QStringLiteral("&Start"));
        QVERIFY(Child<QPushButton>(*window, "cmdClose")->isEnabled());
        QCOMPARE(Column(*window, FleetWindow::kStage), QStringList(3, QStringLiteral("done")));
        QCOMPARE(Column(*window, FleetWindow::kResult), QStringList(3, QStringLiteral("ok")));
        for (int row = 0; row < 3; ++row) {
            QVERIFY(Cell(*window, row, FleetWindow::kTime).endsWith(" s"));
            QCOMPARE(Cell(*window, row, FleetWindow::kBackup), QString());
            auto* bar = static_cast<QProgressBar*>(table->cellWidget(row, FleetWindow::kProgress));
            QCOMPARE(bar->value(), 100);
        }
        QCOMPARE(Cell(*window, 3, FleetWindow::kStage), QString());  // sim was not checked
        QCOMPARE(Child<QLabel>(*window, "lblStatus")->text(),
                 QStringLiteral("3 of 3 radios written."));
        for (std::size_t i = 0; i < 3; ++i) {
            QCOMPARE(SelfIdIn(rig.radios[i]), std::to_string(42007 + i));
            QCOMPARE(Row2NameIn(rig.radios[i]), std::string("FLEET"));
        }
        // The choices are remembered as the single write remembers them.
        QVERIFY(!rig.session.transferChoices.backupFirst);
        QVERIFY(rig.session.transferChoices.verify);
        QVERIFY(!qx::ReadTransferChoices(rig.session.paths).backupFirst);
    }

    void aFailingRadioLeavesTheOthersWrittenAndIsNamedToRedo() {
        Rig rig;
        std::string error;
        for (const qx::Fault& fault : qx::ParseFaultRule("silent-after:200", error))
            rig.radios[1].AddFault(fault);
        QCOMPARE(error, std::string());
        rig.session.transferChoices.backupFirst = true;
        auto window = rig.Window();
        window->show();
        QVERIFY(Child<QCheckBox>(*window, "chkBackupFirst")->isChecked());
        Table(*window)->item(1, FleetWindow::kLabel)->setText("middle");
        CheckRows(*window, {0, 1, 2});
        StartAndWait(*window);

        QCOMPARE(Column(*window, FleetWindow::kStage), QStringList({"done", "failed", "done"}));
        QCOMPARE(Cell(*window, 0, FleetWindow::kResult), QStringLiteral("ok"));
        QCOMPARE(Cell(*window, 2, FleetWindow::kResult), QStringLiteral("ok"));
        const QString message = Cell(*window, 1, FleetWindow::kResult);
        QVERIFY(!message.isEmpty() && message != QStringLiteral("ok"));
        QCOMPARE(message, QString::fromStdString(window->fleet()->Radios()[1].message));
        // Backed up first: each written radio's backup is named in its row;
        // the failed one fell silent while it was being read for its backup.
        for (int row : {0, 2}) {
            const QString backup = Cell(*window, row, FleetWindow::kBackup);
            QVERIFY2(QFileInfo::exists(backup), qPrintable(backup));
        }
        QCOMPARE(Cell(*window, 1, FleetWindow::kBackup), QString());
        QCOMPARE(Child<QLabel>(*window, "lblStatus")->text(),
                 QStringLiteral("2 of 3 radios written. Write again to: middle (radio2)"));
        const std::string own = rig.doc.codeplug().signalling.fiveTone.selfId;
        QCOMPARE(SelfIdIn(rig.radios[0]), own);
        QCOMPARE(Row2NameIn(rig.radios[2]), std::string("FLEET"));
        QVERIFY(Row2NameIn(rig.radios[1]) != "FLEET");
    }

    void stopStopsEveryRadioAndEscapeWaitsForIt() {
        Rig rig("english.ini", 9600);  // slow enough to be stopped midway
        auto window = rig.Window();
        window->show();
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
        CheckRows(*window, {0, 1, 2});
        auto* start = Child<QPushButton>(*window, "cmdStart");
        QTest::mouseClick(start, Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(Column(*window, FleetWindow::kStage).contains("writing"),
                                 kWriteTimeout);
        QTest::keyClick(window.get(), Qt::Key_Escape);
        window->close();
        QVERIFY(window->isVisible());
        QVERIFY(window->Running());

        QTest::mouseClick(start, Qt::LeftButton);            // Stop
        QVERIFY(!window->Running() || !start->isEnabled());  // once is enough
        QTRY_VERIFY_WITH_TIMEOUT(!window->Running(), kWriteTimeout);
        QCOMPARE(Column(*window, FleetWindow::kStage), QStringList(3, QStringLiteral("failed")));
        for (const qx::FleetRadioState& radio : window->fleet()->Radios())
            QVERIFY(radio.result != qx::TransferResult::Completed);
        QVERIFY(
            Child<QLabel>(*window, "lblStatus")
                ->text()
                .startsWith(QStringLiteral("0 of 3 radios written. Write again to: #1 (radio1)")));
        QVERIFY(start->isEnabled());
        QTest::keyClick(window.get(), Qt::Key_Escape);
        QVERIFY(!window->isVisible());
    }

    void refreshKeepsChecksAndTypedLabels() {
        Rig rig;
        auto window = rig.Window();
        CheckRows(*window, {1});
        Table(*window)->item(2, FleetWindow::kLabel)->setText("roof");
        QTest::mouseClick(Child<QPushButton>(*window, "cmdRefresh"), Qt::LeftButton);
        QCOMPARE(Table(*window)->item(1, FleetWindow::kPort)->checkState(), Qt::Checked);
        QCOMPARE(Table(*window)->item(0, FleetWindow::kPort)->checkState(), Qt::Unchecked);
        QCOMPARE(Column(*window, FleetWindow::kLabel), QStringList({"#1", "#2", "roof"}));
    }

    // The menu entry runs the check of a single write once (an error stops
    // it, warnings ask), without the notice to connect a radio, then opens
    // the window over the main window's ports, where "sim" is written.
    void theMenuEntryChecksThenOpensTheWindowOverTheMainWindowsPorts() {
        QTemporaryDir config;
        qx::Session session;
        session.paths = qx::SettingsPaths{QX_LANGUAGE_DIR, config.path().toStdString(), {}};
        session.languageFile = "english.ini";
        qx::MainWindow main(session);
        main.show();
        QVERIFY(QTest::qWaitForWindowActive(&main));
        QAction* entry = main.findChild<QAction*>("Menu_WriteSeveral");
        QVERIFY(entry != nullptr);
        QCOMPARE(entry->text(), QStringLiteral("Write to &Several Radios..."));
        qx::SetRowInUse(main.document(), 2, true);
        main.document().Change({}, [](qx::Codeplug& codeplug) {
            codeplug.Row(2).name = "MENU";
            codeplug.Memory(0).rx = *qx::Frequency::Parse("180.0000");  // an error
        });

        qx::test::ModalAnswerer answerer;
        bool writeOffered = true;
        const auto answerList = [&](const char* button) {
            answerer.Then([&writeOffered, button](QWidget* list) {
                QCOMPARE(list->objectName(), QStringLiteral("CheckList"));
                writeOffered = !list->findChild<QPushButton*>("CommandOK")->isHidden();
                list->findChild<QPushButton*>(QLatin1String(button))->click();
            });
        };
        answerList("CommandCANCEL");
        entry->trigger();
        QTRY_VERIFY(answerer.AllAnswered());
        QVERIFY(!writeOffered);
        QCOMPARE(answerer.Unexpected(), QStringList{});  // no window after an error

        main.document().Change({}, [](qx::Codeplug& codeplug) {
            codeplug.Memory(0).rx = *qx::Frequency::Parse("145.0000");
        });
        answerList("CommandOK");  // the warnings left, written all the same
        QString title;
        QString result;
        answerer.Then([&](QWidget* shown) {
            auto* window = qobject_cast<FleetWindow*>(shown);
            if (window == nullptr) {
                title = shown->objectName();
                shown->close();
                return;
            }
            title = window->windowTitle();
            QTableWidget* table = Table(*window);
            const int sim = table->rowCount() - 1;
            table->item(sim, FleetWindow::kPort)->setCheckState(Qt::Checked);
            QTest::mouseClick(Child<QPushButton>(*window, "cmdStart"), Qt::LeftButton);
            QTRY_VERIFY_WITH_TIMEOUT(!window->Running(), kWriteTimeout);
            result = table->item(sim, FleetWindow::kPort)->text() + " " +
                     table->item(sim, FleetWindow::kResult)->text();
            QTest::mouseClick(Child<QPushButton>(*window, "cmdClose"), Qt::LeftButton);
        });
        entry->trigger();
        QTRY_VERIFY(answerer.AllAnswered());
        QVERIFY(writeOffered);
        QCOMPARE(answerer.Unexpected(), QStringList{});
        QCOMPARE(title, QStringLiteral("Write to Several Radios"));
        QCOMPARE(result, QStringLiteral("sim ok"));
        QCOMPARE(Row2NameIn(main.portLinks().SimRadio()), std::string("MENU"));
    }

    void showsItsTextsInBothLanguages() {
        for (const char* language : {"english.ini", "chinese.ini"}) {
            Rig rig(language);
            auto window = rig.Window();
            const auto text = [&rig](const char* key) {
                return QString::fromStdString(rig.texts.LanguageText("Fleet", key));
            };
            QVERIFY(!text("title").isEmpty());
            QCOMPARE(window->windowTitle(), text("title"));
            QStringList headings;
            for (int c = 0; c < FleetWindow::kColumns; ++c)
                headings << Table(*window)->horizontalHeaderItem(c)->text();
            QCOMPARE(headings,
                     QStringList({text("colport"), text("collabel"), text("colselfid"),
                                  text("colprogress"), text("colstage"), text("colresult"),
                                  text("coltime"), text("colbackup")}));
            QCOMPARE(Child<QPushButton>(*window, "cmdStart")->text(), text("start"));
            QCOMPARE(Child<QPushButton>(*window, "cmdRefresh")->text(), text("refresh"));
            QCOMPARE(Child<QCheckBox>(*window, "chkVerify")->text(),
                     QString::fromStdString(rig.texts.LanguageText("RW", "rw008")));
            CheckRows(*window, {0, 1, 2});
            StartAndWait(*window);
            QCOMPARE(Column(*window, FleetWindow::kStage), QStringList(3, text("stagedone")));
            QCOMPARE(Column(*window, FleetWindow::kResult), QStringList(3, text("resultok")));
            QCOMPARE(Child<QLabel>(*window, "lblStatus")->text(), text("summary").arg(3).arg(3));
            qx::test::SaveShot(*window, QStringLiteral("fleet-") +
                                            QString::fromLatin1(language).section('.', 0, 0));
        }
    }
};

QTEST_MAIN(FleetWindowTest)
#include "fleet_window_test.moc"
