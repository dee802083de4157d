#include "stats/format.h"
