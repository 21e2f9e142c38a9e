// The DTMF memories dialog driven through its real widgets offscreen.
#include <QClipboard>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

#include "codeplug/defaults.h"
#include "dtmf_dialog_view.h"
#include "screenshot.h"

namespace {

using namespace qx;

LanguageTexts Texts(const char* file) { return LanguageTexts(QX_LANGUAGE_DIR, file); }

Codeplug Memories(const std::array<std::int16_t, 8>& memories) {
    Codeplug codeplug = NewCodeplug(kStartModel);
    codeplug.signalling.dtmfMemories = memories;
    return codeplug;
}

class Fixture {
  public:
    Fixture() : doc(Memories({0x123, 0x1A, 0, 0, 0, 0, 0, -1})) {
        dialog = std::make_unique<DtmfDialogView>(doc, Texts("english.ini"));
        dialog->show();
        QVERIFY(QTest::qWaitForWindowActive(dialog.get()));
    }

    QLineEdit* Entry(int index) const {
        for (auto* entry : dialog->findChildren<QLineEdit*>(QStringLiteral("Text1"))) {
            if (entry->property("index").toInt() == index) return entry;
        }
        return nullptr;
    }
    void Press(const char* button) {
        QTest::mouseClick(dialog->findChild<QPushButton*>(QLatin1String(button)), Qt::LeftButton);
    }

    Document doc;
    std::unique_ptr<DtmfDialogView> dialog;
};

}  // namespace

class DtmfDialogViewTest : public QObject {
    Q_OBJECT
  private slots:
    void opensWithTheLiveMemories() {
        Fixture f;
        QCOMPARE(f.dialog->objectName(), QStringLiteral("FrmDTMF"));
        QCOMPARE(f.dialog->windowTitle(), QStringLiteral("DTMF"));
        QCOMPARE(f.dialog->findChild<QGroupBox*>(QStringLiteral("Frame1"))->title(),
                 QStringLiteral("SPR Memory"));
        QCOMPARE(f.dialog->findChild<QPushButton*>(QStringLiteral("CommandCANCEL"))->text(),
                 QStringLiteral("Cancel"));
        const QStringList shown = {"123", "1A", "0", "0", "0", "0", "0", "FFFF"};
        for (int i = 0; i < 8; ++i) QCOMPARE(f.Entry(i)->text(), shown[i]);
    }

    void keysGoThroughTheFilter_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("shown");
        QTest::newRow("a is upper-cased") << "a"
                                          << "A";
        QTest::newRow("b and # are ignored") << "b#"
                                             << "";
        QTest::newRow("mixed") << "1b#a2"
                               << "1A2";
        QTest::newRow("three at most") << "98765"
                                       << "987";
    }
    void keysGoThroughTheFilter() {
        QFETCH(QString, typed);
        QFETCH(QString, shown);
        Fixture f;
        QLineEdit* entry = f.Entry(2);
        entry->setFocus();
        entry->selectAll();
        QTest::keyClick(entry, Qt::Key_Delete);
        QTest::keyClicks(entry, typed);
        QCOMPARE(entry->text(), shown);
    }

    void pasteIsBlockedAndEnterMovesOn() {
        Fixture f;
        QGuiApplication::clipboard()->setText(QStringLiteral("99"));
        QLineEdit* entry = f.Entry(1);
        entry->setFocus();
        entry->end(false);
        QTest::keyClick(entry, Qt::Key_V, Qt::ControlModifier);
        QTest::sendKeyEvent(QTest::Click, entry, Qt::Key_Eacute, QString::fromUtf8("é"), {});
        QTest::mouseClick(entry, Qt::MiddleButton);
        QCOMPARE(entry->text(), QStringLiteral("1A"));
        QTest::keyClick(entry, Qt::Key_Return);
        QTRY_VERIFY(f.Entry(2)->hasFocus());
        QVERIFY(f.dialog->isVisible());
    }

    void okStoresEveryEntry() {
        Fixture f;
        QLineEdit* first = f.Entry(0);
        first->setFocus();
        first->selectAll();
        QTest::keyClicks(first, QStringLiteral("a"));
        QLineEdit* third = f.Entry(2);
        third->setFocus();
        third->selectAll();
        QTest::keyClicks(third, QStringLiteral("90"));
        f.Press("CommandOK");
        QCOMPARE(f.dialog->result(), int(QDialog::Accepted));
        const std::array<std::int16_t, 8> stored = {0xA, 0x1A, 0x90, 0, 0, 0, 0, -1};
        QCOMPARE(f.doc.codeplug().signalling.dtmfMemories, stored);
        QVERIFY(f.doc.UndoStep() == StepLabel{StepKind::Dtmf});
    }

    void cancelAfterEditsLeavesTheDocument() {
        Fixture f;
        const Codeplug before = f.doc.codeplug();
        for (int i : {0, 7}) {
            QLineEdit* entry = f.Entry(i);
            entry->setFocus();
            entry->selectAll();
            QTest::keyClicks(entry, QStringLiteral("7"));
        }
        f.Press("CommandCANCEL");
        QCOMPARE(f.dialog->result(), int(QDialog::Rejected));
        QVERIFY(f.doc.codeplug() == before);
        QVERIFY(!f.doc.CanUndo());
    }

    void pictures() {
        for (const char* language : {"en", "zh"}) {
            Document doc;
            DtmfDialogView dialog(
                doc, Texts(language == QLatin1String("en") ? "english.ini" : "chinese.ini"));
            test::SaveShot(dialog, QStringLiteral("FrmDTMF-") + QLatin1String(language));
        }
    }
};

QTEST_MAIN(DtmfDialogViewTest)
#include "dtmf_dialog_view_test.moc"
