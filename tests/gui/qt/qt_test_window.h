// The fixture that realises the test window on the Qt backend, offscreen.
#ifndef TABULON_TESTS_GUI_QT_QT_TEST_WINDOW_H_
#define TABULON_TESTS_GUI_QT_QT_TEST_WINDOW_H_

#include <gtest/gtest.h>

#include <QImage>
#include <QPoint>
#include <QWidget>

#include "gui/qt/qt_backend.h"
#include "gui/test_window.h"

namespace tabulon::gui::qt_test {

using namespace test_window;

class QtBackendTest : public ::testing::Test {
 protected:
  QtBackendTest() : form_(kFormLayout, backend_, &backend_) {
    form_.Build(Description());
    backend_.Realise(form_);
  }

  // The control's top-left corner in the rendered window.
  QPoint Origin(const char* name) {
    return backend_.WidgetOf(form_[name])->mapTo(backend_.Window(), QPoint());
  }

  static Rgb At(const QImage& image, QPoint point) {
    const QColor colour = image.pixelColor(point);
    return {static_cast<std::uint8_t>(colour.red()),
            static_cast<std::uint8_t>(colour.green()),
            static_cast<std::uint8_t>(colour.blue())};
  }

  // How far pixels of `colour` run from `start` in steps of `step`.
  static int Run(const QImage& image, QPoint start, QPoint step, Rgb colour) {
    int n = 0;
    for (QPoint p = start; image.rect().contains(p) && At(image, p) == colour;
         p += step) {
      ++n;
    }
    return n;
  }

  QtBackend backend_;
  Form form_;
};

}  // namespace tabulon::gui::qt_test

#endif  // TABULON_TESTS_GUI_QT_QT_TEST_WINDOW_H_
