// Test programs run with a real (offscreen) Qt application, so widgets can be
// created and driven, and with an application folder of their own. Started
// as a child part (tests/support/roles.h), a program plays that part instead
// of its tests.
#include "platform/runtime/app.h"
#include "platform/ui/default_instance.h"
#include "tests/support/roles.h"

#include <QApplication>
#include <QTemporaryDir>

#include <gtest/gtest.h>

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir appDir;
    SetAppPath(appDir.path());
    ::testing::InitGoogleTest(&argc, argv);
    const std::optional<int> parte = roles::Juega(argc, argv);
    const int result = parte ? *parte : RUN_ALL_TESTS();
    ui::DestroyUnloaded();
    return result;
}
