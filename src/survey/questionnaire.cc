#include "survey/questionnaire.h"
