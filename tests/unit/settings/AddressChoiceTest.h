#pragma once

#include <QObject>

// Which addresses the automatic mode tries, and what the manual mode proposes.
class AddressChoiceTest : public QObject
{
    Q_OBJECT

private slots:
    void candidates_data();
    void candidates();
    void manualProposal_data();
    void manualProposal();
};
