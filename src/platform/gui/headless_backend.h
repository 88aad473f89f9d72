#ifndef TABULON_PLATFORM_GUI_HEADLESS_BACKEND_H_
#define TABULON_PLATFORM_GUI_HEADLESS_BACKEND_H_
#include "platform/gui/backend.h"
#endif
