// Test driver for the settings dialog in the lab (runs inside the lab's pc
// namespace only): checks the PC's network, scans once, opens Form3 for the
// unit with the given identity, fills it as an administrator would, presses
// OK and prints what happened as one JSON object.
//
//   form3-lab-driver --identity ID (--auto | --manual ADDR MASK GW)
//                    [--user U] [--password P] [--reply-wait MS] [--shots DIR]
//                    [--forget-arrival]
//
// --forget-arrival: the unit's record no longer knows the adapter its reply
// came in by.

#include "discovery/DiscoveryExchange.h"
#include "discovery/LocalNetworkCheck.h"
#include "discovery/core/DeviceTable.h"
#include "discovery/core/FixedText.h"
#include "platform/gui/SecretEdit.h"
#include "platform/os/Privileges.h"
#include "settings/Form3.h"
#include "settings/IcmpAddressProber.h"
#include "tests/testsupport/MessageBoxCatcher.h"
#include "widgets/TIPAddressControl.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFont>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <cstdio>
#include <memory>
#include <qtestsupport_core.h>
#include <string>

namespace {

// The dialog's echo client, counted and timed for the report.
class CountingProber : public settings::AddressProber
{
public:
    void echo(const std::string& host, int receiveTimeoutMs, const ReplyHandler& onReply) override
    {
        asked.append(QString::fromStdString(host));
        m_inner.echo(host, receiveTimeoutMs, onReply);
    }
    QStringList asked;

private:
    settings::IcmpAddressProber m_inner;
};

// Under a real X server, the whole screen as a person sees it.
void screenShot(const QString& path)
{
    if (qEnvironmentVariableIsEmpty("DISPLAY") || QGuiApplication::platformName() != "xcb")
        return;
    QCoreApplication::processEvents();
    QProcess::execute(QStringLiteral("import"), {"-window", "root", path});
}

void fail(const char* why)
{
    std::fprintf(stderr, "form3-lab-driver: %s\n", why);
    std::exit(1);
}

} // namespace

int main(int argc, char** argv)
{
    // As the window program does; it finds the helper only where a test has
    // put one beside it (../libexec/mrv7k2-setup/).
    platform::startIcmpHelperIfNeeded();
    QApplication app(argc, argv);
    QFont::insertSubstitution(QStringLiteral("ＭＳ ゴシック"), QStringLiteral("IPAGothic"));
    QFont::insertSubstitution(QStringLiteral("ＭＳ Ｐゴシック"), QStringLiteral("IPAPGothic"));

    QString identity, user, password, shots;
    QStringList manual;
    bool automatic = false;
    bool forgetArrival = false;
    int replyWait = settings::kReplyWaitMs;
    const QStringList args = app.arguments();
    for (int i = 1; i < args.size(); ++i) {
        const QString& a = args[i];
        auto next = [&]() -> QString {
            if (i + 1 >= args.size())
                fail("missing value");
            return args[++i];
        };
        if (a == "--identity")
            identity = next();
        else if (a == "--auto")
            automatic = true;
        else if (a == "--manual")
            manual = {next(), next(), next()};
        else if (a == "--user")
            user = next();
        else if (a == "--password")
            password = next();
        else if (a == "--reply-wait")
            replyWait = next().toInt();
        else if (a == "--shots")
            shots = next();
        else if (a == "--forget-arrival")
            forgetArrival = true;
        else
            fail("unknown option");
    }
    if (identity.isEmpty() || (!automatic && manual.isEmpty()))
        fail("usage: --identity ID (--auto | --manual ADDR MASK GW)");

    static discovery::DeviceTable table{};
    static discovery::PcNetworkValues pc{};
    const auto adapters = discovery::CheckLocalNetwork(pc);
    if (pc.NetworkState != discovery::NetworkOk)
        fail("the PC has no usable network");

    // One scan, as the main window runs before the dialog can be opened.
    discovery::DiscoveryExchange scan(table, pc);
    scan.setAdapters(adapters);
    QEventLoop scanLoop;
    QObject::connect(&scan, &discovery::DiscoveryExchange::scanEnded, &scanLoop, &QEventLoop::quit);
    scan.StartScan();
    scanLoop.exec();
    int selected = -1;
    for (int n = 1; n <= table.DeviceCount; ++n) {
        if (discovery::textOf(table.record(n)->MacAddress) == identity.toStdString())
            selected = n - 1;
    }
    if (selected < 0)
        fail("the unit was not found by the scan");
    // As the main window does: the unit is judged and set up by the network of
    // the adapter its reply came in by.
    static discovery::PcNetworkValues own{};
    own = discovery::unitNetworkValues(pc, adapters, table.record(selected + 1)->ArrivalInterface);
    discovery::markRecordFlags(*table.record(selected + 1), own.PcNetwork);
    if (forgetArrival)
        table.record(selected + 1)->ArrivalInterface = 0;

    settings::Form3 form(table, own, [selected] { return selected; });
    auto prober = std::make_unique<CountingProber>();
    CountingProber* counting = prober.get();
    form.setAddressProber(std::move(prober));

    MessageBoxCatcher boxes;
    QElapsedTimer clock;
    qint64 searchMs = -1;
    qint64 resultMs = -1;
    QObject::connect(&form, &settings::Form3::phaseChanged, [&](settings::Form3::Phase phase) {
        if (phase == settings::Form3::Phase::Searching && !shots.isEmpty())
            QTimer::singleShot(700, [&] { screenShot(shots + "/screen-searching.png"); });
        if (phase == settings::Form3::Phase::Awaiting && searchMs < 0)
            searchMs = clock.elapsed();
        if (phase == settings::Form3::Phase::Idle)
            resultMs = clock.elapsed();
    });
    if (!shots.isEmpty()) {
        QDir().mkpath(shots);
        boxes.setBeforeClose([&](const MessageBoxCatcher::Box&) {
            form.grab().save(shots + "/dialog-at-result.png");
            screenShot(shots + "/screen-at-result.png");
            for (QWidget* w : QApplication::topLevelWidgets())
                if (w != &form && w->isVisible() && w->inherits("QMessageBox"))
                    w->grab().save(shots + "/result-box.png");
        });
    }

    form.show();
    const bool otherSubnet = table.record(selected + 1)->OtherSubnet != 0;
    if (!automatic) {
        form.findChild<QRadioButton*>("RBtnManualSetupIP")->setChecked(true);
        const char* names[] = {"IPAddressControl", "MaskAddressControl", "GatewayAddressControl"};
        for (int k = 0; k < 3; ++k)
            form.findChild<widgets::TIPAddressControl*>(names[k])->SetIPAddr(manual[k]);
    } else if (!otherSubnet) {
        fail("automatic mode is offered only for a unit outside the subnet");
    }
    form.findChild<QLineEdit*>("Edit1")->setText(user);
    form.findChild<platform::SecretEdit*>("Edit2")->type(password);
    if (!shots.isEmpty()) {
        form.grab().save(shots + "/dialog-filled.png");
        screenShot(shots + "/screen-filled.png");
    }
    form.Timer1()->setInterval(replyWait);

    clock.start();
    QTimer::singleShot(0, &form, [&form] { form.findChild<QPushButton*>("Button1")->click(); });
    // Every attempt ends in a result box, shown once the dialog is idle again
    // and answered by the catcher; the dialog closes (or stays) before this
    // wait sees it. Bounded: the longest search (254 probes) plus the reply wait.
    const bool finished = QTest::qWaitFor(
        [&] { return form.phase() == settings::Form3::Phase::Idle && !boxes.boxes().isEmpty(); },
        200000 + replyWait);
    if (!finished)
        fail("the dialog did not finish in time");

    QJsonArray shown;
    for (const auto& box : boxes.boxes())
        shown.append(QJsonObject{{"title", box.title}, {"text", box.text}});
    QJsonObject out{
        {"unitOutsideSubnet", otherSubnet},
        {"automatic", automatic},
        {"accepted", form.result() == QDialog::Accepted && !form.isVisible()},
        {"dialogOpen", form.isVisible()},
        {"boxes", shown},
        {"NewAddress", QString::fromLatin1(form.NewAddress())},
        {"NewMask", QString::fromLatin1(form.NewMask())},
        {"NewGateway", QString::fromLatin1(form.NewGateway())},
        {"probed", QJsonArray::fromStringList(counting->asked)},
        {"searchMs", searchMs},
        {"resultMs", resultMs},
        {"buttonsEnabled", form.findChild<QPushButton*>("Button1")->isEnabled() &&
                               form.findChild<QPushButton*>("Button2")->isEnabled()},
    };
    std::printf("%s\n", QJsonDocument(out).toJson(QJsonDocument::Compact).constData());
    return 0;
}
