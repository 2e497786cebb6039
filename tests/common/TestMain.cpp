// Shared main of every test executable: one TApplication for the whole run,
// with a fixed decimal separator so that number texts are predictable.

#include "platform/Application.h"
#include "platform/Numbers.h"

#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    TApplication app(argc, argv);
    SetApplicationTitle(QStringLiteral("Korvalith - didacticiel V1"));
    SetDecimalSeparator(QLatin1Char('.'));
    SetQuitOnTerminate(false);
    return RUN_ALL_TESTS();
}
