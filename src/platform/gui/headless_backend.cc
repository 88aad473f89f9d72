#include "platform/gui/headless_backend.h"
