#include "shell/CommandLine.h"

#include <algorithm>

#include "platform/Runtime.h"

namespace tess {

CommandLine parseCommandLine(const std::vector<std::string>& arguments) {
    CommandLine result;
    std::string joined;
    bool first = true;
    for (const std::string& argument : arguments) {
        if (rt::toLower(argument) == "/speedlog") {
            result.speedLog = true;
            continue;
        }
        if (!first)
            joined += ' ';
        joined += argument;
        first = false;
    }
    std::string path = rt::trim(joined);
    path.erase(std::remove(path.begin(), path.end(), '"'), path.end());
    result.projectPath = std::move(path);
    return result;
}

}  // namespace tess
