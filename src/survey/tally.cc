#include "survey/tally.h"
