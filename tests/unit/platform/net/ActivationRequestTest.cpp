// How the running instance reads a later start's request.

#include "platform/net/ActivationRequest.h"

#include <QTest>
#include <string>

using platform::RequestProgress;

class ActivationRequestTest : public QObject
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
};

QTEST_APPLESS_MAIN(ActivationRequestTest)
#include "ActivationRequestTest.moc"
