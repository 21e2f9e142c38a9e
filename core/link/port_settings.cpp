#include "link/port_settings.h"
