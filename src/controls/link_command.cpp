#include "controls/link_command.h"
