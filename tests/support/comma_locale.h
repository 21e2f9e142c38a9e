// Whether the tests run under the comma-decimal locale set by test_main.cpp.
#pragma once

namespace qx::test {
bool CommaLocaleActive();
}
