#include "ui/error_guard.h"
