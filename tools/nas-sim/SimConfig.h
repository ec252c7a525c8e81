#pragma once
// Everything one simulated unit is told on its command line.

#include <QByteArray>
#include <QList>
#include <QString>
#include <array>

enum class SetupEffect
{
    Report,  // only the values the unit reports change
    Address, // the unit's interface really takes the new address (ip addr/route)
    Ignore,  // nothing changes
};

// What the unit says and how it answers discovery and setup requests.
struct UnitConfig
{
    QByteArray identity;               // 17 characters on a real unit; sent as given
    std::array<QByteArray, 10> values; // reply values 0..9, already in CP932
    QByteArray user;
    QByteArray password;
    bool broadcastReply = false; // to 255.255.255.255 instead of the sender's address
    int copies = 1;
    int delayMs = 0;
    bool answerDiscovery = true;
    QList<QByteArray> rawReplies; // sent instead of the reply (or before it)
    bool rawAndReply = false;
    bool answerSetup = true;
    char acceptStatus = '2';
    char badLoginStatus = '0';
    char malformedStatus = '0';
    int setupDelayMs = 0;
    bool setupBroadcastReply = false;
    SetupEffect setupEffect = SetupEffect::Report;
    QString device = QStringLiteral("eth0");
};

// Replies of many made-up units mixed with junk, sent for each discovery
// request.
struct FloodConfig
{
    int count = 0; // datagrams per discovery request; 0: no flood
    int units = 150;
    int ratePerSecond = 5000;
    int maxMs = 10000;
};

// The whole command line: the unit, its flood, and the simulator's own files,
// lifetime and ports.
struct SimConfig
{
    UnitConfig unit;
    FloodConfig flood;
    QString logPath;
    QString readyPath;
    int lifetimeSeconds = 600;
    quint16 listenPort = 12311;
    quint16 replyPort = 12310;
};
