// The answer controls on the Qt backend, offscreen.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAccessible>
#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>

#include "gui/answer_controls_conformance.h"
#include "gui/qt/qt_backend.h"

namespace tabulon::gui {
namespace {

class QtDriver : public conformance::AnswerControlsDriver {
 public:
  Backend& TheBackend() override { return backend_; }
  void Click(const Control& control) override { Button(control)->click(); }
  void Type(const Control& field, const std::string& utf8) override {
    QWidget* widget = backend_.WidgetOf(field);
    const QString text = QString::fromStdString(utf8);
    // One key event per character, as a keyboard (or an input method)
    // delivers them.
    for (qsizetype i = 0; i < text.size();) {
      const qsizetype length = text.at(i).isHighSurrogate() ? 2 : 1;
      QKeyEvent key(QEvent::KeyPress, 0, Qt::NoModifier, text.mid(i, length));
      QApplication::sendEvent(widget, &key);
      i += length;
    }
  }
  void PressReturn(const Control& field) override {
    QKeyEvent key(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, "\r");
    QApplication::sendEvent(backend_.WidgetOf(field), &key);
  }
  bool ShowsChecked(const Control& control) override {
    return Button(control)->isChecked();
  }
  std::string ShownText(const Control& field) override {
    return static_cast<QLineEdit*>(backend_.WidgetOf(field))
        ->text()
        .toStdString();
  }
  std::string SpokenName(const Control& control) override {
    QAccessibleInterface* accessible =
        QAccessible::queryAccessibleInterface(backend_.WidgetOf(control));
    return accessible == nullptr
               ? ""
               : accessible->text(QAccessible::Name).toStdString();
  }
  std::vector<std::string> TabChain(Form& form) override {
    std::vector<std::string> chain;
    QWidget* first = backend_.WidgetOf(form["Walk"]);
    QWidget* widget = first;
    do {
      if ((widget->focusPolicy() & Qt::TabFocus) &&
          !widget->objectName().isEmpty()) {
        chain.push_back(widget->objectName().toStdString());
      }
      widget = widget->nextInFocusChain();
    } while (widget != first && chain.size() < 20);
    return chain;
  }

 private:
  QAbstractButton* Button(const Control& control) {
    return static_cast<QAbstractButton*>(backend_.WidgetOf(control));
  }
  QtBackend backend_;
};

TEST(QtAnswerControlsTest, BehaveAsEveryBackendMust) {
  QtDriver driver;
  conformance::BuildAndCheckAnswerControls(driver);
}

}  // namespace
}  // namespace tabulon::gui
