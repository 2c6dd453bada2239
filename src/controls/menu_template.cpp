#include "controls/menu_template.h"
