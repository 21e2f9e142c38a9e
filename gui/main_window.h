// Frm_Radio, the main window: for now the window frame over the document;
// the grid, menus and toolbar are bound to the core here as they arrive.
#pragma once

#include <QLabel>
#include <QMainWindow>

#include "app/document.h"
#include "app/language_texts.h"
#include "app/session.h"
#include "qt_ui.h"

namespace qx {

class MainWindow final : public QMainWindow {
    Q_OBJECT
  public:
    MainWindow(Session& session, QWidget* parent = nullptr);

    Document& document() { return document_; }

  private:
    void LoadTexts();

    Session& session_;
    LanguageTexts language_;
    Document document_;
    QtUi ui_;
    QLabel* statusPanel1_ = nullptr;
    QLabel* statusPanel2_ = nullptr;
};

}  // namespace qx
