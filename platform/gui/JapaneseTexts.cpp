// A translator that answers Qt's edit-field context menu words in Japanese.

#include "platform/gui/JapaneseTexts.h"

#include <QCoreApplication>
#include <QTranslator>
#include <array>
#include <cstring>

namespace platform {
namespace {

struct Text
{
    const char* source; // as Qt writes it, & before the access key
    const char* japanese;
};

// The same words under both contexts: one-line fields and text boxes.
constexpr std::array kEditMenu = {
    Text{"&Undo", "元に戻す(&U)"},        Text{"&Redo", "やり直し(&R)"},
    Text{"Cu&t", "切り取り(&T)"},         Text{"&Copy", "コピー(&C)"},
    Text{"&Paste", "貼り付け(&P)"},       Text{"Delete", "削除(&D)"},
    Text{"Select All", "すべて選択(&A)"}, Text{"Copy &Link Location", "リンクのコピー(&L)"},
};

class JapaneseTranslator : public QTranslator
{
public:
    using QTranslator::QTranslator;

    QString translate(const char* context, const char* sourceText, const char* disambiguation,
                      int n) const override
    {
        Q_UNUSED(disambiguation);
        Q_UNUSED(n);
        if (!context || !sourceText ||
            (std::strcmp(context, "QLineEdit") != 0 &&
             std::strcmp(context, "QWidgetTextControl") != 0))
            return {};
        for (const Text& text : kEditMenu)
            if (std::strcmp(sourceText, text.source) == 0)
                return QString::fromUtf8(text.japanese);
        return {};
    }

    bool isEmpty() const override { return false; }
};

} // namespace

void installJapaneseTexts()
{
    // Owned by the application object, which outlives every window.
    QCoreApplication::installTranslator(new JapaneseTranslator(QCoreApplication::instance()));
}

} // namespace platform
