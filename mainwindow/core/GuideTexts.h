#pragma once
// The texts the main window shows, in UTF-8. The four guide texts are joined
// line by line with CR LF, without a break after the last line.

#include <string>

namespace mainwindow {

// Guide text 1 (welcome) to 4 (device list); any other number gives "".
std::string guideText(int number);

inline constexpr const char* kCloseTitle = "警告";
inline constexpr const char* kCloseQuestion = "本当にプログラムを閉じてよろしいですか？";
inline constexpr const char* kNextCaption = "次へ";
inline constexpr const char* kSettingsCaption = "設定";

} // namespace mainwindow
