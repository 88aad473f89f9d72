#include "text/failure.h"
