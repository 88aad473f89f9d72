#include "survey/choice_value.h"
