// Linux half of the title-only frame, for X11 and for Wayland.

#include "platform/gui/TitleOnlyFrame.h"

#include <QEvent>
#include <QGuiApplication>
#include <QObject>
#include <QWidget>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <xcb/xcb.h>

// X11: Qt's flags cannot ask for a title-only frame, so the Motif hints are
// written again after Qt's own. Wayland: where the compositor draws no frame,
// Qt's own title bar always has minimise, maximise and close buttons; a
// fixed window does not follow its maximise (or a full screen) but goes back
// at once to its own size.
namespace platform {
namespace {

// The Motif window manager hints, as window managers read them.
constexpr std::uint32_t kMwmHintsFunctions = 1U << 0;
constexpr std::uint32_t kMwmHintsDecorations = 1U << 1;
constexpr std::uint32_t kMwmFuncMove = 1U << 2;
constexpr std::uint32_t kMwmDecorBorder = 1U << 1;
constexpr std::uint32_t kMwmDecorTitle = 1U << 3;

xcb_atom_t internAtom(xcb_connection_t* connection, const char* name)
{
    const xcb_intern_atom_cookie_t cookie =
        xcb_intern_atom(connection, 0, static_cast<std::uint16_t>(std::strlen(name)), name);
    // libxcb allocates each reply with malloc(); the caller frees it.
    const std::unique_ptr<xcb_intern_atom_reply_t, decltype(&std::free)> reply(
        xcb_intern_atom_reply(connection, cookie, nullptr), &std::free);
    return reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
}

// Moving is the one function left; the frame is a border and a title.
void writeMotifHints(QWidget* window)
{
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    xcb_connection_t* connection = x11 ? x11->connection() : nullptr;
    if (!connection)
        return;
    const xcb_atom_t motif = internAtom(connection, "_MOTIF_WM_HINTS");
    if (motif == XCB_ATOM_NONE)
        return;
    // flags, functions, decorations, input mode, status
    const std::uint32_t hints[5] = {kMwmHintsFunctions | kMwmHintsDecorations, kMwmFuncMove,
                                    kMwmDecorBorder | kMwmDecorTitle, 0, 0};
    xcb_change_property(connection, XCB_PROP_MODE_REPLACE,
                        static_cast<xcb_window_t>(window->winId()), motif, motif, 32, 5, hints);
    xcb_flush(connection);
}

// Writes the hints each time Qt may have written its own: when the native
// window is made (Qt writes them while making it) and before every show.
class TitleOnlyFrameKeeper : public QObject
{
public:
    explicit TitleOnlyFrameKeeper(QWidget* window) : QObject(window), m_window(window) {}

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched != m_window)
            return false;
        if (event->type() == QEvent::WinIdChange || event->type() == QEvent::Show)
            apply();
        else if (event->type() == QEvent::WindowStateChange && isEnlarged())
            // After the change has been delivered, not inside it.
            QMetaObject::invokeMethod(
                this, [this] { m_window->setWindowState(m_window->windowState() & ~kEnlarged); },
                Qt::QueuedConnection);
        return false;
    }

    void apply()
    {
        if (m_window->testAttribute(Qt::WA_WState_Created) &&
            QGuiApplication::platformName() == QLatin1String("xcb"))
            writeMotifHints(m_window);
    }

private:
    static constexpr Qt::WindowStates kEnlarged = Qt::WindowMaximized | Qt::WindowFullScreen;

    bool isEnlarged() const { return (m_window->windowState() & kEnlarged) != 0; }

    QWidget* m_window;
};

} // namespace

void keepTitleOnlyFrame(QWidget* window)
{
    auto* keeper = new TitleOnlyFrameKeeper(window);
    window->installEventFilter(keeper);
    keeper->apply();
}

} // namespace platform
