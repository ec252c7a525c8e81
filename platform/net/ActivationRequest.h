#pragma once
// What a later start sends the running instance: one line, "activate", or
// "activate <token>" where the later start was handed an activation token
// by its launcher (Wayland's xdg-activation; the holder needs it to be let
// to take the focus). The line comes from another local process, so it is
// read within a fixed bound and its token is only ever a short run of
// printable ASCII. Standard library only.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace platform {

inline constexpr std::size_t kActivationTokenMaxSize = 255;
// "activate", a space, the longest token, the newline.
inline constexpr std::size_t kActivationRequestMaxSize = 8 + 1 + kActivationTokenMaxSize + 1;

// Printable ASCII without spaces, 1 to kActivationTokenMaxSize bytes.
bool isAcceptableActivationToken(std::string_view token);

// The request line; a token that is not acceptable is left out.
std::string encodeActivationRequest(std::string_view token);

struct ActivationRequest
{
    std::string token; // empty when the later start had none
};

enum class RequestProgress
{
    Incomplete, // no newline yet, and there is room for more
    Complete,
    Refused, // not our request: malformed, or no newline within the bound
};

// Reads what has arrived so far. Bytes after the first newline are not read.
RequestProgress readActivationRequest(std::string_view received, ActivationRequest* request);

} // namespace platform
