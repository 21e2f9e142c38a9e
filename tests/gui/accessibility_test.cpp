// The main window and every dialog, in both languages: each control a user
// can reach has a name assistive technology reads out, and Tab reaches every
// control of a dialog.
#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAbstractSpinBox>
#include <QAccessible>
#include <QComboBox>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPalette>
#include <QPlainTextEdit>
#include <QSet>
#include <QStyleFactory>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTextEdit>
#include <QtTest>
#include <functional>
#include <memory>

#include "about_box.h"
#include "app/channel_ops.h"
#include "app/grid_columns.h"
#include "app/settings_files.h"
#include "auto_dialer_view.h"
#include "check_list.h"
#include "csv_summary_dialog.h"
#include "dtmf_dialog_view.h"
#include "five_tone_dialog_view.h"
#include "fleet_window.h"
#include "main_window.h"
#include "modal_answerer.h"
#include "option_dialog_view.h"
#include "password_dialog.h"
#include "platform/port_directory.h"
#include "port_dialog.h"
#include "port_links.h"
#include "screenshot.h"
#include "signalling/five_tone_dialog.h"
#include "special_call_view.h"
#include "transfer_window.h"
#include "two_tone_dialog_view.h"

namespace {

class FixedPorts final : public qx::PortDirectory {
  public:
    std::vector<std::string> PortNames() const override { return {"/dev/ttyS0"}; }
};

// What one dialog needs to open: a document with every signalling feature.
struct Rig {
    explicit Rig(const char* language) : texts(QX_LANGUAGE_DIR, language) {
        qx::SilentUi silent;
        qx::LoadMainWindow(doc, texts, qx::FeatureFlags{true, true, true, false}, silent);
        session.portName = "sim";
        qx::SetRowInUse(doc, 2, true);
        fiveTone = std::make_unique<qx::FiveToneDialog>(doc, texts);
    }
    qx::LanguageTexts texts;
    qx::Document doc;
    qx::Session session;
    qx::PortLinks links{std::vector<std::uint8_t>(8192, 0xFF)};
    qx::SilentUi ui;
    std::unique_ptr<qx::FiveToneDialog> fiveTone;
};

bool IsControl(QWidget* widget) {
    return qobject_cast<QAbstractButton*>(widget) || qobject_cast<QComboBox*>(widget) ||
           qobject_cast<QLineEdit*>(widget) || qobject_cast<QAbstractSpinBox*>(widget) ||
           qobject_cast<QAbstractItemView*>(widget) || qobject_cast<QPlainTextEdit*>(widget) ||
           qobject_cast<QTextEdit*>(widget);
}

// The visible controls the keyboard can reach, in `window` itself.
QList<QWidget*> Controls(QWidget& window) {
    QList<QWidget*> controls;
    for (QWidget* widget : window.findChildren<QWidget*>()) {
        if (widget->window() == &window && widget->isVisible() &&
            (widget->focusPolicy() & Qt::TabFocus) && IsControl(widget)) {
            controls << widget;
        }
    }
    return controls;
}

QString Describe(QWidget* widget) {
    return QStringLiteral("%1 %2").arg(QLatin1String(widget->metaObject()->className()),
                                       widget->objectName());
}

// The name a screen reader announces. A combo box reports its current entry
// as its name on Linux and leaves the label to the "labelled by" relation.
QString SpokenName(QWidget* widget) {
    QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(widget);
    if (accessible == nullptr) return {};
    if (qobject_cast<QComboBox*>(widget) == nullptr) {
        return accessible->text(QAccessible::Name).trimmed();
    }
    if (!widget->accessibleName().isEmpty()) return widget->accessibleName();
    for (const auto& [label, relation] : accessible->relations(QAccessible::Label)) {
        const QString name = label->text(QAccessible::Name).trimmed();
        if (!name.isEmpty()) return name;
    }
    return {};
}

// Every page of a tab widget is looked at in turn.
QStringList Unnamed(QWidget& window) {
    QStringList unnamed;
    const auto look = [&] {
        for (QWidget* control : Controls(window)) {
            if (SpokenName(control).isEmpty() && !unnamed.contains(Describe(control))) {
                unnamed << Describe(control);
            }
        }
    };
    look();
    for (QTabWidget* tabs : window.findChildren<QTabWidget*>()) {
        const int shown = tabs->currentIndex();
        for (int page = 0; page < tabs->count(); ++page) {
            tabs->setCurrentIndex(page);
            look();
        }
        tabs->setCurrentIndex(shown);
    }
    return unnamed;
}

// Presses Tab from the control that has the focus once the window is shown
// until the focus comes back round; returns the controls it never reached,
// and the control that kept the focus if it never came back (a trap).
QStringList UnreachedByTab(QWidget& window) {
    const QList<QWidget*> controls = Controls(window);
    QSet<QWidget*> wanted;
    for (QWidget* control : controls) {
        if (control->isEnabled()) wanted << control;
    }
    QWidget* start = QApplication::focusWidget();
    if (start == nullptr || start->window() != &window) {
        if (!controls.isEmpty()) controls.front()->setFocus(Qt::TabFocusReason);
        start = QApplication::focusWidget();
    }
    if (start == nullptr) return {QStringLiteral("nothing takes the focus")};
    bool cycled = false;
    for (int press = 0; press < 2 * controls.size() + 10 && !cycled; ++press) {
        wanted.remove(QApplication::focusWidget());
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        cycled = QApplication::focusWidget() == start;
    }
    QStringList unreached;
    for (QWidget* control : wanted) unreached << Describe(control);
    if (!cycled)
        unreached << QStringLiteral("Tab stays in ") + Describe(QApplication::focusWidget());
    return unreached;
}

struct Dialog {
    const char* name;
    std::function<std::unique_ptr<QWidget>(Rig&)> open;
};

const Dialog kDialogs[] = {
    {"options", [](Rig& r) { return std::make_unique<qx::OptionDialogView>(r.doc, r.texts); }},
    {"DTMF", [](Rig& r) { return std::make_unique<qx::DtmfDialogView>(r.doc, r.texts); }},
    {"2-tone", [](Rig& r) { return std::make_unique<qx::TwoToneDialogView>(r.doc, r.texts); }},
    {"5-tone",
     [](Rig& r) { return std::make_unique<qx::FiveToneDialogView>(r.doc, r.texts, r.ui); }},
    {"special call",
     [](Rig& r) {
         return std::make_unique<qx::SpecialCallView>(*r.fiveTone, qx::SpecialCallSlot::TableRow,
                                                      r.texts, r.ui);
     }},
    {"auto dialer",
     [](Rig& r) { return std::make_unique<qx::AutoDialerView>(r.doc, r.texts, r.ui); }},
    {"check list",
     [](Rig& r) {
         qx::CheckProblem problem;
         problem.row = 2;
         return std::make_unique<qx::CheckList>(qx::CheckProblems{problem, problem}, true, r.texts);
     }},
    {"CSV summary",
     [](Rig& r) {
         return std::make_unique<qx::CsvSummaryDialog>(
             std::vector<std::string>{"Line 2, Mode: skipped", "1 channel"}, std::vector<int>{2},
             r.texts);
     }},
    {"port",
     [](Rig& r) {
         return std::make_unique<qx::PortSettingsDialog>(r.session, std::make_unique<FixedPorts>(),
                                                         r.texts, r.ui);
     }},
    {"read",
     [](Rig& r) {
         return std::make_unique<qx::TransferWindow>(qx::TransferMode::Read, r.doc, r.session,
                                                     r.links, r.texts);
     }},
    {"write",
     [](Rig& r) {
         return std::make_unique<qx::TransferWindow>(qx::TransferMode::Write, r.doc, r.session,
                                                     r.links, r.texts);
     }},
    {"several radios",
     [](Rig& r) {
         return std::make_unique<qx::FleetWindow>(r.doc, r.session, r.links, r.texts, nullptr,
                                                  qx::LinkFactory{},
                                                  std::make_unique<FixedPorts>());
     }},
    {"password",
     [](Rig& r) {
         const auto text = [&r](const char* section, const char* key) {
             return QString::fromStdString(r.texts.LanguageText(section, key));
         };
         return std::make_unique<qx::PasswordDialog>(
             nullptr, qx::PasswordTexts{text("Access", "Password"), text("OPTION", "60024"),
                                        text("OPTION", "60025")});
     }},
    {"about", [](Rig& r) { return std::make_unique<qx::AboutBox>(r.texts); }},
};

const char* const kLanguages[] = {"english.ini", "chinese.ini"};

}  // namespace

class AccessibilityTest : public QObject {
    Q_OBJECT
  private:
    QTemporaryDir config_;

  private slots:
    void everyDialogControlIsNamedAndReachedByTab() {
        for (const char* language : kLanguages) {
            for (const Dialog& dialog : kDialogs) {
                const QString what = QStringLiteral("%1 (%2)").arg(QLatin1String(dialog.name),
                                                                   QLatin1String(language));
                Rig rig(language);
                std::unique_ptr<QWidget> window = dialog.open(rig);
                window->show();
                QVERIFY2(QTest::qWaitForWindowActive(window.get()), qPrintable(what));
                QTest::qWait(0);  // what the window does just after showing
                QVERIFY2(Controls(*window).size() > 1, qPrintable(what));
                const QStringList unnamed = Unnamed(*window);
                QVERIFY2(unnamed.isEmpty(), qPrintable(what + ": " + unnamed.join(", ")));
                const QStringList unreached = UnreachedByTab(*window);
                QVERIFY2(unreached.isEmpty(), qPrintable(what + ": " + unreached.join(", ")));
                window->close();
            }
        }
    }

    // The main window's names follow a language change; an in-place editor
    // of a grid is named after its column.
    void theMainWindowAndTheGridEditorsAreNamed() {
        qx::Session session;
        session.paths = qx::SettingsPaths{QX_LANGUAGE_DIR, config_.path().toStdString(), {}};
        session.languageFile = "english.ini";
        session.portName = "sim";
        qx::MainWindow window(session);
        window.show();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        auto* grid = window.findChild<QAbstractItemView*>("MFG");
        auto* model = window.findChild<QComboBox*>("Combo1");
        for (const char* language : kLanguages) {
            window
                .findChild<QAction*>(qstrcmp(language, "english.ini") == 0 ? "Menu_English"
                                                                           : "Menu_Chinese")
                ->trigger();
            const qx::LanguageTexts texts(QX_LANGUAGE_DIR, language);
            QCOMPARE(SpokenName(model),
                     QString::fromStdString(texts.LanguageText("OTHERS", "70009"))
                         .remove(QLatin1Char('&'))
                         .trimmed());
            QVERIFY2(Unnamed(window).isEmpty(), qPrintable(Unnamed(window).join(", ")));
            QVERIFY2(UnreachedByTab(window).isEmpty(),
                     qPrintable(UnreachedByTab(window).join(", ")));

            // The name cell of row 2, then its narrow/wide cell.
            for (int column : {qx::kColName, qx::kColBandwidth}) {
                grid->setFocus();
                grid->setCurrentIndex(grid->model()->index(1, column - 1));
                QTest::keyClick(grid, Qt::Key_F2);
                QWidget* editor = QApplication::focusWidget();
                QVERIFY(editor != nullptr && editor != grid);
                QCOMPARE(SpokenName(editor),
                         grid->model()->headerData(column - 1, Qt::Horizontal).toString());
                QTest::keyClick(editor, Qt::Key_Escape);
            }
        }
    }

    // With QX_SHOT_DIR set: the main window with channels in use and every
    // dialog under a dark palette, in both languages, to be looked at by eye.
    void darkPaletteShots() {
        if (qEnvironmentVariableIsEmpty("QX_SHOT_DIR")) QSKIP("QX_SHOT_DIR is not set");
        const QPalette before = QApplication::palette();
        QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
        QPalette dark;
        dark.setColor(QPalette::Window, QColor(45, 45, 48));
        dark.setColor(QPalette::WindowText, QColor(230, 230, 230));
        dark.setColor(QPalette::Base, QColor(30, 30, 30));
        dark.setColor(QPalette::AlternateBase, QColor(50, 50, 54));
        dark.setColor(QPalette::Text, QColor(230, 230, 230));
        dark.setColor(QPalette::Button, QColor(55, 55, 60));
        dark.setColor(QPalette::ButtonText, QColor(230, 230, 230));
        dark.setColor(QPalette::Highlight, QColor(42, 130, 218));
        dark.setColor(QPalette::HighlightedText, Qt::white);
        dark.setColor(QPalette::ToolTipBase, QColor(60, 60, 60));
        dark.setColor(QPalette::ToolTipText, QColor(230, 230, 230));
        dark.setColor(QPalette::PlaceholderText, QColor(150, 150, 150));
        dark.setColor(QPalette::Disabled, QPalette::Text, QColor(120, 120, 120));
        dark.setColor(QPalette::Disabled, QPalette::WindowText, QColor(120, 120, 120));
        dark.setColor(QPalette::Disabled, QPalette::ButtonText, QColor(120, 120, 120));
        QApplication::setPalette(dark);
        for (const char* language : kLanguages) {
            qx::Session session;
            session.paths = qx::SettingsPaths{QX_LANGUAGE_DIR, config_.path().toStdString(), {}};
            session.languageFile = language;
            session.portName = "sim";
            qx::MainWindow window(session);
            window.resize(1300, 700);
            window.show();
            QVERIFY(QTest::qWaitForWindowActive(&window));
            qx::test::ModalAnswerer answerer;
            answerer.Then([](QWidget* dialog) {
                const QString path = QStringLiteral(QX_TEST_DATA_DIR "/corpus/d000.qx");
                if (auto* edit = dialog->findChild<QLineEdit*>("fileNameEdit")) edit->setText(path);
                static_cast<QDialog*>(dialog)->accept();
            });
            window.findChild<QAction*>("Menu_Open")->trigger();
            QTRY_VERIFY(answerer.AllAnswered());
            qx::test::SaveShot(
                window, QStringLiteral("dark-") + QString::fromLatin1(language).section('.', 0, 0));
            for (const Dialog& dialog : kDialogs) {
                Rig rig(language);
                std::unique_ptr<QWidget> shown = dialog.open(rig);
                qx::test::SaveShot(*shown,
                                   QStringLiteral("dark-%1-%2")
                                       .arg(QString::fromLatin1(language).section('.', 0, 0),
                                            QString::fromLatin1(dialog.name).replace(' ', '_')));
                shown->close();
            }
        }
        QApplication::setPalette(before);
    }
};

QTEST_MAIN(AccessibilityTest)
#include "accessibility_test.moc"
