// Test entry: every test runs under a comma-decimal locale (de_DE.UTF-8), the
// way a German user's machine is set up, so any number conversion that
// follows the locale shows up as a failure. The C library and the C++ global
// locale are both switched. When the locale is not installed the run fails
// under CI and is reported and continued elsewhere.
#include <clocale>
#include <cstdlib>
#include <iostream>
#include <locale>

#include <gtest/gtest.h>

#include "comma_locale.h"

namespace qx::test {

bool CommaLocaleActive() {
    const std::lconv* conv = std::localeconv();
    return conv != nullptr && std::string(conv->decimal_point) == ",";
}

}  // namespace qx::test

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    bool switched = false;
    for (const char* name : {"de_DE.UTF-8", "de_DE.utf8"}) {
        if (std::setlocale(LC_ALL, name) != nullptr) {
            try {
                std::locale::global(std::locale(name));
                switched = true;
            } catch (const std::runtime_error&) {
                switched = false;
            }
            if (switched) break;
        }
    }
    if (!switched) {
        const char* ci = std::getenv("CI");
        if (ci != nullptr && std::string(ci) == "true") {
            std::cerr << "de_DE.UTF-8 locale is not installed; run 'make test' as root to "
                         "generate it\n";
            return 1;
        }
        std::cerr << "note: de_DE.UTF-8 not installed; tests run in the C locale\n";
    }
    return RUN_ALL_TESTS();
}
