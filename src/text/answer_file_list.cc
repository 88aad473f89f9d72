#include "text/answer_file_list.h"
