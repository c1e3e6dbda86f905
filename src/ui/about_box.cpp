#include "ui/about_box.h"
