#include "ui/window_printer.h"
