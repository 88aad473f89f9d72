#include "platform/gui/backend.h"
