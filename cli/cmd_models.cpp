// qxctl models: the 32 model display texts in selector order.
#include <ostream>

#include "codeplug/models.h"
#include "command.h"

namespace qx::cli {

int RunModels(const std::vector<std::string>& args, CommandIo& io) {
    const CommandSyntax syntax{
        .program = "qxctl models",
        .about =
            "Prints the display texts of the supported radio models, one a line, in the "
            "order of the model selector; --model N counts them from 0.",
    };
    return RunCommand(syntax, args, io, [&](const Arguments& parsed) {
        if (!parsed.positional.empty()) throw UsageError("takes no arguments");
        for (const auto& model : ModelTable()) io.out << model.displayText << '\n';
    });
}

}  // namespace qx::cli
