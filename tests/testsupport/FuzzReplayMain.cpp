// Replays a fuzz driver over files: every seed and every saved crash
// reproducer, so an ordinary test run keeps them passing.

#include "tests/testsupport/FuzzDriver.h"

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

namespace fs = std::filesystem;

static int replayFile(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
    return 1;
}

int main(int argc, char** argv)
{
    int files = 0;
    for (int i = 1; i < argc; ++i) {
        const fs::path root(argv[i]);
        if (fs::is_regular_file(root)) {
            files += replayFile(root);
            continue;
        }
        if (!fs::is_directory(root))
            continue;
        for (const auto& entry : fs::recursive_directory_iterator(root))
            if (entry.is_regular_file())
                files += replayFile(entry.path());
    }
    // Empty input too: the driver must take it.
    LLVMFuzzerTestOneInput(nullptr, 0);
    std::printf("replayed %d inputs\n", files);
    return files > 0 ? 0 : 1;
}
