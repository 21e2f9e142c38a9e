// Pictures of windows for checking layouts by eye: with QX_SHOT_DIR set (and
// the tests run under xvfb-run with QT_QPA_PLATFORM=xcb) a window is saved
// as QX_SHOT_DIR/NAME.png; otherwise nothing happens.
#pragma once

#include <QDir>
#include <QTest>
#include <QWidget>

namespace qx::test {

inline void SaveShot(QWidget& window, const QString& name) {
    const QString dir = qEnvironmentVariable("QX_SHOT_DIR");
    if (dir.isEmpty()) return;
    QDir().mkpath(dir);
    window.show();
    if (!QTest::qWaitForWindowExposed(&window)) return;
    window.grab().save(dir + QLatin1Char('/') + name + QStringLiteral(".png"));
}

}  // namespace qx::test
