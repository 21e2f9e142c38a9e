// The 5-tone dialog and the special-call dialog over a document as the main
// window loads it, driven through their real widgets offscreen.
#include <QClipboard>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTableView>
#include <QtTest>
#include <memory>

#include "app/channel_ops.h"
#include "channels/cell_editors.h"
#include "five_tone_dialog_view.h"
#include "modal_answerer.h"
#include "platform_info.h"
#include "qt_ui.h"
#include "screenshot.h"
#include "special_call_view.h"

namespace {

using namespace qx;

// A control by its name and, for a control family, its "index".
template <typename T>
T* Find(QWidget* parent, const char* name, int index = -1) {
    for (T* widget : parent->findChildren<T*>(QLatin1String(name))) {
        if (index < 0 || widget->property("index").toInt() == index) return widget;
    }
    return nullptr;
}

void Choose(QComboBox* combo, const QString& entry) {
    QVERIFY(combo != nullptr);
    const int position = combo->findText(entry);
    QVERIFY2(position >= 0, qPrintable(entry));
    combo->setCurrentIndex(position);
    emit combo->activated(position);
}

// Types over the whole text of a field, as a user selecting it all would.
void TypeOver(QLineEdit* edit, const QString& text) {
    QVERIFY(edit != nullptr);
    edit->setFocus(Qt::MouseFocusReason);
    QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(edit, text);
}

void Click(QWidget* parent, const char* name) {
    auto* button = Find<QPushButton>(parent, name);
    QVERIFY2(button != nullptr, name);
    QTest::mouseClick(button, Qt::LeftButton);
}

class Fixture {
  public:
    explicit Fixture(const char* language = "english.ini",
                     const std::function<void(Document&)>& prepare = {})
        : texts(QX_LANGUAGE_DIR, language), ui(&window) {
        LoadMainWindow(doc, texts, FeatureFlags{true, true, true, false}, ui);
        if (prepare) prepare(doc);
        before = doc.codeplug();
        view = std::make_unique<FiveToneDialogView>(doc, texts, ui, &window);
        grid = Find<QTableView>(view.get(), "MSHFlexGrid1");
        view->show();
        view->activateWindow();
        QVERIFY(QTest::qWaitForWindowExposed(view.get()));
        // Focus moves need an active window; a bare X server (pictures only)
        // may not give one.
        if (QGuiApplication::platformName() == QLatin1String("offscreen")) {
            QVERIFY(QTest::qWaitForWindowActive(view.get()));
        }
    }

    QModelIndex Index(int row, int column) const { return grid->model()->index(row - 1, column); }
    QString Shown(int row, int column) const { return Index(row, column).data().toString(); }
    void Click(int row, int column) {
        grid->scrollTo(Index(row, column));
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {},
                          grid->visualRect(Index(row, column)).center());
    }
    // The in-cell editor shown, if any.
    QWidget* OpenEditor() const {
        for (QWidget* w : grid->viewport()->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
            if (w->isVisible()) return w;
        }
        return nullptr;
    }
    // The document's record: what OK stored.
    const FiveToneSettings& Live() const { return doc.codeplug().signalling.fiveTone; }

    LanguageTexts texts;
    Document doc;
    Codeplug before;
    QWidget window;
    QtUi ui;
    test::ModalAnswerer answerer;
    std::unique_ptr<FiveToneDialogView> view;
    QTableView* grid = nullptr;
};

}  // namespace

class FiveToneDialogViewTest : public QObject {
    Q_OBJECT
  private slots:
    void choosingAStandardSetsItsToneTime_data() {
        QTest::addColumn<QString>("standardList");
        QTest::addColumn<QString>("timeList");
        QTest::addColumn<int>("index");
        QTest::addColumn<QString>("standard");
        QTest::addColumn<QString>("time");
        QTest::newRow("own") << "Combo1"
                             << "Combo1" << 1 << "EEA"
                             << "40";
        QTest::newRow("PTT ID begin") << "Combo4"
                                      << "Combo5" << 0 << "PCCIR"
                                      << "100";
        QTest::newRow("PTT ID end") << "Combo4"
                                    << "Combo5" << 1 << "MODAT"
                                    << "40";
    }
    void choosingAStandardSetsItsToneTime() {
        QFETCH(QString, standardList);
        QFETCH(QString, timeList);
        QFETCH(int, index);
        QFETCH(QString, standard);
        QFETCH(QString, time);
        Fixture f;
        const int timeIndex = timeList == QLatin1String("Combo1") ? 3 : index;
        auto* times = Find<QComboBox>(f.view.get(), qPrintable(timeList), timeIndex);
        QCOMPARE(times->currentText(), QStringLiteral("70"));
        Choose(Find<QComboBox>(f.view.get(), qPrintable(standardList), index), standard);
        QCOMPARE(times->currentText(), time);
        if (standardList == QLatin1String("Combo1")) {
            const QString info = Find<QPlainTextEdit>(f.view.get(), "Text1")->toPlainText();
            QVERIFY(info.startsWith(QStringLiteral("EEA\nDigit Frequency(Hz)\n0 1981\n")));
            QVERIFY(
                info.endsWith(QStringLiteral("\nTone Time(ms) 40\nGroup Digit A\nRepeat Digit E")));
        }
    }

    void selfIdIsFilteredAndPaddedOnLeaving_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("pasted");
        QTest::addColumn<QString>("left");
        QTest::newRow("one digit") << "7"
                                   << ""
                                   << "70000";
        QTest::newRow("letters dropped") << "12a3"
                                         << ""
                                         << "12300";
        QTest::newRow("five at most") << "1234567"
                                      << ""
                                      << "12345";
        QTest::newRow("pasted") << ""
                                << "9x8"
                                << "98000";
    }
    void selfIdIsFilteredAndPaddedOnLeaving() {
        QFETCH(QString, typed);
        QFETCH(QString, pasted);
        QFETCH(QString, left);
        Fixture f;
        auto* selfId = Find<QLineEdit>(f.view.get(), "Text2");
        QCOMPARE(selfId->text(), QStringLiteral("12345"));
        TypeOver(selfId, typed);
        if (!pasted.isEmpty()) {
            QGuiApplication::clipboard()->setText(pasted);
            QTest::keyClick(selfId, Qt::Key_V, Qt::ControlModifier);
        }
        QTest::keyClick(selfId, Qt::Key_Return);  // moves on
        QVERIFY(!selfId->hasFocus());
        QCOMPARE(selfId->text(), left);
        Click(f.view.get(), "CommandOK");
        QCOMPARE(f.Live().selfId, left.toStdString());
    }

    void codeCellsAreEditedInPlace() {
        Fixture f;
        f.Click(3, 2);
        auto* code = qobject_cast<QLineEdit*>(f.OpenEditor());
        QVERIFY(code != nullptr);
        QCOMPARE(code->objectName(), QStringLiteral("Text3"));
        QCOMPARE(code->geometry(), f.grid->visualRect(f.Index(3, 2)));
        QVERIFY(code->hasFocus());
        QTest::keyClicks(code, QStringLiteral("11ag2"));
        QCOMPARE(code->text(), QStringLiteral("11A2"));
        QTest::keyClick(code, Qt::Key_Return);
        QVERIFY(f.OpenEditor() == nullptr);
        QCOMPARE(f.Shown(3, 2), QStringLiteral("1EA2"));

        f.Click(3, 2);  // Escape keeps what the cell had
        QTest::keyClicks(f.OpenEditor(), QStringLiteral("55"));
        QTest::keyClick(f.OpenEditor(), Qt::Key_Escape);
        QVERIFY(f.OpenEditor() == nullptr);
        QVERIFY(f.view->isVisible());
        QCOMPARE(f.Shown(3, 2), QStringLiteral("1EA2"));

        f.Click(3, 4);  // scrolling commits and hides
        auto* time = qobject_cast<QComboBox*>(f.OpenEditor());
        QVERIFY(time != nullptr);
        QCOMPARE(time->objectName(), QStringLiteral("Combo3"));
        Choose(time, QStringLiteral("100"));
        f.grid->verticalScrollBar()->setValue(f.grid->verticalScrollBar()->value() + 3);
        QVERIFY(f.OpenEditor() == nullptr);
        QCOMPARE(f.Shown(3, 4), QStringLiteral("100"));

        f.Click(3, 3);  // a standard brings its tone time, Escape takes it back
        Choose(qobject_cast<QComboBox*>(f.OpenEditor()), QStringLiteral("EEA"));
        QCOMPARE(f.Shown(3, 4), QStringLiteral("40"));
        QVERIFY(Find<QPlainTextEdit>(f.view.get(), "Text1")->toPlainText().startsWith("EEA\n"));
        QTest::keyClick(f.OpenEditor(), Qt::Key_Escape);
        QCOMPARE(f.Shown(3, 3), QStringLiteral("ZVEI1"));
        QCOMPARE(f.Shown(3, 4), QStringLiteral("100"));

        Click(f.view.get(), "CommandOK");
        QCOMPARE(f.view->result(), int(QDialog::Accepted));
        QCOMPARE(f.Live().codes[2].code, "1EA2");
        QCOMPARE(f.Live().codes[2].toneTime, 10);
        QVERIFY(f.doc.UndoStep() == StepLabel{StepKind::FiveTone});
    }

    void doubleClickResetsASpecialCall() {
        Fixture f("english.ini", [](Document& doc) {
            doc.Change({}, [](Codeplug& c) {
                c.signalling.fiveTone.codes[2] = {0, 0, 7, 7, "E0AEAEA"};
            });
        });
        QCOMPARE(f.Shown(3, 1), QStringLiteral("All Call"));
        f.answerer.Press(QMessageBox::Ok);
        // A double click is a click followed by the double-click event.
        const QPoint cell = f.grid->visualRect(f.Index(3, 2)).center();
        QTest::mousePress(f.grid->viewport(), Qt::LeftButton, {}, cell);
        QTest::mouseRelease(f.grid->viewport(), Qt::LeftButton, {}, cell);
        QVERIFY(f.OpenEditor() == nullptr);  // a special call's code has no editor
        QTest::mouseDClick(f.grid->viewport(), Qt::LeftButton, {}, cell);
        QCOMPARE(f.answerer.Texts(), QStringList{QString::fromLatin1(kResetSpecialCallQuestion)});
        QCOMPARE(f.Shown(3, 1), QString());
        QVERIFY(f.OpenEditor() != nullptr);
        QCOMPARE(f.OpenEditor()->objectName(), QStringLiteral("Text3"));
        QVERIFY(f.answerer.Unexpected().isEmpty());
    }

    void specialCallsAreComposedAndMadeLive_data() {
        QTest::addColumn<QString>("button");
        QTest::addColumn<int>("kind");
        QTest::addColumn<int>("idField");
        QTest::addColumn<QString>("id");
        QTest::addColumn<QString>("message");
        QTest::addColumn<int>("target");  // code row, or -1/-2 for PTT ID begin/end
        QTest::addColumn<QString>("code");
        QTest::newRow("message call in a row") << "Command1" << 0 << 0 << "11223"
                                               << "ab" << 7 << "E1E12E3E4142";
        QTest::newRow("ANI in a row") << "Command1" << 3 << 1 << "12345"
                                      << "" << 7 << "E312345E54321";
        QTest::newRow("ANI at PTT ID begin") << "Command2" << 3 << 1 << "1aa23"
                                             << "" << -1 << "E31AE23E54321";
        QTest::newRow("stun at PTT ID end") << "Command3" << 4 << 1 << "11111"
                                            << "" << -2 << "E41E1E1";
    }
    void specialCallsAreComposedAndMadeLive() {
        QFETCH(QString, button);
        QFETCH(int, kind);
        QFETCH(int, idField);
        QFETCH(QString, id);
        QFETCH(QString, message);
        QFETCH(int, target);
        QFETCH(QString, code);
        Fixture f;
        TypeOver(Find<QLineEdit>(f.view.get(), "Text2"), QStringLiteral("54321"));
        f.Click(8, 3);  // code 7 becomes the current row
        f.answerer.Then([&](QWidget* window) {
            QCOMPARE(window->objectName(), QStringLiteral("FrmSpecial"));
            if (target >= 0) {
                QCOMPARE(Find<QComboBox>(window, "Combo1", 0)->currentText(), QStringLiteral("7"));
            }
            Choose(Find<QComboBox>(window, "Combo1", 1),
                   Find<QComboBox>(window, "Combo1", 1)->itemText(kind));
            TypeOver(Find<QLineEdit>(window, "Text1", idField), id);
            if (!message.isEmpty()) TypeOver(Find<QLineEdit>(window, "Text2"), message);
            Click(window, "CommandOK");
        });
        Click(f.view.get(), qPrintable(button));
        QVERIFY(f.answerer.AllAnswered());
        QVERIFY(f.answerer.Unexpected().isEmpty());
        if (kind == kCallMessage) QCOMPARE(f.Shown(8, 2), QStringLiteral("11223 Msg:AB"));

        Click(f.view.get(), "CommandOK");
        const FiveToneCode& stored = target >= 0
                                         ? f.Live().codes[static_cast<std::size_t>(target)]
                                         : (target == -1 ? f.Live().pttIdBegin : f.Live().pttIdEnd);
        QCOMPARE(QString::fromStdString(stored.code), code);
        QCOMPARE(stored.length, code.size());
    }

    void emergencyCallBindsTheChannelAtOnce() {
        Fixture f("english.ini", [](Document& doc) { ToggleRowStatus(doc, 13); });  // channel 12
        f.Click(6, 3);                                                              // code 5
        f.answerer.Then([](QWidget* window) {
            Choose(Find<QComboBox>(window, "Combo1", 1), QStringLiteral("Emergency Call"));
            QVERIFY(Find<QComboBox>(window, "Combo2")->isVisible());
            QVERIFY(!Find<QLineEdit>(window, "Text1", 0)->isVisible());
            Choose(Find<QComboBox>(window, "Combo2"), QStringLiteral("12"));
            Click(window, "CommandOK");
        });
        Click(f.view.get(), "Command1");
        QCOMPARE(CellText(f.doc, 13, kColOptSignal), "5Tone");
        QVERIFY(f.doc.codeplug().Row(13).signal == (ChannelSignal{SignalKind::FiveTone, 5, {}}));
        QCOMPARE(f.Shown(6, 1), QStringLiteral("Emergency Call"));
        Click(f.view.get(), "CommandOK");
        QCOMPARE(f.Live().codes[5].code, "E212345");
    }

    void shortIdsAreRefused() {
        Fixture f;
        const QString tooShort = QStringLiteral("The ID code must have 5 characters!");
        f.answerer.Then([&](QWidget* window) {
            Choose(Find<QComboBox>(window, "Combo1", 1), QStringLiteral("Stun"));
            auto* id = Find<QLineEdit>(window, "Text1", 1);
            TypeOver(id, QStringLiteral("12x"));
            QCOMPARE(id->text(), QStringLiteral("12"));
            Find<QComboBox>(window, "Combo1", 1)->setFocus(Qt::TabFocusReason);  // leaving says so
            Click(window, "CommandOK");                                          // and so does OK
            QVERIFY(window->isVisible());
            Click(window, "CommandCANCEL");
        });
        f.answerer.Press(QMessageBox::Ok);
        f.answerer.Press(QMessageBox::Ok);
        Click(f.view.get(), "Command1");
        QCOMPARE(f.answerer.Texts(), (QStringList{tooShort, tooShort}));
        QVERIFY(f.answerer.Unexpected().isEmpty());
        Click(f.view.get(), "CommandOK");  // the refused calls left nothing to store
        QVERIFY(f.doc.codeplug() == f.before);
        QVERIFY(!f.doc.CanUndo());
    }

    void cancelAfterEditsLeavesTheDocument_data() {
        QTest::addColumn<bool>("escape");
        QTest::newRow("Cancel") << false;
        QTest::newRow("Escape while typing the self ID") << true;
    }
    void cancelAfterEditsLeavesTheDocument() {
        QFETCH(bool, escape);
        Fixture f;
        const QString code1 = f.Shown(2, 2);
        auto* selfId = Find<QLineEdit>(f.view.get(), "Text2");
        TypeOver(selfId, QStringLiteral("9"));
        Choose(Find<QComboBox>(f.view.get(), "Combo1", 1), QStringLiteral("NATEL"));
        TypeOver(Find<QLineEdit>(f.view.get(), "Text4", 0), QStringLiteral("77"));
        f.Click(2, 2);
        QTest::keyClicks(f.OpenEditor(), QStringLiteral("42"));
        f.answerer.Then([](QWidget* window) {
            TypeOver(Find<QLineEdit>(window, "Text1", 0), QStringLiteral("54321"));
            Click(window, "CommandOK");
        });
        Click(f.view.get(), "Command1");
        QVERIFY(f.answerer.AllAnswered());
        QVERIFY(f.Shown(2, 2) != code1);
        QVERIFY(f.doc.codeplug() == f.before);  // the dialog edits its own copy
        if (escape) {
            TypeOver(selfId, QStringLiteral("3"));
            QTest::keyClick(selfId, Qt::Key_Escape);
        } else {
            Click(f.view.get(), "CommandCANCEL");
        }
        QCOMPARE(f.view->result(), int(QDialog::Rejected));
        QVERIFY(!f.view->isVisible());
        QVERIFY(f.doc.codeplug() == f.before);
        QVERIFY(!f.doc.CanUndo());
    }

    void shots_data() {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("suffix");
        QTest::newRow("English") << "english.ini"
                                 << "-en";
        QTest::newRow("Chinese") << "chinese.ini"
                                 << "-zh";
    }
    void shots() {
        QFETCH(QString, file);
        QFETCH(QString, suffix);
        Fixture f(qPrintable(file));
        test::SaveShot(*f.view, QStringLiteral("Frm5Tone") + suffix);
        test::SaveShot(*Find<QPlainTextEdit>(f.view.get(), "Text1"),
                       QStringLiteral("Frm5Tone-Text1") + suffix);
        FiveToneDialog fiveTone(f.doc, f.texts);
        SpecialCallView special(fiveTone, SpecialCallSlot::TableRow, f.texts, f.ui);
        QCOMPARE(special.windowTitle(), ToQString(f.texts.LanguageText("OPTION", "60062")));
        test::SaveShot(special, QStringLiteral("FrmSpecial") + suffix);
    }
};

QTEST_MAIN(FiveToneDialogViewTest)
#include "five_tone_dialog_view_test.moc"
