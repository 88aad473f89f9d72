#include "window/form_description.h"
