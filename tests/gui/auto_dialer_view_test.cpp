// The auto-dialer dialog driven through its entries: typed and pasted text
// goes through the dialer's filter, its messages come up as message boxes,
// and OK or Cancel decide what reaches the document.
#include <QClipboard>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

#include "auto_dialer_view.h"
#include "codeplug/defaults.h"
#include "modal_answerer.h"
#include "qt_ui.h"
#include "screenshot.h"

namespace {

using qx::AutoDialerView;
using qx::test::ModalAnswerer;

const QString kInvalid =
    QStringLiteral("Invalid character! Only 0~9, A, B, C, D, *, #, - are allowed.");
const QString kTooLong =
    QStringLiteral("Too long! An auto dialer memory holds at most 16 characters.");

qx::LanguageTexts Texts(const char* file) { return qx::LanguageTexts(QX_LANGUAGE_DIR, file); }

// A document whose auto dialer holds `record`, as opened from a file.
qx::Document DialerDocument(const char* record) {
    qx::Codeplug codeplug = qx::NewCodeplug(qx::kStartModel);
    codeplug.autoDialer = *qx::ParseAutoDialerRecord(record);
    return qx::Document(std::move(codeplug));
}

QString Record(const qx::Document& doc) {
    return QString::fromStdString(qx::AutoDialerRecord(doc.codeplug().autoDialer));
}

QLineEdit* Entry(QWidget& view, int number) {
    auto* entry = view.findChild<QLineEdit*>(QStringLiteral("Text%1").arg(number));
    if (entry == nullptr) qFatal("no entry %d", number);
    return entry;
}

void Press(QWidget& view, const char* name) {
    QTest::mouseClick(view.findChild<QPushButton*>(QLatin1String(name)), Qt::LeftButton);
}

}  // namespace

class AutoDialerViewTest : public QObject {
    Q_OBJECT
  private slots:
    void opensOnTheStoredEntriesWithItsTexts() {
        qx::Document doc = DialerDocument("Ad|123|||D|||||*#-|");
        qx::QtUi ui(nullptr);
        AutoDialerView view(doc, Texts("english.ini"), ui);
        QCOMPARE(view.objectName(), QStringLiteral("Frm_AutoDialer"));
        QCOMPARE(view.windowTitle(), QStringLiteral("Auto Dialer"));
        QCOMPARE(view.findChild<QGroupBox*>("Frame1")->title(), QStringLiteral("Auto Dialer"));
        QCOMPARE(view.findChild<QLabel*>("Label12")->text(), QStringLiteral("Please input"));
        QCOMPARE(view.findChild<QLabel*>("Label11")->text(), QStringLiteral("0~9,A,B,C,D,*,#,- "));
        QCOMPARE(view.findChild<QPushButton*>("CommandOK")->text(), QStringLiteral("O K"));
        QCOMPARE(view.findChild<QPushButton*>("CommandCANCEL")->text(), QStringLiteral("Cancel"));
        QStringList shown;
        for (int number = 1; number <= 9; ++number) shown << Entry(view, number)->text();
        QCOMPARE(shown, QStringList({"123", "", "", "D", "", "", "", "", "*#-"}));
    }

    void typedTextGoesThroughTheFilter_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QStringList>("messages");
        QTest::newRow("lower case") << "12a"
                                    << "12A" << QStringList();
        QTest::newRow("signs") << "*#-"
                               << "*#-" << QStringList();
        QTest::newRow("invalid") << "12E"
                                 << "12" << QStringList({kInvalid});
        QTest::newRow("invalid twice") << "1x2 3"
                                       << "123" << QStringList({kInvalid, kInvalid});
        QTest::newRow("17th key") << "1234567890ABCD*#0"
                                  << "1234567890ABCD*#" << QStringList({kTooLong});
    }
    void typedTextGoesThroughTheFilter() {
        QFETCH(QString, typed);
        QFETCH(QString, shown);
        QFETCH(QStringList, messages);
        qx::Document doc;
        qx::QtUi ui(nullptr);
        AutoDialerView view(doc, Texts("english.ini"), ui);
        view.show();
        ModalAnswerer answerer;
        for (int i = 0; i < messages.size(); ++i) answerer.Press(QMessageBox::Ok);
        QTest::keyClicks(Entry(view, 5), typed);
        QCOMPARE(Entry(view, 5)->text(), shown);
        QCOMPARE(Entry(view, 5)->cursorPosition(), int(shown.size()));
        QCOMPARE(answerer.Texts(), messages);
        QVERIFY(answerer.Unexpected().isEmpty());
    }

    void pastedTextGoesThroughTheFilter_data() {
        QTest::addColumn<QString>("pasted");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QStringList>("messages");
        QTest::newRow("twenty") << "12345678901234567890"
                                << "9123456789012345" << QStringList({kTooLong});
        QTest::newRow("mixed") << "a1 b2-Z#é"
                               << "9A1B2-#" << QStringList({kInvalid});
    }
    void pastedTextGoesThroughTheFilter() {
        QFETCH(QString, pasted);
        QFETCH(QString, shown);
        QFETCH(QStringList, messages);
        qx::Document doc = DialerDocument("Ad|||||||||9|");
        qx::QtUi ui(nullptr);
        AutoDialerView view(doc, Texts("english.ini"), ui);
        view.show();
        QGuiApplication::clipboard()->setText(pasted);
        ModalAnswerer answerer;
        for (int i = 0; i < messages.size(); ++i) answerer.Press(QMessageBox::Ok);
        QLineEdit* entry = Entry(view, 9);
        entry->setFocus();
        entry->end(false);
        QTest::keyClick(entry, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(entry->text(), shown);
        QCOMPARE(answerer.Texts(), messages);
        QVERIFY(answerer.Unexpected().isEmpty());

        Press(view, "CommandOK");
        QCOMPARE(Record(doc), QStringLiteral("Ad|||||||||%1|").arg(shown));
    }

    void okStoresTheEntriesAndCancelLeavesTheDocument() {
        for (const char* button : {"CommandOK", "CommandCANCEL"}) {
            qx::Document doc;
            const qx::Codeplug before = doc.codeplug();
            qx::QtUi ui(nullptr);
            AutoDialerView view(doc, Texts("english.ini"), ui);
            view.show();
            QTest::keyClicks(Entry(view, 1), QStringLiteral("123"));
            QTest::keyClicks(Entry(view, 4), QStringLiteral("d"));
            QTest::keyClicks(Entry(view, 9), QStringLiteral("*#-"));
            Press(view, button);
            if (QByteArray(button) == "CommandOK") {
                QCOMPARE(view.result(), int(QDialog::Accepted));
                QCOMPARE(Record(doc), QStringLiteral("Ad|123|||D|||||*#-|"));
                QVERIFY(doc.Modified());
                QVERIFY(doc.UndoStep() == qx::StepLabel{qx::StepKind::AutoDialer});
            } else {
                QCOMPARE(view.result(), int(QDialog::Rejected));
                QVERIFY(doc.codeplug() == before);
                QVERIFY(!doc.CanUndo());
            }
        }
    }

    void showsInEachLanguage_data() {
        QTest::addColumn<QString>("file");
        QTest::newRow("en") << "english.ini";
        QTest::newRow("zh") << "chinese.ini";
    }
    void showsInEachLanguage() {
        QFETCH(QString, file);
        const qx::LanguageTexts texts = Texts(file.toLatin1().constData());
        qx::Document doc = DialerDocument("Ad|1234567890ABCD*#|||||||||");
        qx::QtUi ui(nullptr);
        AutoDialerView view(doc, texts, ui);
        QCOMPARE(view.findChild<QLabel*>("Label12")->text(),
                 QString::fromStdString(texts.LanguageText("OTHERS", "70004")));
        QCOMPARE(view.findChild<QPushButton*>("CommandOK")->text(),
                 QString::fromStdString(texts.LanguageText("OPTION", "60024")));
        qx::test::SaveShot(view, QStringLiteral("Frm_AutoDialer-") + QTest::currentDataTag());
    }
};

QTEST_MAIN(AutoDialerViewTest)
#include "auto_dialer_view_test.moc"
