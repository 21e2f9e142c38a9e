// A line edit whose every typed character goes through a core key rule
// (TypeDtmfKey, TypeToneKey, ...): pasting, dropping and input methods are
// shut off so no text gets in past the rule. Enter is reported, not typed.
#pragma once

#include <QLineEdit>
#include <cstddef>
#include <functional>
#include <string>

namespace qx {

class TypedLineEdit final : public QLineEdit {
    Q_OBJECT
  public:
    // `rule` appends a key to a text (or returns it unchanged); `maxLength`
    // bounds the whole text when a key lands inside it.
    using KeyRule = std::function<std::string(const std::string&, char32_t)>;
    TypedLineEdit(KeyRule rule, std::size_t maxLength, QWidget* parent = nullptr);

  signals:
    void edited(const QString& text);  // the user changed the text
    void enterPressed();

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

  private:
    bool Type(const QString& keys);

    KeyRule rule_;
    std::size_t maxLength_;
};

}  // namespace qx
