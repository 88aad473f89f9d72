#include "platform/gui/controls.h"
