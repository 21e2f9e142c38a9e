// qxctl models: the 32 model display texts in selector order.
#include <ostream>

#include "codeplug/models.h"
#include "command.h"

namespace qx::cli {

int RunModels(const std::vector<std::string>& args, CommandIo& io) {
    if (!args.empty()) {
        io.err << "qxctl models: takes no arguments\n";
        return 2;
    }
    for (const auto& model : ModelTable()) io.out << model.displayText << '\n';
    return 0;
}

}  // namespace qx::cli
