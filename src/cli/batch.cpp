#include "cli/batch.h"
