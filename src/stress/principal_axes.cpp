#include "stress/principal_axes.h"
