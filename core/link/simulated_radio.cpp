#include "link/simulated_radio.h"
