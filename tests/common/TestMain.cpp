// The main of every test program: a Qt application object (widget tests get the
// offscreen platform unless a display was chosen), a private program folder, and
// private runtime, data and home folders.
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#ifdef QUILLET_TEST_GUI
#include <QApplication>
#else
#include <QCoreApplication>
#endif

#include <gtest/gtest.h>

#include <cstring>

#include "platform/ProgramFolder.h"
#ifdef QUILLET_TEST_GUI
#include "platform/gui/HeldKeyFilter.h"
#endif

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    for (int i = 1; i < argc; ++i)
        if (std::strcmp(argv[i], "--gtest_list_tests") == 0)
            return RUN_ALL_TESTS(); // listing needs no application (and no display)

    // The programs a test starts take their single-instance lock here, never in the
    // user's runtime folder, where a Quillet of the user's own may be running.
    QTemporaryDir runtime(QDir::tempPath() + QStringLiteral("/quillet-runtime-XXXXXX"));
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtime.path()));
    // Files the program keeps in the user's data folder stay out of the user's, as do
    // the recovery files and the defaults under the home that it falls back on.
    QTemporaryDir data;
    qputenv("XDG_DATA_HOME", QFile::encodeName(data.path()));
    QTemporaryDir home;
    qputenv("HOME", QFile::encodeName(home.path()));

#ifdef QUILLET_TEST_GUI
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    keepHeldKeysInTheirWindow(); // as the program does
#else
    QCoreApplication app(argc, argv);
#endif
    QTemporaryDir folder;
    setProgramFolderForTests(folder.path());
    // The desktop's autostart folder too: a test must never touch the user's own.
    qputenv("XDG_CONFIG_HOME", QDir(folder.path()).filePath(QStringLiteral("config")).toUtf8());
    return RUN_ALL_TESTS();
}
