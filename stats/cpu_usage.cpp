#include "stats/cpu_usage.h"
