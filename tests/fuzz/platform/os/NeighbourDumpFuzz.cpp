// Any bytes as a received neighbour table dump: reads stay inside the buffer,
// an address is found only where its four bytes are, and a resolved entry at
// the start of a buffer is found whatever follows it.

#include "platform/os/linux/NeighbourDump.h"
#include "tests/testsupport/FuzzDriver.h"

#include <cstdint>
#include <cstring>
#include <linux/neighbour.h>
#include <linux/netlink.h>
#include <linux/rtnetlink.h>
#include <memory>
#include <string_view>
#include <sys/socket.h>

namespace {

// One RTM_NEWNEIGH message: a reachable IPv4 entry for the address.
constexpr std::size_t kEntrySize = NLMSG_LENGTH(sizeof(ndmsg)) + RTA_LENGTH(4);

void writeEntry(unsigned char* out, std::uint32_t address)
{
    std::memset(out, 0, kEntrySize);
    auto* header = reinterpret_cast<nlmsghdr*>(out);
    header->nlmsg_len = kEntrySize;
    header->nlmsg_type = RTM_NEWNEIGH;
    auto* neighbour = static_cast<ndmsg*>(NLMSG_DATA(header));
    neighbour->ndm_family = AF_INET;
    neighbour->ndm_state = NUD_REACHABLE;
    auto* attr = reinterpret_cast<rtattr*>(out + NLMSG_LENGTH(sizeof(ndmsg)));
    attr->rta_len = RTA_LENGTH(4);
    attr->rta_type = NDA_DST;
    std::memcpy(RTA_DATA(attr), &address, 4);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 5)
        return 0;
    const bool entryFirst = data[0] & 1;
    std::uint32_t wanted = 0;
    std::memcpy(&wanted, data + 1, 4);
    const std::size_t restSize = size - 5;
    const std::size_t total = restSize + (entryFirst ? kEntrySize : 0);
    // Exactly the buffer's length (new[] aligns it as a receive buffer), so
    // the sanitizer sees a read past its end.
    std::unique_ptr<unsigned char[]> buffer(new unsigned char[total ? total : 1]);
    if (entryFirst)
        writeEntry(buffer.get(), wanted);
    if (restSize)
        std::memcpy(buffer.get() + total - restSize, data + 5, restSize);

    const platform::NeighbourDumpRead read =
        platform::readNeighbourDump(buffer.get(), total, wanted);
    if (entryFirst)
        fuzz::require(read.found);
    if (read.found) {
        const std::string_view bytes(reinterpret_cast<const char*>(buffer.get()), total);
        fuzz::require(bytes.find(std::string_view(reinterpret_cast<const char*>(&wanted), 4)) !=
                      std::string_view::npos);
    }
    return 0;
}
