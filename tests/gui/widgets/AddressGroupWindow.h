#pragma once
// A window laid out like the settings dialog's address group: a 306 x 105
// group box holding three labels and three address controls at their stored
// places (176, 18 / 43 / 69; 121 x 23), the controls in "ＭＳ Ｐゴシック" 12 px
// applied after the geometry, as a compiled form applies them.

#include "widgets/TIPAddressControl.h"

#include <QFont>
#include <QGroupBox>
#include <QLabel>
#include <QWidget>
#include <array>

struct AddressGroupWindow
{
    QWidget window;
    QGroupBox* group = nullptr;
    std::array<widgets::TIPAddressControl*, 3> controls{};

    static void substituteJapaneseFaces()
    {
        QFont::insertSubstitution(QString::fromUtf8("ＭＳ Ｐゴシック"),
                                  QStringLiteral("IPAPGothic"));
        QFont::insertSubstitution(QString::fromUtf8("ＭＳ ゴシック"), QStringLiteral("IPAGothic"));
    }

    AddressGroupWindow()
    {
        window.setWindowTitle(QString::fromUtf8("設定"));
        window.resize(328, 160);
        QFont dialogFont(QString::fromUtf8("ＭＳ ゴシック"));
        dialogFont.setPixelSize(12);
        window.setFont(dialogFont);

        group = new QGroupBox(&window);
        group->setGeometry(15, 44, 306, 105);
        const char* labels[] = {"IPアドレス:", "サブネットマスク:", "デフォルトゲートウェイ:"};
        const int labelTops[] = {23, 48, 74};
        const int controlTops[] = {18, 43, 69};
        const char* names[] = {"IPAddressControl", "MaskAddressControl", "GatewayAddressControl"};
        QFont bold = dialogFont;
        bold.setBold(true);
        QFont controlFont(QString::fromUtf8("ＭＳ Ｐゴシック"));
        controlFont.setPixelSize(12);
        for (int i = 0; i < 3; ++i) {
            auto* label = new QLabel(QString::fromUtf8(labels[i]), group);
            label->setFont(bold);
            label->move(15, labelTops[i]);
            label->adjustSize();
            auto* control = new widgets::TIPAddressControl(group);
            control->setObjectName(QString::fromLatin1(names[i]));
            control->setGeometry(176, controlTops[i], 121, 23);
            control->setFont(controlFont);
            controls[static_cast<std::size_t>(i)] = control;
        }
    }
};
