// The core must build with the standard library alone: no Qt, no OS headers.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <string>

namespace {

TEST(CoreHeaders, CoreIncludesOnlyTheStandardLibraryAndItself) {
    const std::filesystem::path core = std::filesystem::path(QX_SOURCE_DIR) / "core";
    ASSERT_TRUE(std::filesystem::is_directory(core));
    const std::regex include(R"(^\s*#\s*include\s*([<"])([^>"]+)[>"])");
    // Platform headers that must never appear, and the core's own folders.
    const std::regex forbidden(
        R"(^(Q[A-Za-z]+|qt[a-z]*/.*|sys/.*|unistd\.h|termios\.h|windows\.h|fcntl\.h|pty\.h|)"
        R"(dirent\.h|pthread\.h|dlfcn\.h|poll\.h|signal\.h|arpa/.*|netinet/.*|linux/.*|)"
        R"(winsock2?\.h|io\.h|direct\.h)$)");
    const std::regex ownHeader(
        R"(^(app|channels|codeplug|image|files|fleet|link|options|signalling|print|platform|util)/[a-z_]+\.h$)");
    int files = 0;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(core)) {
        const auto ext = entry.path().extension();
        if (ext != ".h" && ext != ".cpp") continue;
        ++files;
        std::ifstream in(entry.path());
        std::string line;
        int lineNo = 0;
        while (std::getline(in, line)) {
            ++lineNo;
            std::smatch m;
            if (!std::regex_search(line, m, include)) continue;
            const std::string header = m[2];
            const std::string where = entry.path().string() + ":" + std::to_string(lineNo);
            EXPECT_FALSE(std::regex_match(header, forbidden)) << where << " includes " << header;
            if (m[1] == "<") {
                // Standard library headers have plain lower-case names: <string>, <cstdint>.
                EXPECT_TRUE(std::regex_match(header, std::regex("[a-z_]+")))
                    << where << " includes a non-standard header: " << header;
            } else {
                EXPECT_TRUE(std::regex_match(header, ownHeader))
                    << where << " includes a header from outside the core: " << header;
            }
        }
    }
    EXPECT_GT(files, 10);
}

}  // namespace
