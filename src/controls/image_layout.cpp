#include "controls/image_layout.h"
