#pragma once
// Texts the user sees about the network, in UTF-8.

namespace discovery::messages {

inline constexpr const char* kErrorTitle = "エラー";
inline constexpr const char* kNotConnected =
    "このPCは、LANに接続されていません。\nLANに接続後、もう一度お試しください。";
inline constexpr const char* kNoNetwork = "ネットワーク接続を見つけることが出来ません。";
inline constexpr const char* kReplyPortInUse =
    "UDPポート12310を使用できません。\n他のプログラムが使用していないか確認してください。";
inline constexpr const char* kReplyPortReserved =
    "UDPポート12310を使用できません。\nこのポートはシステムによって予約されています。";

} // namespace discovery::messages
