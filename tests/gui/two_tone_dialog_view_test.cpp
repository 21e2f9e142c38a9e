// The 2-tone dialog driven through its real widgets offscreen: the own pair
// on the first tab, the code grid with its cell editor on the second.
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTabWidget>
#include <QTableView>
#include <QtTest>

#include "codeplug/defaults.h"
#include "screenshot.h"
#include "two_tone_dialog_view.h"

namespace {

using namespace qx;

LanguageTexts Texts(const char* file) { return LanguageTexts(QX_LANGUAGE_DIR, file); }

// A new codeplug whose 2-tone code `code` holds 2000 Hz / 3106 Hz.
Codeplug WithCode(std::size_t code) {
    Codeplug codeplug = NewCodeplug(kStartModel);
    codeplug.signalling.twoTone.codes[code] = {7, 51, 4, 162, 2, 8};
    return codeplug;
}

class Fixture {
  public:
    // Code 1 holds 2000 Hz / 3106 Hz.
    Fixture() : doc(WithCode(1)), opened(doc.codeplug()) {
        dialog = std::make_unique<TwoToneDialogView>(doc, Texts("english.ini"));
        dialog->resize(520, 420);
        dialog->show();
        QVERIFY(QTest::qWaitForWindowActive(dialog.get()));
        grid = dialog->findChild<QTableView*>(QStringLiteral("MSHFlexGrid1"));
        editor = grid->viewport()->findChild<QLineEdit*>(QStringLiteral("Text1"));
    }

    template <typename T>
    T* Control(const char* name, int index) const {
        for (T* control : dialog->findChildren<T*>(QLatin1String(name))) {
            if (control->property("index").toInt() == index) return control;
        }
        return nullptr;
    }
    QLineEdit* Tone(int i) const { return Control<QLineEdit>("Text2", i); }
    void Choose(QComboBox* combo, int position) {
        combo->setCurrentIndex(position);
        emit combo->activated(position);
    }
    void TypeTone(int i, const QString& keys) {
        QLineEdit* tone = Tone(i);
        tone->setFocus();
        tone->selectAll();
        QTest::keyClick(tone, Qt::Key_Delete);
        QTest::keyClicks(tone, keys);
    }

    // Code `code`, column 1 or 2.
    QModelIndex Cell(int code, int column) const { return grid->model()->index(code, column); }
    QString Shown(int code, int column) const { return Cell(code, column).data().toString(); }
    void ShowCodes() {
        dialog->findChild<QTabWidget*>(QStringLiteral("SSTab1"))->setCurrentIndex(1);
    }
    void Click(int code, int column) {
        grid->scrollTo(Cell(code, column));
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {},
                          grid->visualRect(Cell(code, column)).center());
    }
    void Press(const char* button) {
        QTest::mouseClick(dialog->findChild<QPushButton*>(QLatin1String(button)), Qt::LeftButton);
    }

    Document doc;
    Codeplug opened;  // the codeplug before the dialog opened
    std::unique_ptr<TwoToneDialogView> dialog;
    QTableView* grid = nullptr;
    QLineEdit* editor = nullptr;
};

QList<bool> EnabledTones(const Fixture& f) {
    QList<bool> enabled;
    for (int i = 0; i < 4; ++i) enabled << f.Tone(i)->isEnabled();
    return enabled;
}

}  // namespace

class TwoToneDialogViewTest : public QObject {
    Q_OBJECT
  private slots:
    void opensFromTheLiveRecord() {
        Fixture f;
        QCOMPARE(f.dialog->objectName(), QStringLiteral("Frm2Tone"));
        QCOMPARE(f.dialog->windowTitle(), QStringLiteral("Edit 2Tone"));
        auto* tabs = f.dialog->findChild<QTabWidget*>(QStringLiteral("SSTab1"));
        QCOMPARE(tabs->tabText(1), QStringLiteral("2Tone Code Table"));
        QCOMPARE(f.Control<QLabel>("Label3", 3)->text(), QStringLiteral("Tone-D"));
        QCOMPARE(f.Control<QComboBox>("Combo2", 0)->currentText(), QStringLiteral("A-B"));
        QCOMPARE(f.Control<QComboBox>("Combo2", 1)->itemText(2),
                 QStringLiteral("Alert & Transpond"));
        QCOMPARE(f.Control<QComboBox>("Combo1", 0)->currentText(), QStringLiteral("0.5"));
        QCOMPARE(f.Control<QComboBox>("Combo1", 3)->currentText(), QStringLiteral("1000"));
        QCOMPARE(f.Tone(0)->text(), QStringLiteral("2000"));
        QCOMPARE(EnabledTones(f), (QList<bool>{true, true, false, false}));
        QCOMPARE(f.grid->model()->headerData(1, Qt::Horizontal).toString(),
                 QStringLiteral("Tone 1 (Hz)"));
        QCOMPARE(f.Shown(1, 0), QStringLiteral("1"));
        QCOMPARE(f.Shown(1, 1), QStringLiteral("2000"));
        QCOMPARE(f.Shown(1, 2), QStringLiteral("3106"));
        QCOMPARE(f.Shown(0, 1), QString());
        QVERIFY(!f.editor->isVisible());
    }

    void longBDisablesTheOtherFieldsAndStoresNoSecondTone() {
        Fixture f;
        f.Choose(f.Control<QComboBox>("Combo2", 0), 13);
        QCOMPARE(EnabledTones(f), (QList<bool>{false, true, false, false}));
        f.TypeTone(1, QStringLiteral("1x0.00"));
        QCOMPARE(f.Tone(1)->text(), QStringLiteral("1000"));
        f.Press("CommandOK");
        QCOMPARE(f.dialog->result(), int(QDialog::Accepted));
        const TwoToneSettings& s = f.doc.codeplug().signalling.twoTone;
        QCOMPARE(int{s.pairIndex}, 13);
        // 1843200 / 1000 Hz = 1843.2
        QCOMPARE((QList<int>{s.tone1High, s.tone1Low, s.tone1Tenths}), (QList<int>{7, 51, 2}));
        QCOMPARE((QList<int>{s.tone2High, s.tone2Low, s.tone2Tenths}), (QList<int>{0, 0, 0}));
        QVERIFY(f.doc.UndoStep() == StepLabel{StepKind::TwoTone});
    }

    void toneFieldsAreLimitedOnLeaving_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("left");
        QTest::newRow("too high") << "9999"
                                  << "3106";
        QTest::newRow("too low") << "12"
                                 << "280";
        QTest::newRow("empty") << ""
                               << "2000";
    }
    void toneFieldsAreLimitedOnLeaving() {
        QFETCH(QString, typed);
        QFETCH(QString, left);
        Fixture f;
        f.TypeTone(0, typed);
        QTest::keyClick(f.Tone(0), Qt::Key_Return);
        QTRY_VERIFY(!f.Tone(0)->hasFocus());
        QCOMPARE(f.Tone(0)->text(), left);
    }

    void gridCellsAreEditedInPlace() {
        Fixture f;
        f.ShowCodes();
        f.Click(0, 1);
        QTRY_VERIFY(f.editor->hasFocus());
        QCOMPARE(f.editor->geometry(), f.grid->visualRect(f.Cell(0, 1)));
        QTest::keyClicks(f.editor, QStringLiteral("5000"));
        QTest::keyClick(f.editor, Qt::Key_Return);
        QCOMPARE(f.Shown(0, 1), QStringLiteral("3106"));
        QCOMPARE(f.editor->text(), QStringLiteral("3106"));

        f.Click(0, 2);
        QTRY_VERIFY(f.editor->hasFocus());
        QTest::keyClicks(f.editor, QStringLiteral("1a00"));
        QTest::keyClick(f.editor, Qt::Key_Escape);
        QVERIFY(!f.editor->isVisible());
        QCOMPARE(f.Shown(0, 2), QString());
        QVERIFY2(f.dialog->isVisible(), "Escape drops the cell edit, not the dialog");

        f.Click(5, 2);  // no tone 1 yet: the editor takes tone 1
        QTRY_VERIFY(f.editor->hasFocus());
        QCOMPARE(f.editor->geometry(), f.grid->visualRect(f.Cell(5, 1)));
        QTest::keyClicks(f.editor, QStringLiteral("100"));
        f.Click(1, 2);  // leaving commits
        QCOMPARE(f.Shown(5, 1), QStringLiteral("280"));
        QTRY_VERIFY(f.editor->hasFocus());
        QCOMPARE(f.editor->text(), QStringLiteral("3106"));
        f.editor->selectAll();
        QTest::keyClicks(f.editor, QStringLiteral("1000"));
        f.grid->verticalScrollBar()->setValue(f.grid->verticalScrollBar()->maximum());
        QVERIFY(!f.editor->isVisible());
        QCOMPARE(f.Shown(1, 2), QStringLiteral("1000"));

        f.Press("CommandOK");
        const auto& codes = f.doc.codeplug().signalling.twoTone.codes;
        // 3686400 / 3106 = 1186.8, / 280 = 13165.7, / 1000 = 3686.4
        QCOMPARE(codes[0], (TwoToneCode{4, 162, 0, 0, 8, 0}));
        QCOMPARE(codes[1], (TwoToneCode{7, 51, 14, 102, 2, 4}));
        QCOMPARE(codes[5], (TwoToneCode{51, 109, 0, 0, 7, 0}));
    }

    void cancelAfterEditsLeavesTheDocument_data() {
        QTest::addColumn<QString>("how");
        QTest::newRow("Cancel") << "CommandCANCEL";
        QTest::newRow("Escape") << "Escape";
        QTest::newRow("close box, cell still open") << "close";
    }
    void cancelAfterEditsLeavesTheDocument() {
        QFETCH(QString, how);
        Fixture f;
        f.Choose(f.Control<QComboBox>("Combo2", 0), 12);
        f.Choose(f.Control<QComboBox>("Combo1", 2), 7);
        f.TypeTone(0, QStringLiteral("1500"));
        f.ShowCodes();
        f.Click(3, 1);
        QTRY_VERIFY(f.editor->hasFocus());
        QTest::keyClicks(f.editor, QStringLiteral("1200"));
        if (how == QLatin1String("close")) {
            f.dialog->close();
        } else {
            QTest::keyClick(f.editor, Qt::Key_Return);
            QCOMPARE(f.Shown(3, 1), QStringLiteral("1200"));
            if (how == QLatin1String("Escape")) {
                QTest::keyClick(f.grid, Qt::Key_Escape);
            } else {
                f.Press("CommandCANCEL");
            }
        }
        QCOMPARE(f.dialog->result(), int(QDialog::Rejected));
        QVERIFY(!f.dialog->isVisible());
        QVERIFY(f.doc.codeplug() == f.opened);
        QVERIFY(!f.doc.CanUndo());
    }

    void pictures() {
        for (const char* language : {"en", "zh"}) {
            Document doc(WithCode(0));
            TwoToneDialogView dialog(
                doc, Texts(language == QLatin1String("en") ? "english.ini" : "chinese.ini"));
            auto* tabs = dialog.findChild<QTabWidget*>(QStringLiteral("SSTab1"));
            for (int tab = 0; tab < tabs->count(); ++tab) {
                tabs->setCurrentIndex(tab);
                test::SaveShot(
                    dialog,
                    QStringLiteral("Frm2Tone-%1-tab%2").arg(QLatin1String(language)).arg(tab));
            }
        }
    }
};

QTEST_MAIN(TwoToneDialogViewTest)
#include "two_tone_dialog_view_test.moc"
