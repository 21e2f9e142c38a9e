// Answers the modal windows (message boxes, prompts, dialogs) that the code
// under test opens, in the order they appear, so GUI tests can drive the
// real widgets without a person at the screen.
#pragma once

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTimer>
#include <QWidget>
#include <deque>
#include <functional>

namespace qx::test {

class ModalAnswerer final : public QObject {
  public:
    using Handler = std::function<void(QWidget*)>;

    ModalAnswerer() {
        connect(&poll_, &QTimer::timeout, this, [this] { Poll(); });
        poll_.start(5);
    }

    // Runs `handler` on the next modal window; it must close it.
    void Then(Handler handler) { handlers_.push_back(std::move(handler)); }

    // Answers the next message box with `button`, keeping its text.
    void Press(QMessageBox::StandardButton button) {
        Then([this, button](QWidget* window) {
            auto* box = qobject_cast<QMessageBox*>(window);
            if (box == nullptr) {
                unexpected_ << window->objectName();
                window->close();
                return;
            }
            texts_ << box->text();
            if (QAbstractButton* b = box->button(button)) {
                b->click();
            } else {
                unexpected_ << QStringLiteral("no button on: ") + box->text();
                box->close();
            }
        });
    }

    // The texts of the message boxes answered so far.
    const QStringList& Texts() const { return texts_; }
    // Windows nobody expected (closed at once so the test cannot hang).
    const QStringList& Unexpected() const { return unexpected_; }
    bool AllAnswered() const { return handlers_.empty(); }

  private:
    void Poll() {
        QWidget* window = QApplication::activeModalWidget();
        if (window == nullptr || !window->isVisible() || window->property("qxAnswered").toBool()) {
            return;
        }
        window->setProperty("qxAnswered", true);
        if (handlers_.empty()) {
            auto* box = qobject_cast<QMessageBox*>(window);
            unexpected_ << (box != nullptr ? box->text() : window->objectName());
            window->close();
            return;
        }
        // Run apart from the poll: a handler that opens a nested window
        // (a button showing a message) needs the poll timer to fire again.
        QTimer::singleShot(0, window,
                           [window, handler = std::move(handlers_.front())] { handler(window); });
        handlers_.pop_front();
    }

    QTimer poll_;
    std::deque<Handler> handlers_;
    QStringList texts_;
    QStringList unexpected_;
};

}  // namespace qx::test
