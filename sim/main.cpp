// qxsim: a simulated radio on a pseudo-terminal. Prints the terminal's path
// as its first line of output, then answers on it until SIGTERM or SIGINT.
// While it runs, the terminal is listed among the running simulators, so
// the port lists offer it.
#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <cerrno>
#include <iostream>
#include <string>
#include <vector>

#include "image/memory_image.h"
#include "image_file.h"
#include "pty_server.h"
#include "sim_options.h"
#include "sim_registry.h"

namespace {

// Written by the signal handler: the one thing a handler may safely do is
// wake the serving loop through this pipe.
int stopPipeWrite = -1;

extern "C" void OnStopSignal(int /*signal*/) {
    const int saved = errno;
    const char byte = 's';
    [[maybe_unused]] const ssize_t ignored = write(stopPipeWrite, &byte, 1);
    errno = saved;
}

bool InstallStopSignals(int stopPipe[2]) {
    if (pipe(stopPipe) != 0) return false;
    for (const int fd : {stopPipe[0], stopPipe[1]}) {
        fcntl(fd, F_SETFD, FD_CLOEXEC);
        fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) | O_NONBLOCK);
    }
    stopPipeWrite = stopPipe[1];
    struct sigaction action {};
    action.sa_handler = OnStopSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = 0;  // no restart: poll and sleeps return to look at the pipe
    signal(SIGPIPE, SIG_IGN);
    return sigaction(SIGTERM, &action, nullptr) == 0 && sigaction(SIGINT, &action, nullptr) == 0;
}

}  // namespace

int main(int argc, char* argv[]) {
    using namespace qx;
    using namespace qx::sim;

    const ParsedOptions parsed = ParseSimOptions(std::vector<std::string>(argv + 1, argv + argc));
    if (!parsed.error.empty()) {
        std::cerr << "qxsim: " << parsed.error << "\n" << UsageText();
        return 2;
    }
    const SimOptions& options = parsed.options;
    if (options.help) {
        std::cout << UsageText();
        return 0;
    }

    const SimulatedRadio blank(options.model.value_or(kDefaultModel),
                               options.features.value_or(kDefaultFeatures),
                               options.password.value_or(""));
    std::vector<std::uint8_t> memory = blank.Memory();
    if (options.imagePath) {
        LoadedImage image = LoadImageFile(*options.imagePath);
        if (!image.error.empty()) {
            std::cerr << "qxsim: " << image.error << "\n";
            return 2;
        }
        if (image.exists) {
            // Options given on the command line still win over the file.
            if (options.model) SetImageModel(image.memory, *options.model);
            if (options.features) SetImageFeatures(image.memory, *options.features);
            memory = std::move(image.memory);
        }
    }
    SimulatedRadio radio(std::move(memory));
    if (options.password) radio.SetPassword(*options.password);
    for (const Fault& fault : options.faults) radio.AddFault(fault);

    int stopPipe[2] = {-1, -1};
    if (!InstallStopSignals(stopPipe)) {
        std::cerr << "qxsim: cannot install the signal handlers\n";
        return 1;
    }
    PseudoTerminal pty;
    if (const std::string error = pty.Open(); !error.empty()) {
        std::cerr << "qxsim: " << error << "\n";
        return 1;
    }
    // Registered before the path is printed: whoever reads the path finds the
    // entry too. It goes when this function returns, on every way out.
    const SimRegistration registration(SimRegistryDir(), static_cast<long>(getpid()),
                                       pty.SlavePath());
    if (!registration.Error().empty() && options.verbose)
        std::cerr << "qxsim: not listed among the running simulators: " << registration.Error()
                  << std::endl;
    std::cout << pty.SlavePath() << std::endl;

    ServeSettings settings;
    settings.baud = options.baud;
    settings.once = options.once;
    settings.verbose = options.verbose;
    if (options.imagePath) settings.imagePath = *options.imagePath;
    RadioServer server(pty, radio, settings, stopPipe[0], std::cerr);
    const int result = server.Run();
    if (options.verbose) {
        std::cerr << "qxsim: received " << server.BytesReceived() << " bytes, sent "
                  << server.BytesSent() << " bytes" << std::endl;
    }
    return result;
}
