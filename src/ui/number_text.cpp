#include "ui/number_text.h"
