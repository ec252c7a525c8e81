#pragma once
// Texts the settings dialog shows, in UTF-8. Its error boxes take the
// program's one error title, discovery::messages::kErrorTitle.

namespace settings::messages {

inline constexpr const char* kBadAddress = "\"IPアドレス\"セットアップエラー";
inline constexpr const char* kBadMask = "サブネットマスク\"セットアップエラー";
inline constexpr const char* kBadGateway = "\"デフォルトゲートウェイ\"セットアップエラー";
inline constexpr const char* kNoFreeAddress = "使用している範囲のIPを検出できません。";
inline constexpr const char* kCredentialsTooLong = "ユーザ名またはパスワードが長すぎます。";
inline constexpr const char* kRequestPortInUse =
    "UDPポート12311をこのPCの他のプログラムが使用しています。\n"
    "設定要求にはパスワードが含まれるため、送信しませんでした。";
inline constexpr const char* kSuccessTitle = "OK";
inline constexpr const char* kSuccess = "NASセットアップ成功";
inline constexpr const char* kFailureTitle = "Error";
inline constexpr const char* kFailure = "NASセットアップ失敗";

} // namespace settings::messages
