#include "controls/hyperlink_label.h"
