#include "controls/owner_menu.h"
