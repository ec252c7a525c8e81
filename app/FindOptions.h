#pragma once
// The command line of mrv7k2-find, read the way GNU tools read theirs:
// options are taken in order and the first --help, --version or mistake
// decides. No Qt: the texts are plain UTF-8.

#include <string>
#include <string_view>
#include <vector>

namespace app {

struct FindOptions
{
    enum class Action
    {
        Scan,
        Help,
        Version,
        UsageError
    };
    Action action = Action::Scan;
    bool json = false;
    // For UsageError: one line naming the mistake and --help, without newline.
    std::string error;
};

// Exit status of a usage error, as GNU tools use it.
inline constexpr int kExitUsage = 2;

FindOptions parseFindOptions(const std::vector<std::string_view>& args);
std::string findHelpText();
std::string findVersionText();

} // namespace app
