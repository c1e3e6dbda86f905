#include "stress/joint_stresses.h"
