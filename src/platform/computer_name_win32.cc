#include <windows.h>

#include <string>

#include "platform/computer_name.h"

namespace tabulon::platform {

std::string ComputerName() {
  char buffer[MAX_COMPUTERNAME_LENGTH + 1] = {};
  DWORD size = sizeof buffer;
  if (!GetComputerNameA(buffer, &size)) return "";
  return std::string(buffer, size);
}

}  // namespace tabulon::platform
