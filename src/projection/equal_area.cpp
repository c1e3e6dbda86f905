#include "projection/equal_area.h"
