// Parsing one discovery reply: the quoted values counted and copied into a
// new record; a unit already in the table (the same identity) is not added
// twice, and a full table takes no more.

#include "discovery/core/DiscoveryReply.h"

#include "discovery/core/DeviceRecord.h"
#include "discovery/core/DeviceTable.h"
#include "discovery/core/FixedText.h"
#include "platform/core/DottedQuad.h"

#include <array>
#include <cstring>
#include <string_view>

namespace discovery {
namespace {

constexpr std::size_t kIdentityOffset = 5;
constexpr std::size_t kIdentityLength = 17;

// The identity compare: zero-terminated texts over at most 17 bytes.
bool sameIdentity(std::string_view identity, const char (&stored)[kMacAddressSize])
{
    for (std::size_t i = 0; i < kIdentityLength; ++i) {
        const char a = i < identity.size() ? identity[i] : '\0';
        const char b = stored[i];
        if (a != b)
            return false;
        if (a == '\0')
            return true;
    }
    return true;
}

} // namespace

ReplyOutcome ParseDiscoveryReply(const unsigned char* buffer, std::size_t length,
                                 DeviceTable& table, std::string_view pcSubnetMask)
{
    if (length > kReceiveBufferSize)
        length = kReceiveBufferSize;
    std::size_t textLength = 0;
    while (textLength < length && buffer[textLength] != 0)
        ++textLength;
    const std::string_view text(reinterpret_cast<const char*>(buffer), textLength);

    if (text.substr(0, kDiscoveryReplyPrefix.size()) != kDiscoveryReplyPrefix)
        return ReplyOutcome::NotAReply;

    std::array<std::size_t, kApostrophesKept> quotes{};
    std::size_t quoteCount = 0;
    for (std::size_t i = 0; i < text.size() && quoteCount < quotes.size(); ++i)
        if (text[i] == '\'')
            quotes[quoteCount++] = i;

    const auto value = [&](std::size_t k) {
        const std::size_t open = quotes[2 * k];
        const std::size_t close = quotes[2 * k + 1];
        return text.substr(open + 1, close - open - 1);
    };

    // Values 0 to 6 need 14 apostrophes; a disk model brings 7 to 9 as well.
    if (quoteCount < 14)
        return ReplyOutcome::Malformed;
    const bool hasDiskModel = !value(6).empty();
    if (hasDiskModel && quoteCount < 20)
        return ReplyOutcome::Malformed;

    const std::string_view identity = text.size() > kIdentityOffset
                                          ? text.substr(kIdentityOffset, kIdentityLength)
                                          : std::string_view();
    for (int n = 1; n <= table.DeviceCount && n <= kMaxRecords; ++n)
        if (sameIdentity(identity, table.slot[n].MacAddress))
            return ReplyOutcome::Duplicate;
    if (table.DeviceCount < 0 || table.DeviceCount >= kMaxRecords)
        return ReplyOutcome::TableFull;

    DeviceRecord& r = table.slot[++table.DeviceCount];
    std::memset(&r, 0, sizeof r);
    copyText(r.MacAddress, identity);
    copyText(r.IpAddress, value(0));
    copyText(r.SubnetMask, value(1));
    copyText(r.GatewayAddress, value(2));
    copyText(r.HostName, value(3));
    copyText(r.HostAux, value(4));
    r.NetworkAddress = platform::inetAddr(textOf(r.IpAddress)) & platform::inetAddr(pcSubnetMask);
    copyText(r.DiskModel, value(6));
    if (!hasDiskModel) {
        copyText(r.DiskAux, "0");
        copyText(r.DiskCapacity, "0");
        copyText(r.DiskFree, "0");
    } else {
        copyText(r.DiskAux, value(7));
        copyText(r.DiskCapacity, value(8));
        copyText(r.DiskFree, value(9));
    }
    return ReplyOutcome::Added;
}

} // namespace discovery
