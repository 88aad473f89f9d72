#include "gui/win32/win32_folder_dialog.h"

#include <windows.h>
// After windows.h, which they need.
#include <shlobj.h>
#include <shobjidl.h>

namespace tabulon::gui::win32 {
namespace {

std::wstring FromCp932(std::string_view cp932) {
  if (cp932.empty()) return L"";
  const int length = static_cast<int>(cp932.size());
  const int size =
      MultiByteToWideChar(932, 0, cp932.data(), length, nullptr, 0);
  std::wstring unicode(static_cast<std::size_t>(size), L'\0');
  MultiByteToWideChar(932, 0, cp932.data(), length, unicode.data(), size);
  return unicode;
}

// The dialog opens where the program stands.
void StartInCurrentFolder(IFileOpenDialog& dialog) {
  wchar_t here[MAX_PATH];
  if (GetCurrentDirectoryW(MAX_PATH, here) == 0) return;
  IShellItem* folder = nullptr;
  if (FAILED(
          SHCreateItemFromParsingName(here, nullptr, IID_PPV_ARGS(&folder)))) {
    return;
  }
  dialog.SetFolder(folder);
  folder->Release();
}

std::wstring PathOf(IShellItem& item) {
  wchar_t* path = nullptr;
  if (FAILED(item.GetDisplayName(SIGDN_FILESYSPATH, &path))) return L"";
  std::wstring chosen = path;
  CoTaskMemFree(path);
  return chosen;
}

std::string Failure(HRESULT code) {
  char text[64];
  wsprintfA(text, "the folder dialog failed (0x%08lX)",
            static_cast<unsigned long>(code));
  return text;
}

FolderChoice Ask(IFileOpenDialog& dialog, std::string_view caption) {
  FILEOPENDIALOGOPTIONS options = 0;
  dialog.GetOptions(&options);
  dialog.SetOptions(options | FOS_PICKFOLDERS | FOS_FORCEFILESYSTEM |
                    FOS_PATHMUSTEXIST);
  dialog.SetTitle(FromCp932(caption).c_str());
  StartInCurrentFolder(dialog);
  const HRESULT shown = dialog.Show(nullptr);
  if (shown == HRESULT_FROM_WIN32(ERROR_CANCELLED)) return {};
  if (FAILED(shown)) return {L"", Failure(shown)};
  IShellItem* result = nullptr;
  const HRESULT got = dialog.GetResult(&result);
  if (FAILED(got)) return {L"", Failure(got)};
  FolderChoice chosen = {PathOf(*result), ""};
  result->Release();
  if (chosen.folder.empty()) chosen.failure = "the folder has no path";
  return chosen;
}

}  // namespace

FolderChoice ChooseFolder(std::string_view caption) {
  const HRESULT com = CoInitializeEx(
      nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
  IFileOpenDialog* dialog = nullptr;
  const HRESULT created =
      CoCreateInstance(CLSID_FileOpenDialog, nullptr, CLSCTX_INPROC_SERVER,
                       IID_PPV_ARGS(&dialog));
  FolderChoice chosen = {L"", Failure(created)};
  if (SUCCEEDED(created)) {
    chosen = Ask(*dialog, caption);
    dialog->Release();
  }
  if (SUCCEEDED(com)) CoUninitialize();
  return chosen;
}

}  // namespace tabulon::gui::win32
