#include <limits.h>
#include <unistd.h>

#include <stdexcept>
#include <string>

#include "platform/codepage.h"
#include "platform/computer_name.h"

namespace tabulon::platform {

std::string ComputerName() {
  char buffer[HOST_NAME_MAX + 1] = {};
  if (gethostname(buffer, sizeof buffer - 1) != 0) return "";
  std::string name(buffer);
  // "pc01.school.example" is the computer pc01 of the school's domain.
  name = name.substr(0, name.find('.'));
  // Host names are ASCII in practice; one in UTF-8 is spelt in CP932 as the
  // desktop would, and one that does not convert keeps its bytes.
  try {
    return Utf8ToCp932(name);
  } catch (const std::invalid_argument&) {
    return name;
  }
}

}  // namespace tabulon::platform
