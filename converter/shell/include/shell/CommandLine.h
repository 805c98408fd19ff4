#pragma once

#include <string>
#include <vector>

namespace tess {

// What the converter's command line asks for.
struct CommandLine {
    bool speedLog = false;    // the switch "/speedlog" in any letter case
    std::string projectPath;  // a project file to open, or empty

    bool operator==(const CommandLine&) const = default;
};

// `arguments` are the program's arguments without the program itself, as the system split them.
// An argument that is the switch turns the speed log on; the others, joined by one blank, name the
// project, with blanks around it and double quotes removed. An argument that merely contains the
// switch's letters (a folder called speedlog) is part of the path.
CommandLine parseCommandLine(const std::vector<std::string>& arguments);

}  // namespace tess
