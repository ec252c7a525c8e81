#pragma once
// Memory that holds a secret: kept out of swap while it lives, and a process
// that holds secrets cannot be dumped or inspected by its own user's tools.

#include <cstddef>

namespace platform {

// Keeps the pages of the range in memory. False where the system refuses
// (over the user's limit): the secret is still wiped, just not kept from swap.
bool lockSecretMemory(void* data, std::size_t size);
void unlockSecretMemory(void* data, std::size_t size);

// No core dump, and no attaching or reading of our memory by processes of
// the same user. Call first thing in main().
void forbidProcessInspection();

} // namespace platform
