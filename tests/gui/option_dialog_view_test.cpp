// The radio option dialog driven through its combo boxes, check boxes and
// buttons: the dependencies it shows and the record OK stores.
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QtTest>

#include "codeplug/defaults.h"
#include "option_dialog_view.h"
#include "screenshot.h"

namespace {

using qx::OptionDialog;
using qx::OptionDialogView;

qx::LanguageTexts Texts(const char* file) { return qx::LanguageTexts(QX_LANGUAGE_DIR, file); }

QComboBox* Combo(QWidget& view, int field) {
    auto* combo = view.findChild<QComboBox*>(QLatin1String(OptionDialog::ControlName(field)));
    if (combo == nullptr) qFatal("no combo box for field %d", field);
    return combo;
}

QCheckBox* Check(QWidget& view, int field) {
    auto* check = view.findChild<QCheckBox*>(QLatin1String(OptionDialog::ControlName(field)));
    if (check == nullptr) qFatal("no check box for field %d", field);
    return check;
}

// What the user sees in the box: the current entry, or the text put there without one.
QString Shown(QComboBox* combo) {
    return combo->currentIndex() >= 0 ? combo->currentText() : combo->placeholderText();
}

// Picks an entry as the user does from the open list.
void Choose(QComboBox* combo, int index) {
    QVERIFY(combo->isEnabled());
    combo->setCurrentIndex(index);
    emit combo->activated(index);
}

void Press(QWidget& view, const char* name) {
    QTest::mouseClick(view.findChild<QPushButton*>(QLatin1String(name)), Qt::LeftButton);
}

// The option record the document holds.
std::string Setup(const qx::Document& doc) { return qx::OptionsRecord(doc.codeplug().options); }

void ExpectPermissions(QWidget& view, bool enabled, const QString& shown) {
    for (int field = qx::kFirstPermissionField; field <= qx::kLastPermissionField; ++field) {
        QCOMPARE(Combo(view, field)->isEnabled(), enabled);
        QCOMPARE(Shown(Combo(view, field)), shown);
    }
}

}  // namespace

class OptionDialogViewTest : public QObject {
    Q_OBJECT
  private slots:
    void showsTheLanguageTextsOnItsControls() {
        qx::Document doc;
        OptionDialogView view(doc, Texts("english.ini"));
        QCOMPARE(view.objectName(), QStringLiteral("Frm_Option"));
        QCOMPARE(view.findChild<QGroupBox*>()->title(), QStringLiteral("Edit Option data"));
        QCOMPARE(view.findChild<QPushButton*>("CommandOK")->text(), QStringLiteral("O K"));
        QCOMPARE(view.findChild<QPushButton*>("CommandCANCEL")->text(), QStringLiteral("Cancel"));

        QMap<QString, QString> labels;
        for (QLabel* label : view.findChildren<QLabel*>()) {
            if (label->buddy() != nullptr) labels[label->buddy()->objectName()] = label->text();
        }
        QCOMPARE(labels.size(), 24);
        const struct {
            int field;
            const char* label;
            QStringList entries;
        } kLists[] = {
            {qx::kOptIndication, "Indication Mode:", {"Frequency", "Channel"}},
            {qx::kOptTxPower, "TX POWER:", {"Hi", "Mid", "Low"}},
            {qx::kOptPowerSelect, "Power Select:", {"25W", "60W"}},
            {qx::kOptDtmfBurstDelay, "DTMF burst delay:", {"1s", "100ms", "400ms", "700ms"}},
        };
        for (const auto& list : kLists) {
            QComboBox* combo = Combo(view, list.field);
            QCOMPARE(labels.value(combo->objectName()), QString::fromLatin1(list.label));
            QStringList entries;
            for (int i = 0; i < combo->count(); ++i) entries << combo->itemText(i);
            QCOMPARE(entries, list.entries);
        }
        QCOMPARE(Combo(view, qx::kOptTimeoutTimer)->count(), 16);
        QCOMPARE(Combo(view, qx::kOptTimeoutTimer)->itemText(5), QStringLiteral("2m30sec"));
        QCOMPARE(Check(view, qx::kOptModelLock)->text(), QStringLiteral("Model Lock"));
        QCOMPARE(Check(view, qx::kOptAftersound)->text(), QStringLiteral("Aftersound Elimination"));
    }

    void indicationModeSwitchesStartModeAndPermissions() {
        qx::Codeplug codeplug = qx::NewCodeplug(qx::kStartModel);
        codeplug.options.startMode = qx::StartMode::Mr;
        codeplug.options.mrNumber = 7;
        qx::Document doc(codeplug);
        OptionDialogView view(doc, Texts("english.ini"));
        QCOMPARE(Shown(Combo(view, qx::kOptMrNumber)), QStringLiteral("7"));
        QVERIFY(Combo(view, qx::kOptStartMode)->isEnabled());
        QCOMPARE(Shown(Combo(view, qx::kOptStartMode)), QStringLiteral("MR"));
        ExpectPermissions(view, false, "Enable");

        QTest::keyClick(Combo(view, qx::kOptIndication), Qt::Key_Down);  // to Channel
        QVERIFY(!Combo(view, qx::kOptStartMode)->isEnabled());
        QCOMPARE(Shown(Combo(view, qx::kOptStartMode)),
                 QString::fromLatin1(qx::kOptionPlaceholder));
        ExpectPermissions(view, true, "Disable");
        Choose(Combo(view, qx::kOptMoniKey), 1);
        QCOMPARE(Shown(Combo(view, qx::kOptMoniKey)), QStringLiteral("Enable"));

        Press(view, "CommandOK");
        QCOMPARE(view.result(), int(QDialog::Accepted));
        // The start mode keeps "MR" while it does not apply.
        QCOMPARE(Setup(doc),
                 "setup|Channel|MR|7|3|Hi|Disable|Disable|Disable|Enable|Disable|Disable|100ms|"
                 "60ms|60ms|1750Hz|off|off|off|off|Enable|Timer|High|off|Lock|60W|1|0");
        QVERIFY(doc.Modified());
        QVERIFY(doc.UndoStep() == qx::StepLabel{qx::StepKind::Options});
    }

    void timeoutTimerSwitchesThePenalty() {
        qx::Document doc;
        OptionDialogView view(doc, Texts("english.ini"));
        QComboBox* penalty = Combo(view, qx::kOptTimeoutPenalty);
        QVERIFY(!penalty->isEnabled());
        QCOMPARE(Shown(penalty), QStringLiteral("off"));

        Choose(Combo(view, qx::kOptTimeoutTimer), 5);
        QVERIFY(penalty->isEnabled());
        QCOMPARE(Shown(penalty), QStringLiteral("off"));
        Choose(penalty, 5);
        QTest::mouseClick(Check(view, qx::kOptScrambler), Qt::LeftButton);
        QTest::mouseClick(Check(view, qx::kOptAftersound), Qt::LeftButton);
        Press(view, "CommandOK");
        QCOMPARE(Setup(doc),
                 "setup|Frequency|VFO|0|3|Hi|Enable|Enable|Enable|Enable|Enable|Enable|100ms|60ms|"
                 "60ms|1750Hz|2m30sec|5sec|off|off|Enable|Timer|High|off|Lock|60W|0|1");

        OptionDialogView again(doc, Texts("english.ini"));
        QComboBox* penaltyAgain = Combo(again, qx::kOptTimeoutPenalty);
        QVERIFY(penaltyAgain->isEnabled());
        QCOMPARE(Shown(penaltyAgain), QStringLiteral("5sec"));
        QVERIFY(!Check(again, qx::kOptScrambler)->isChecked());
        Choose(Combo(again, qx::kOptTimeoutTimer), 0);
        QVERIFY(!penaltyAgain->isEnabled());
        QCOMPARE(Shown(penaltyAgain), QString::fromLatin1(qx::kOptionPlaceholder));
        Press(again, "CommandOK");
        QCOMPARE(Setup(doc),
                 "setup|Frequency|VFO|0|3|Hi|Enable|Enable|Enable|Enable|Enable|Enable|100ms|60ms|"
                 "60ms|1750Hz|off|off|off|off|Enable|Timer|High|off|Lock|60W|0|1");
    }

    void cancelLeavesTheDocumentAsItWas() {
        qx::Document doc;
        const qx::Codeplug before = doc.codeplug();
        OptionDialogView view(doc, Texts("english.ini"));
        Choose(Combo(view, qx::kOptIndication), 1);
        Choose(Combo(view, qx::kOptSquelch), 9);
        Choose(Combo(view, qx::kOptTimeoutTimer), 3);
        QTest::mouseClick(Check(view, qx::kOptModelLock), Qt::LeftButton);
        Press(view, "CommandCANCEL");
        QCOMPARE(view.result(), int(QDialog::Rejected));
        QVERIFY(doc.codeplug() == before);
        QVERIFY(!doc.CanUndo());
    }

    // Chinese entries on screen, English words in the record.
    void eachLanguageShowsItsTextsAndStoresCanonicalValues_data() {
        QTest::addColumn<QString>("file");
        QTest::newRow("en") << "english.ini";
        QTest::newRow("zh") << "chinese.ini";
    }
    void eachLanguageShowsItsTextsAndStoresCanonicalValues() {
        QFETCH(QString, file);
        const qx::LanguageTexts texts = Texts(file.toLatin1().constData());
        qx::Document doc;
        OptionDialogView view(doc, texts);
        QCOMPARE(view.windowTitle(), QString::fromStdString(texts.LanguageText("OPTION", "6000P")));
        QCOMPARE(Shown(Combo(view, qx::kOptBeep)),
                 QString::fromStdString(texts.LanguageText("OPTION", "60035")));
        Choose(Combo(view, qx::kOptIndication), 1);  // the marker must fit its box too
        qx::test::SaveShot(view, QStringLiteral("Frm_Option-") + QTest::currentDataTag());

        Choose(Combo(view, qx::kOptLampMode), 1);
        Choose(Combo(view, qx::kOptSecurityMode), 2);
        Press(view, "CommandOK");
        QVERIFY(Setup(doc).starts_with("setup|Channel|VFO|0|3|Hi|Disable|"));
        QVERIFY(Setup(doc).ends_with("|Enable|Timer|Low|Dly|Lock|60W|1|0"));
    }
};

QTEST_MAIN(OptionDialogViewTest)
#include "option_dialog_view_test.moc"
