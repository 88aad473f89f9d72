// The Qt 6 backend: realises a form as widgets (self-painted labels, group
// boxes, list boxes, push buttons) inside a scroll area, shows the message
// boxes as QMessageBox, and can render the window offscreen for tests and
// screenshots. Widgets are touched only by Realise and Sync.
#ifndef TABULON_GUI_QT_QT_BACKEND_H_
#define TABULON_GUI_QT_QT_BACKEND_H_

#include <memory>
#include <string>

#include "gui/backend.h"

class QImage;
class QWidget;

namespace tabulon::gui {

class QtBackend : public Backend {
 public:
  // Uses the running QApplication, or creates one (owned by the backend).
  QtBackend();
  QtBackend(int& argc, char** argv);
  ~QtBackend() override;
  QtBackend(const QtBackend&) = delete;
  QtBackend& operator=(const QtBackend&) = delete;

  // Integer advances of the characters (ampersands count as characters:
  // callers strip them first), and the font's pixel size as height.
  Extent Measure(const Font& font, std::string_view cp932) override;

  // Application-modal; caption and message CP932.
  void ShowStop(std::string_view caption, std::string_view message) override;
  bool Confirm(const Confirmation& box) override;
  void SetBusy(bool busy) override;
  void SetApplicationTitle(std::string_view title) override;

  // Asks for a folder with the desktop's folder dialog, starting in the
  // current folder. The chosen folder's file system bytes; empty when the
  // dialog was cancelled. `caption` CP932.
  std::string ChooseFolder(std::string_view caption);

  void Realise(Form& form) override;
  void Sync(Form& form) override;
  int Run(Form& form, ShowState state) override;

  // Syncs and grabs the window's client area at the given client size (0:
  // as it is) without showing it on a screen.
  QImage Render(Form& form, int width = 0, int height = 0);
  bool RenderToPng(Form& form, const std::string& path, int width = 0,
                   int height = 0);
  // The client area, as RenderToPng draws it.
  bool SaveScreenshot(Form& form, const std::string& path) override;

  // For tests: the top-level window (a scroll area), the widget that holds
  // the layout, and the widget of a control (null before Realise).
  QWidget* Window() const;
  QWidget* Content() const;
  QWidget* WidgetOf(const Control& control) const;

  // The Qt family a desktop face is drawn with (an IPA face when the
  // desktop face is not installed).
  static std::string FamilyFor(const std::string& face);

 protected:
  // Qt's local 8-bit text: UTF-8 on Linux.
  std::string ConsoleText(std::string_view cp932) const override;

 private:
  struct State;
  QWidget* CreateWidget(Control& control);
  std::unique_ptr<State> state_;
};

}  // namespace tabulon::gui

#endif  // TABULON_GUI_QT_QT_BACKEND_H_
