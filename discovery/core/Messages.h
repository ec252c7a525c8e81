#pragma once
// Texts the user sees about the network, in UTF-8.

#include <string>
#include <string_view>

namespace discovery::messages {

inline constexpr const char* kErrorTitle = "エラー";
inline constexpr const char* kNotConnected =
    "このPCは、LANに接続されていません。\nLANに接続後、もう一度お試しください。";
inline constexpr const char* kNoNetwork = "ネットワーク接続を見つけることが出来ません。";
inline constexpr const char* kReplyPortInUse =
    "UDPポート12310を使用できません。\n他のプログラムが使用していないか確認してください。";
inline constexpr const char* kReplyPortReserved =
    "UDPポート12310を使用できません。\nこのポートはシステムによって予約されています。";

// message, and when the system named the holder of the port, a line naming
// its program and user. Both names come from other processes: each is cut to
// 64 bytes, and control, invisible and direction characters and broken UTF-8
// become "?".
std::string withPortOwner(const char* message, std::string_view user, std::string_view program);

} // namespace discovery::messages
