#include "platform/CommandLine.h"

namespace scr {
namespace {
std::vector<std::string>& Parameters() {
    static std::vector<std::string> parameters;
    return parameters;
}
} // namespace

void SetCommandLine(int argc, char** argv) {
    std::vector<std::string> parameters;
    for (int i = 1; i < argc; ++i)
        parameters.emplace_back(argv[i]);
    Parameters() = std::move(parameters);
}

void SetCommandLineParameters(std::vector<std::string> parameters) {
    Parameters() = std::move(parameters);
}

const std::vector<std::string>& CommandLineParameters() {
    return Parameters();
}

} // namespace scr
