// The Ui that shows nothing, under the test namespace the fuzz targets and
// benchmarks use.
#pragma once

#include "platform/ui.h"

namespace qx::test {

using SilentUi = qx::SilentUi;

}  // namespace qx::test
