#include "text/textfile.h"
