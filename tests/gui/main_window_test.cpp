// The main window starts offscreen with the language texts and a cleared document.
#include <QtTest>

#include "main_window.h"

namespace {

qx::Session TestSession(const std::string& languageFile) {
    qx::Session session;
    session.paths = qx::SettingsPaths{QX_LANGUAGE_DIR, {}};
    session.LanguageFile = languageFile;
    return session;
}

}  // namespace

class MainWindowTest : public QObject {
    Q_OBJECT
  private slots:
    void startsWithTheTitleAndAClearedDocument() {
        qx::Session session = TestSession("english.ini");
        qx::MainWindow window(session);
        QCOMPARE(window.objectName(), QStringLiteral("Frm_Radio"));
        QCOMPARE(window.windowTitle(),
                 QStringLiteral("qxprog - FM Transceiver Programming Software"));
        QCOMPARE(window.document().modelIndex, 3);
        QCOMPARE(QString::fromStdString(window.document().Cell(1, qx::kColRxFreq)),
                 QStringLiteral("145.0000"));
        QVERIFY(!window.document().bModify);
    }

    void chineseTextsAreShownAsUtf8() {
        qx::Session session = TestSession("chinese.ini");
        qx::MainWindow window(session);
        QVERIFY(!window.windowTitle().isEmpty());
        QCOMPARE(QString::fromStdString(window.document().texts.wide), QStringLiteral("宽带"));
    }

    void startsWithoutALanguageFile() {
        qx::Session session = TestSession("");
        qx::MainWindow window(session);
        QVERIFY(window.windowTitle().isEmpty());
        QCOMPARE(window.document().modelIndex, 3);
    }
};

QTEST_MAIN(MainWindowTest)
#include "main_window_test.moc"
