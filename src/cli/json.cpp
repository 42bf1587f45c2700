#include "cli/json.h"
