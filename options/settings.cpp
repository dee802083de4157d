#include "options/settings.h"
