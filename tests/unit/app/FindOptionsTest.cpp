// mrv7k2-find's command line: the first --help, --version or mistake decides,
// and a mistake names itself and --help on one line.

#include "app/FindOptions.h"

#include "app/ProjectInfo.h"

#include <QTest>
#include <string>
#include <string_view>
#include <vector>

using app::FindOptions;
using Action = FindOptions::Action;

class FindOptionsTest : public QObject
{
    Q_OBJECT

private slots:
    void decides();
    void decides_data();
    void versionTextCarriesTheBuildVersion();
};

void FindOptionsTest::decides_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<int>("action");
    QTest::addColumn<bool>("json");
    QTest::addColumn<QString>("error");

    const QString hint = QStringLiteral("; try 'mrv7k2-find --help'");
    QTest::newRow("none") << QStringList{} << int(Action::Scan) << false << QString();
    QTest::newRow("json") << QStringList{"--json"} << int(Action::Scan) << true << QString();
    QTest::newRow("json twice") << QStringList{"--json", "--json"} << int(Action::Scan) << true
                                << QString();
    QTest::newRow("help after json")
        << QStringList{"--json", "-h"} << int(Action::Help) << true << QString();
    QTest::newRow("version wins over a later mistake")
        << QStringList{"--version", "--bogus"} << int(Action::Version) << false << QString();
    QTest::newRow("mistake wins over a later help")
        << QStringList{"--x", "--help"} << int(Action::UsageError) << false
        << "mrv7k2-find: unrecognized option '--x'" + hint;
    QTest::newRow("option with a value is not --json")
        << QStringList{"--json=1"} << int(Action::UsageError) << false
        << "mrv7k2-find: unrecognized option '--json=1'" + hint;
    QTest::newRow("operand") << QStringList{"eth0"} << int(Action::UsageError) << false
                             << "mrv7k2-find: extra operand 'eth0'" + hint;
    QTest::newRow("after --") << QStringList{"--", "--json"} << int(Action::UsageError) << false
                              << "mrv7k2-find: extra operand '--json'" + hint;
}

void FindOptionsTest::decides()
{
    QFETCH(QStringList, args);
    std::vector<std::string> storage;
    for (const QString& a : args)
        storage.push_back(a.toStdString());
    const FindOptions options =
        app::parseFindOptions(std::vector<std::string_view>(storage.begin(), storage.end()));

    QTEST(int(options.action), "action");
    QTEST(options.json, "json");
    QTEST(QString::fromStdString(options.error), "error");
    QVERIFY(options.error.find('\n') == std::string::npos);
}

void FindOptionsTest::versionTextCarriesTheBuildVersion()
{
    const std::string text = app::findVersionText();
    QVERIFY(text.starts_with("mrv7k2-find (MRV-7K2 setup utility) " + std::string(app::kVersion) +
                             "\n"));
    QVERIFY(!app::kVersion.empty());
    QVERIFY(app::findHelpText().find("--version") != std::string::npos);
}

QTEST_APPLESS_MAIN(FindOptionsTest)
#include "FindOptionsTest.moc"
