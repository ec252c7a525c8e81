// Writing and reading the activation line, with the token checked character
// by character and the line's length bounded.

#include "platform/net/ActivationRequest.h"

#include <algorithm>
#include <cstddef>
#include <string>
#include <string_view>

namespace platform {
namespace {

constexpr std::string_view kWord = "activate";

} // namespace

bool isAcceptableActivationToken(std::string_view token)
{
    return !token.empty() && token.size() <= kActivationTokenMaxSize &&
           std::all_of(token.begin(), token.end(), [](char c) { return c > ' ' && c < '\x7f'; });
}

std::string encodeActivationRequest(std::string_view token)
{
    std::string line(kWord);
    if (isAcceptableActivationToken(token)) {
        line += ' ';
        line += token;
    }
    line += '\n';
    return line;
}

RequestProgress readActivationRequest(std::string_view received, ActivationRequest* request)
{
    const std::size_t end = received.find('\n');
    if (end == std::string_view::npos)
        return received.size() < kActivationRequestMaxSize ? RequestProgress::Incomplete
                                                           : RequestProgress::Refused;
    if (end >= kActivationRequestMaxSize)
        return RequestProgress::Refused;
    const std::string_view line = received.substr(0, end);
    if (line == kWord) {
        request->token.clear();
        return RequestProgress::Complete;
    }
    if (line.size() <= kWord.size() + 1 || line.substr(0, kWord.size()) != kWord ||
        line[kWord.size()] != ' ')
        return RequestProgress::Refused;
    const std::string_view token = line.substr(kWord.size() + 1);
    if (!isAcceptableActivationToken(token))
        return RequestProgress::Refused;
    request->token.assign(token);
    return RequestProgress::Complete;
}

} // namespace platform
