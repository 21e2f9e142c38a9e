// The channel grid over a document as the main window loads it (model 3:
// 12.5 kHz steps, 136-173.9950 MHz), driven through its real widgets offscreen.
#include <QClipboard>
#include <QComboBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QScrollBar>
#include <QVBoxLayout>
#include <QtTest>

#include "app/channel_ops.h"
#include "channel_grid.h"
#include "modal_answerer.h"
#include "qt_ui.h"

namespace {

using namespace qx;

class Fixture {
  public:
    Fixture() : ui(&window) {
        LoadMainWindow(doc, LanguageTexts(QX_LANGUAGE_DIR, "english.ini"),
                       FeatureFlags{true, true, true, false}, ui);
        grid = new ChannelGrid(doc, ui, &window);
        (new QVBoxLayout(&window))->addWidget(grid);
        QObject::connect(grid, &ChannelGrid::edited, grid, [this] { ++edits; });
        window.resize(1000, 400);
        window.show();
        QVERIFY(QTest::qWaitForWindowActive(&window));
    }

    QModelIndex Index(int row, int column) const {
        return grid->model()->index(row - 1, column - 1);
    }
    QString Shown(int row, int column) const { return Index(row, column).data().toString(); }

    void Click(int row, int column) {
        grid->scrollTo(Index(row, column));
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {},
                          grid->visualRect(Index(row, column)).center());
    }
    // A click beside the cells (on a row label): the focus goes to the grid.
    void ClickAside() {
        QTest::mouseClick(grid->verticalHeader()->viewport(), Qt::LeftButton, {}, QPoint(5, 5));
    }

    // The editors shown over the cells.
    QWidgetList Visible() const {
        QWidgetList shown;
        for (QWidget* w : grid->viewport()->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
            if (w->isVisible()) shown << w;
        }
        return shown;
    }
    template <typename T>
    T* Open(const char* name) const {
        const QWidgetList shown = Visible();
        if (shown.isEmpty() || shown.front()->objectName() != QLatin1String(name)) return nullptr;
        return qobject_cast<T*>(shown.front());
    }

    Document doc;
    QWidget window;
    QtUi ui;
    test::ModalAnswerer answerer;
    ChannelGrid* grid = nullptr;
    int edits = 0;
};

void Choose(QComboBox* combo, const QString& entry) {
    QVERIFY(combo != nullptr);
    const int position = combo->findText(entry);
    QVERIFY2(position >= 0, qPrintable(entry));
    combo->setCurrentIndex(position);
    emit combo->activated(position);
}

}  // namespace

class ChannelGridTest : public QObject {
    Q_OBJECT
  private slots:
    void statusClicksSwitchTheRowOffAndOn() {
        Fixture f;
        QCOMPARE(f.grid->objectName(), QStringLiteral("MFG"));
        QCOMPARE(f.grid->model()->headerData(kColRxFreq - 1, Qt::Horizontal),
                 QVariant(QStringLiteral("Rx Freq")));
        QVERIFY(f.grid->isColumnHidden(kColAni - 1));

        f.Click(1, kColStatus);
        QCOMPARE(f.Shown(1, kColStatus), QStringLiteral("Inactive"));
        for (int column : {kColName, kColRxFreq, kColOptSignal}) {
            QCOMPARE(f.Shown(1, column), QStringLiteral("---"));
        }
        QVERIFY(f.Visible().isEmpty());
        QCOMPARE(f.edits, 1);

        f.Click(1, kColStatus);
        QCOMPARE(f.Shown(1, kColStatus), QStringLiteral("Active"));
        QCOMPARE(f.Shown(1, kColRxFreq), QStringLiteral("145.0000"));
        QCOMPARE(f.Shown(1, kColStep), QStringLiteral("12.5"));

        f.Click(2, kColRxFreq);  // a row not in use is only selected
        QCOMPARE(f.Shown(2, kColStatus), QStringLiteral("Inactive"));
        QVERIFY(f.Visible().isEmpty());
        QCOMPARE(f.grid->currentIndex(), f.Index(2, kColRxFreq));
        QVERIFY(f.doc.UndoStep() == (StepLabel{StepKind::ChannelOnOff, 1}));  // no new step
    }

    // Enter, F2 or typing opens the editor of a row not in use; only a
    // commit switches the row on, as one step with the value.
    void aRowNotInUseIsSwitchedOnByACommit() {
        Fixture f;
        f.grid->setCurrentIndex(f.Index(2, kColRxFreq));
        QTest::keyClick(f.grid, Qt::Key_1);
        auto* rx = f.Open<QLineEdit>("TxtRxFreq");
        QVERIFY(rx != nullptr);
        QCOMPARE(rx->text(), QStringLiteral("1"));
        QTest::keyClick(rx, Qt::Key_Escape);
        QCOMPARE(f.Shown(2, kColStatus), QStringLiteral("Inactive"));
        QVERIFY(!f.doc.CanUndo());

        QTest::keyClick(f.grid, Qt::Key_F2);
        rx = f.Open<QLineEdit>("TxtRxFreq");
        QVERIFY(rx != nullptr);
        QTest::keyClicks(rx, QStringLiteral("146.5"));
        QTest::keyClick(rx, Qt::Key_Return);
        QCOMPARE(f.Shown(2, kColStatus), QStringLiteral("Active"));
        QCOMPARE(f.Shown(2, kColRxFreq), QStringLiteral("146.50000"));
        QVERIFY(f.doc.Undo());
        QCOMPARE(f.doc.codeplug().Row(2).inUse, false);
        QVERIFY(!f.doc.CanUndo());
    }

    void typingOnACellStartsItsEditor_data() {
        QTest::addColumn<int>("column");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("editor");
        QTest::addColumn<QString>("text");  // the line edit's text, or "" for a list
        QTest::newRow("name") << int(kColName) << "ab"
                              << "TxtName"
                              << "AB";
        QTest::newRow("rx") << int(kColRxFreq) << "14"
                            << "TxtRxFreq"
                            << "14";
        QTest::newRow("list") << int(kColBandwidth) << "n"
                              << "ComboWN"
                              << "";
    }
    void typingOnACellStartsItsEditor() {
        QFETCH(int, column);
        QFETCH(QString, typed);
        QFETCH(QString, editor);
        QFETCH(QString, text);
        Fixture f;
        f.grid->setCurrentIndex(f.Index(1, column));
        QTest::keyClick(f.grid, typed.at(0).toLatin1());
        QWidget* open = f.Open<QWidget>(qPrintable(editor));
        QVERIFY(open != nullptr);
        QVERIFY(open->hasFocus());
        if (auto* edit = qobject_cast<QLineEdit*>(open)) {
            QTest::keyClicks(edit, typed.mid(1));
            QCOMPARE(edit->text(), text);
        }
        QCOMPARE(f.grid->currentIndex(), f.Index(1, column));
    }

    void typingNeverJumpsToAnotherRow() {
        Fixture f;
        f.grid->setCurrentIndex(f.Index(1, kColStatus));
        QTest::keyClicks(f.grid, QStringLiteral("Inactive"));
        QCOMPARE(f.grid->currentIndex(), f.Index(1, kColStatus));
        QVERIFY(f.Visible().isEmpty());
        QCOMPARE(f.Shown(1, kColStatus), QStringLiteral("Active"));
    }

    void nameEditorTakesTypedKeysThroughTheFilter() {
        Fixture f;
        QGuiApplication::clipboard()->setText(QStringLiteral("XYZ"));
        f.Click(1, kColName);
        auto* name = f.Open<QLineEdit>("TxtName");
        QVERIFY(name != nullptr);
        QVERIFY(name->hasFocus());
        QCOMPARE(name->geometry(), f.grid->visualRect(f.Index(1, kColName)));
        QTest::keyClicks(name, QStringLiteral("ab c!"));
        QCOMPARE(name->text(), QStringLiteral("AB C"));
        QCOMPARE(f.Shown(1, kColName), QStringLiteral("AB C"));  // each change is taken at once
        QTest::keyClick(name, Qt::Key_V, Qt::ControlModifier);
        QTest::sendKeyEvent(QTest::Click, name, Qt::Key_Eacute, QString::fromUtf8("é"), {});
        QTest::keyClick(name, Qt::Key_Backspace);
        QTest::keyClicks(name, QStringLiteral("defg"));
        QCOMPARE(name->text(), QStringLiteral("AB DEFG"));  // no paste, ASCII only, seven at most
        QTest::keyClick(name, Qt::Key_Return);
        QVERIFY(f.Visible().isEmpty());
        QVERIFY(f.grid->hasFocus());
        QCOMPARE(f.Shown(1, kColName), QStringLiteral("AB DEFG"));
    }

    void rxEditorCommitsOnLeaving_data() {
        QTest::addColumn<QString>("startTx");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("rx");
        QTest::addColumn<QString>("tx");
        QTest::addColumn<QString>("message");
        QTest::newRow("rounded to the step") << "145.0000"
                                             << "145.0130"
                                             << "145.01250"
                                             << "145.01250"
                                             << "";
        QTest::newRow("a repeater keeps its offset") << "145.6000"
                                                     << "146.5"
                                                     << "146.50000"
                                                     << "147.10000"
                                                     << "";
        QTest::newRow("out of band")
            << "145.0000"
            << "500"
            << "145.0000"
            << "145.0000"
            << "Rx frequency out of range. Allowed range (MHz):\"136 - 173.9950\"";
        QTest::newRow("not a number")
            << "145.0000"
            << "14x"
            << "145.0000"
            << "145.0000"
            << "Invalid frequency! Please enter a number, for example 145.0000";
    }
    void rxEditorCommitsOnLeaving() {
        QFETCH(QString, startTx);
        QFETCH(QString, typed);
        QFETCH(QString, rx);
        QFETCH(QString, tx);
        QFETCH(QString, message);
        Fixture f;
        f.doc.Change({},
                     [&](Codeplug& c) { c.Row(1).tx = *Frequency::Parse(startTx.toStdString()); });
        f.grid->Reload();
        if (!message.isEmpty()) f.answerer.Press(QMessageBox::Ok);
        f.Click(1, kColRxFreq);
        auto* edit = f.Open<QLineEdit>("TxtRxFreq");
        QVERIFY(edit != nullptr);
        QCOMPARE(edit->maxLength(), 9);
        QTest::keyClicks(edit, typed);
        QCOMPARE(f.Shown(1, kColRxFreq), QStringLiteral("145.0000"));  // not before leaving
        f.ClickAside();
        QVERIFY(f.Visible().isEmpty());
        QCOMPARE(f.Shown(1, kColRxFreq), rx);
        QCOMPARE(f.Shown(1, kColTxFreq), tx);
        QCOMPARE(f.answerer.Texts(), message.isEmpty() ? QStringList() : QStringList{message});
        QVERIFY(f.answerer.Unexpected().isEmpty());
    }

    void enterOrF2OpensAndEscapeRestores_data() {
        QTest::addColumn<int>("column");
        QTest::addColumn<int>("key");
        QTest::addColumn<QString>("editor");
        QTest::addColumn<QString>("entry");  // typed or chosen
        QTest::addColumn<int>("changed");    // the cell the edit changes at once
        QTest::newRow("name") << int(kColName) << int(Qt::Key_F2) << "TxtName"
                              << "zz" << int(kColName);
        QTest::newRow("step re-rounds") << int(kColStep) << int(Qt::Key_Return) << "ComboRef"
                                        << "6.25" << int(kColRxFreq);
        QTest::newRow("rx") << int(kColRxFreq) << int(Qt::Key_Enter) << "TxtRxFreq"
                            << "146" << 0;
    }
    void enterOrF2OpensAndEscapeRestores() {
        QFETCH(int, column);
        QFETCH(int, key);
        QFETCH(QString, editor);
        QFETCH(QString, entry);
        QFETCH(int, changed);
        Fixture f;
        const QStringList before = {f.Shown(1, column), f.Shown(1, kColRxFreq)};
        f.grid->setCurrentIndex(f.Index(1, column));
        QTest::keyClick(f.grid, Qt::Key(key));
        QWidget* open = f.Open<QWidget>(qPrintable(editor));
        QVERIFY(open != nullptr);
        QVERIFY(open->hasFocus());
        if (auto* combo = qobject_cast<QComboBox*>(open)) {
            Choose(combo, entry);
        } else {
            QTest::keyClicks(open, entry);
        }
        if (changed != 0) QVERIFY(f.Shown(1, changed) != before.at(changed == column ? 0 : 1));
        QTest::keyClick(open, Qt::Key_Escape);
        QVERIFY(f.Visible().isEmpty());
        QVERIFY(f.grid->hasFocus());
        QCOMPARE((QStringList{f.Shown(1, column), f.Shown(1, kColRxFreq)}), before);
        QCOMPARE(f.Shown(1, kColStep), QStringLiteral("12.5"));
        QVERIFY(!f.doc.Modified());
        QVERIFY(f.answerer.Unexpected().isEmpty());
    }

    void scrollingOrACommandCommitsTheOpenEditor_data() {
        QTest::addColumn<int>("column");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<bool>("scroll");  // else the main window's command
        QTest::newRow("name, scrolled") << int(kColName) << "ab"
                                        << "AB" << true;
        QTest::newRow("rx, scrolled") << int(kColRxFreq) << "146"
                                      << "146.00000" << true;
        QTest::newRow("rx, command") << int(kColRxFreq) << "147"
                                     << "147.00000" << false;
    }
    void scrollingOrACommandCommitsTheOpenEditor() {
        QFETCH(int, column);
        QFETCH(QString, typed);
        QFETCH(QString, shown);
        QFETCH(bool, scroll);
        Fixture f;
        f.Click(1, column);
        QVERIFY(!f.Visible().isEmpty());
        QTest::keyClicks(f.Visible().front(), typed);
        if (scroll) {
            f.grid->verticalScrollBar()->setValue(10);
        } else {
            f.grid->CommitEditor();
        }
        QVERIFY(f.Visible().isEmpty());
        QCOMPARE(f.Shown(1, column), shown);
        QVERIFY(f.grid->hasFocus());
    }

    void toneListsOpenInTwoStages_data() {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("list");
        QTest::addColumn<QString>("tone");
        QTest::addColumn<QString>("shown");
        QTest::newRow("ctcss") << "CTCSS"
                               << "ComboCTCSS"
                               << "88.5"
                               << "C:88.5";
        QTest::newRow("dcs") << "DCS"
                             << "ComboDCS"
                             << "023N"
                             << "D:023N";
    }
    void toneListsOpenInTwoStages() {
        QFETCH(QString, kind);
        QFETCH(QString, list);
        QFETCH(QString, tone);
        QFETCH(QString, shown);
        Fixture f;
        f.Click(1, kColRxTone);
        Choose(f.Open<QComboBox>("ComboCTCSSDCS"), kind);
        auto* tones = f.Open<QComboBox>(qPrintable(list));
        QVERIFY(tones != nullptr);
        QCOMPARE(f.Visible().size(), 1);
        QVERIFY(tones->hasFocus());
        QCOMPARE(tones->geometry(), f.grid->visualRect(f.Index(1, kColRxTone)));
        Choose(tones, tone);
        f.ClickAside();
        QVERIFY(f.Visible().isEmpty());
        QCOMPARE(f.Shown(1, kColRxTone), shown);
    }

    void optionSignalCodeLists() {
        Fixture f;
        f.Click(1, kColOptSignal);
        auto* types = f.Open<QComboBox>("ComboOptSignal");
        QVERIFY(types != nullptr);
        const auto lists = [&f] {
            QStringList names;
            for (QWidget* w : f.Visible().mid(1)) {
                names << w->objectName() + w->property("index").toString();
            }
            return names;
        };
        Choose(types, QStringLiteral("DTMF-ANI"));
        QCOMPARE(lists(), (QStringList{"Combo20", "Combo4"}));
        Choose(types, QStringLiteral("5Tone"));
        QCOMPARE(lists(), (QStringList{"Combo22", "Combo3"}));
        Choose(types, QStringLiteral("2Tone"));
        QCOMPARE(lists(), (QStringList{"Combo21"}));

        auto* codes = qobject_cast<QComboBox*>(f.Visible().at(1));
        codes->setFocus();  // moving within the group keeps it open
        QCOMPARE(f.Visible().size(), 2);
        Choose(codes, QStringLiteral("5"));
        QCOMPARE(int(f.doc.ShownRow(1).signal.code.value_or(0)), 5);
        f.ClickAside();
        QVERIFY(f.Visible().isEmpty());
        QCOMPARE(f.Shown(1, kColOptSignal), QStringLiteral("2Tone"));
        QVERIFY(f.doc.codeplug().Row(1).signal == (ChannelSignal{SignalKind::TwoTone, 5, {}}));
    }

    void reloadTakesTheNewTextsAndDropsTheOpenEditor() {
        Fixture f;
        f.Click(1, kColName);
        QTest::keyClicks(f.Open<QLineEdit>("TxtName"), QStringLiteral("ab"));
        LoadMainWindow(f.doc, LanguageTexts(QX_LANGUAGE_DIR, "chinese.ini"),
                       FeatureFlags{false, true, false, false}, f.ui);
        f.grid->Reload();
        QVERIFY(f.Visible().isEmpty());
        QCOMPARE(f.grid->model()->headerData(kColBandwidth - 1, Qt::Horizontal).toString(),
                 QString::fromStdString(f.doc.texts.headings[kColBandwidth]));
        QVERIFY(f.grid->isColumnHidden(kColAni - 1));
        QCOMPARE(f.Shown(1, kColName), QString());

        f.Click(1, kColBandwidth);
        auto* bandwidth = f.Open<QComboBox>("ComboWN");
        QVERIFY(bandwidth != nullptr);
        QCOMPARE(bandwidth->currentText(), QStringLiteral("宽带"));
        f.Click(1, kColOptSignal);
        auto* types = f.Open<QComboBox>("ComboOptSignal");
        QVERIFY(types != nullptr);
        QCOMPARE(types->count(), 2);  // "None", "2Tone"; left open as the window closes
    }
};

QTEST_MAIN(ChannelGridTest)
#include "channel_grid_test.moc"
