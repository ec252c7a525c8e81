#include "AddressChoiceTest.h"
#include "SetupWireTest.h"

#include <QTest>

int main(int argc, char** argv)
{
    int failures = 0;
    {
        SetupWireTest test;
        failures += QTest::qExec(&test, argc, argv);
    }
    {
        AddressChoiceTest test;
        failures += QTest::qExec(&test, argc, argv);
    }
    return failures == 0 ? 0 : 1;
}
