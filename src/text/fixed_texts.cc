#include "text/fixed_texts.h"
