#include "text/error_box.h"
