#include "controls/menu_metrics.h"
