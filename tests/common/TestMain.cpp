// The main of every test program: a Qt application object (widget tests get the
// offscreen platform unless a display was chosen) and a private program folder.
#include <QTemporaryDir>
#ifdef QUILLET_TEST_GUI
#include <QApplication>
#else
#include <QCoreApplication>
#endif

#include <gtest/gtest.h>

#include <cstring>

#include "platform/ProgramFolder.h"

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    for (int i = 1; i < argc; ++i)
        if (std::strcmp(argv[i], "--gtest_list_tests") == 0)
            return RUN_ALL_TESTS(); // listing needs no application (and no display)

#ifdef QUILLET_TEST_GUI
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
#else
    QCoreApplication app(argc, argv);
#endif
    QTemporaryDir folder;
    setProgramFolderForTests(folder.path());
    return RUN_ALL_TESTS();
}
