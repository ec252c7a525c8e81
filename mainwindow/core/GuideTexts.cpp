// The guide and main-window texts, each guide text joined from its lines.

#include "mainwindow/core/GuideTexts.h"

#include <initializer_list>
#include <string>

namespace mainwindow {
namespace {

std::string joinLines(std::initializer_list<const char*> lines)
{
    std::string text;
    for (const char* line : lines) {
        if (!text.empty())
            text += "\r\n";
        text += line;
    }
    return text;
}

} // namespace

std::string guideText(int number)
{
    switch (number) {
    case 1:
        return joinLines({
            "本製品をご利用いただきありがとうございます。",
            "本プログラムは、本製品のセットアップにご利用いただけます。",
            "[次へ]をクリックして先に進んでください。",
        });
    case 2:
        return joinLines({
            "電源コードをプラグに差し込んでください。",
            "ACアダプタを電源に接続し、電源ボタンを押してください。",
            "[スタート]ボタンを押してください。",
            "電源/ステータスLEDは、ブート中に点滅します。完了時に点滅が止まります。",
            "[Next]ボタンをクリックしてください。",
        });
    case 3:
        return joinLines({
            "ネットワーク機器に本製品とPCを接続してください。(スイッチやハブ)",
            "イーサネットLEDは、ネットワークに接続すると直ぐに点灯します。(以下の写真の様に)",
            "[次へ]をクリックしてください。",
        });
    case 4:
        return joinLines({
            "NASが検出出来ない場合、",
            "初めに希望するNASを選択してください。",
            "そうすると、NASにてこれを使用できます。",
            "全ての共有を見るために、\"オープン共有\"をクリックしてください。",
            "Web管理を開くために、\"オープンWeb UI\"をクリックしてください。",
            "ネットワーク設定をするために、\"設定 or 次へ\"をクリックしてください。",
        });
    default:
        return {};
    }
}

} // namespace mainwindow
