#include "survey/results_csv.h"
