// Reading mrv7k2-find's arguments in order, and its help and version texts.

#include "app/FindOptions.h"

#include "app/ProjectInfo.h"

#include <string_view>
#include <vector>

namespace app {

namespace {

constexpr std::string_view kProgram = "mrv7k2-find";

FindOptions usageError(std::string_view what, std::string_view arg)
{
    FindOptions result;
    result.action = FindOptions::Action::UsageError;
    result.error = std::string(kProgram) + ": " + std::string(what) + " '" + std::string(arg) +
                   "'; try '" + std::string(kProgram) + " --help'";
    return result;
}

} // namespace

FindOptions parseFindOptions(const std::vector<std::string_view>& args)
{
    FindOptions result;
    bool optionsEnded = false;
    for (std::string_view arg : args) {
        if (optionsEnded || arg.empty() || arg.front() != '-' || arg == "-")
            return usageError("extra operand", arg);
        if (arg == "--") {
            optionsEnded = true;
        } else if (arg == "--json") {
            result.json = true;
        } else if (arg == "--help" || arg == "-h") {
            result.action = FindOptions::Action::Help;
            return result;
        } else if (arg == "--version") {
            result.action = FindOptions::Action::Version;
            return result;
        } else {
            return usageError("unrecognized option", arg);
        }
    }
    return result;
}

std::string findHelpText()
{
    return "Usage: mrv7k2-find [--json]\n"
           "Checks this PC's network, broadcasts one search for MRV-7K2 units (UDP to\n"
           "255.255.255.255 port 12311), listens 3 seconds for their answers on UDP\n"
           "port 12310 and prints the units that answered.\n"
           "\n"
           "      --json     print every field of every unit, and the PC's values, as JSON\n"
           "  -h, --help     display this help and exit\n"
           "      --version  output version information and exit\n"
           "\n"
           "Exit status: 0 after a scan; 2 when the PC has no usable network, or on a\n"
           "usage error; 3 when UDP port 12310 is held by another program.\n";
}

std::string findVersionText()
{
    return std::string(kProgram) + " (MRV-7K2 setup utility) " + std::string(kVersion) +
           "\n"
           "Copyright (C) " +
           std::string(kCopyright) +
           "\n"
           "License MIT: <https://spdx.org/licenses/MIT.html>.\n"
           "This is free software: you are free to change and redistribute it.\n"
           "There is NO WARRANTY, to the extent permitted by law.\n";
}

} // namespace app
