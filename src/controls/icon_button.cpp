#include "controls/icon_button.h"
