// How a later start's request is read by the running instance, and which
// window system the program asks Qt for.

#include "platform/gui/SessionPlatform.h"
#include "platform/net/ActivationRequest.h"

#include <QTest>
#include <string>

using platform::RequestProgress;

class SessionHandOverTest : public QObject
{
    Q_OBJECT

private slots:
    void requestsRoundTripAndHostileLinesAreRefused()
    {
        const auto read = [](const std::string& bytes, std::string* token = nullptr) {
            platform::ActivationRequest request{"stale"};
            const RequestProgress progress = platform::readActivationRequest(bytes, &request);
            if (token)
                *token = request.token;
            return progress;
        };
        std::string token;
        QCOMPARE(read(platform::encodeActivationRequest(""), &token), RequestProgress::Complete);
        QCOMPARE(token, std::string());
        const std::string longest(platform::kActivationTokenMaxSize, 'k');
        QCOMPARE(read(platform::encodeActivationRequest(longest) + "junk", &token),
                 RequestProgress::Complete);
        QCOMPARE(token, longest);
        // A token the later start could not pass on safely is left out.
        QCOMPARE(platform::encodeActivationRequest("a b\n"), std::string("activate\n"));
        QCOMPARE(platform::encodeActivationRequest(longest + "k"), std::string("activate\n"));

        QCOMPARE(read("activate sway/1"), RequestProgress::Incomplete);
        QCOMPARE(read(std::string(platform::kActivationRequestMaxSize - 1, 'a')),
                 RequestProgress::Incomplete);
        for (const std::string& hostile :
             {std::string(platform::kActivationRequestMaxSize, 'a'), std::string("activate \n"),
              std::string("activatex\n"), std::string("activate a b\n"),
              std::string("activate \x1b[2J\n"), std::string("activate \xe3\x81\x82\n"),
              std::string("activate ") + longest + "k\n", std::string("\n")})
            QCOMPARE(read(hostile), RequestProgress::Refused);
    }

    void x11IsAskedForOnlyWhereOfferedAndNotChosen()
    {
        QCOMPARE(platform::platformToRequest("", "wayland-0", ":0"), "xcb;wayland");
        QCOMPARE(platform::platformToRequest("wayland", "wayland-0", ":0"), "");
        QCOMPARE(platform::platformToRequest("", "wayland-0", ""), "");
        QCOMPARE(platform::platformToRequest("", "", ":0"), "");
    }
};

QTEST_APPLESS_MAIN(SessionHandOverTest)
#include "SessionHandOverTest.moc"
