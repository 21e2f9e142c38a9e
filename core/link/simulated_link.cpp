#include "link/simulated_link.h"
