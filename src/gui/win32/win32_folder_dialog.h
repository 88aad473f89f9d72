// The system's folder picker (the Explorer-style dialog), for the start-up
// of a program that is asked to choose its folder.
#ifndef TABULON_GUI_WIN32_WIN32_FOLDER_DIALOG_H_
#define TABULON_GUI_WIN32_WIN32_FOLDER_DIALOG_H_

#include <string>
#include <string_view>

namespace tabulon::gui::win32 {

// The folder's own name (which code page 932 may not hold), or why the
// dialog could not be shown; both empty when the teacher cancelled.
struct FolderChoice {
  std::wstring folder;
  std::string failure;  // CP932
};

// Asks for a folder in the file system, starting in the current folder,
// with `caption` (CP932) as the dialog's title.
FolderChoice ChooseFolder(std::string_view caption);

}  // namespace tabulon::gui::win32

#endif  // TABULON_GUI_WIN32_WIN32_FOLDER_DIALOG_H_
