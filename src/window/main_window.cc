#include "window/main_window.h"
