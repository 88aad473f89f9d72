#include "gui/qt/qt_boxes.h"

#include <QMessageBox>
#include <QPushButton>
#include <cstdio>

#include "gui/qt/qt_widgets.h"

namespace tabulon::gui::qt {
namespace {

// What an unattended box would have shown, and how it was answered.
void ReportBox(const QString& caption, const QString& message,
               const QString& answer) {
  const QString text = caption + ": " + message + " [" + answer + "]";
  std::fprintf(stderr, "%s\n", text.toLocal8Bit().constData());
}

// A button's caption as read aloud: ampersand markers dropped.
QString Spoken(std::string_view cp932) {
  return ToQString(WithoutAmpersands(cp932));
}

}  // namespace

void ShowBox(bool unattended, NoticeIcon icon, const QString& caption,
             const QString& message) {
  const QString text = WithLineBreaks(message);
  if (unattended) return ReportBox(caption, text, "OK");
  QMessageBox box(icon == NoticeIcon::kStop ? QMessageBox::Critical
                                            : QMessageBox::Information,
                  caption, text, QMessageBox::Ok);
  box.setTextFormat(Qt::PlainText);
  box.setWindowModality(Qt::ApplicationModal);
  box.exec();
}

bool AskToConfirm(bool unattended, const Confirmation& confirmation) {
  const QString message = WithLineBreaks(ToQString(confirmation.message));
  if (unattended) {
    ReportBox(ToQString(confirmation.caption), message,
              Spoken(confirmation.yes_button));
    return true;
  }
  QMessageBox box;
  box.setIcon(QMessageBox::Question);
  box.setWindowTitle(ToQString(confirmation.caption));
  box.setTextFormat(Qt::PlainText);
  box.setText(message);
  box.setWindowModality(Qt::ApplicationModal);
  // One role for both keeps them in the given order on every platform.
  QPushButton* yes = box.addButton(ToQString(confirmation.yes_button),
                                   QMessageBox::ActionRole);
  QPushButton* no =
      box.addButton(ToQString(confirmation.no_button), QMessageBox::ActionRole);
  box.setDefaultButton(yes);
  box.setEscapeButton(no);
  box.exec();
  return box.clickedButton() == yes;
}

}  // namespace tabulon::gui::qt
