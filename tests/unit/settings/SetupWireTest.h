#pragma once

#include <QObject>

// The setup request as it goes on the wire and the recognition of the reply.
class SetupWireTest : public QObject
{
    Q_OBJECT

private slots:
    void requestBytes_data();
    void requestBytes();
    void requestLengthLimit();
    void replyMatch_data();
    void replyMatch();
};
