#include "text/markers.h"
