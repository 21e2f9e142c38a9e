#include "link/transfer.h"
