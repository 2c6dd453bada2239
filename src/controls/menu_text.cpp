#include "controls/menu_text.h"
