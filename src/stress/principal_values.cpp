#include "stress/principal_values.h"
