// The Qt backend's message boxes (private to the backend): QMessageBox,
// application-modal, or with nobody at the screen answered at once as Enter
// would answer them and printed on stderr.
#ifndef TABULON_GUI_QT_QT_BOXES_H_
#define TABULON_GUI_QT_QT_BOXES_H_

#include <QString>

#include "gui/backend.h"

namespace tabulon::gui::qt {

// A box with one OK button; a lone CR in the message breaks the line.
void ShowBox(bool unattended, NoticeIcon icon, const QString& caption,
             const QString& message);
// The confirmation: true when its first button closed it.
bool AskToConfirm(bool unattended, const Confirmation& confirmation);

}  // namespace tabulon::gui::qt

#endif  // TABULON_GUI_QT_QT_BOXES_H_
