#include "controls/windows_version.h"
