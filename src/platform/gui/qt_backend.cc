#include "platform/gui/qt_backend.h"
