#include "qt_port_directory.h"

#include <QSerialPortInfo>
#include <algorithm>

namespace qx {
namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// The digit run starting at `pos`, without its leading zeros.
std::string_view DigitRun(std::string_view text, std::size_t& pos) {
    const std::size_t start = pos;
    while (pos < text.size() && IsDigit(text[pos])) ++pos;
    std::string_view run = text.substr(start, pos - start);
    while (run.size() > 1 && run.front() == '0') run.remove_prefix(1);
    return run;
}

}  // namespace

bool NaturalLess(std::string_view a, std::string_view b) {
    std::size_t i = 0;
    std::size_t j = 0;
    while (i < a.size() && j < b.size()) {
        if (IsDigit(a[i]) && IsDigit(b[j])) {
            const std::string_view x = DigitRun(a, i);
            const std::string_view y = DigitRun(b, j);
            // Without leading zeros, the longer run is the larger number.
            if (x.size() != y.size()) return x.size() < y.size();
            if (x != y) return x < y;
            continue;
        }
        if (a[i] != b[j])
            return static_cast<unsigned char>(a[i]) < static_cast<unsigned char>(b[j]);
        ++i;
        ++j;
    }
    if ((a.size() - i) != (b.size() - j)) return (a.size() - i) < (b.size() - j);
    // Equal but for leading zeros ("COM01", "COM1"): keep a strict order.
    return a < b;
}

std::vector<std::string> SortedPortNames(std::vector<std::string> names) {
    std::sort(names.begin(), names.end(),
              [](const std::string& a, const std::string& b) { return NaturalLess(a, b); });
    names.erase(std::unique(names.begin(), names.end()), names.end());
    return names;
}

std::vector<std::string> QtPortDirectory::PortNames() const {
    std::vector<std::string> names;
    for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts()) {
#ifdef Q_OS_WIN
        names.push_back(info.portName().toStdString());
#else
        names.push_back(info.systemLocation().toStdString());
#endif
    }
    for (std::string& port : RegisteredSimPorts(simRegistry_)) names.push_back(std::move(port));
    return SortedPortNames(std::move(names));
}

}  // namespace qx
