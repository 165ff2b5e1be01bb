// This build installed with `cmake --install` into temporary prefixes, in the install
// folders it was configured with, and each copy removed by the uninstall it carries.
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "TestSupport.h"

using testing_support::readFile;
using testing_support::writeFile;

namespace {

const QString BinFolder = QUILLET_INSTALL_BINDIR;
const QString DataFolder = QStringLiteral(QUILLET_INSTALL_DATADIR) + "/quillet";

// Runs a program to its end; its output (both channels) goes to Output.
int runTool(const QString& Program, const QStringList& Arguments, QString* Output = nullptr,
            const QString& Stage = {})
{
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove("DESTDIR");
    if (!Stage.isEmpty())
        environment.insert("DESTDIR", Stage);
    process.setProcessEnvironment(environment);
    process.start(Program, Arguments);
    if (!process.waitForFinished(60000))
        return -1;
    const QString output = QString::fromUtf8(process.readAll());
    if (Output)
        *Output = output;
    return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
}

// The files under Folder (links too), as paths relative to it, sorted.
QStringList filesUnder(const QString& Folder)
{
    QStringList files;
    for (QDirIterator it(Folder, QDir::Files | QDir::System | QDir::Hidden, QDirIterator::Subdirectories);
         it.hasNext();)
        files << QDir(Folder).relativeFilePath(it.next());
    files.sort();
    return files;
}

// The empty folders under Folder (itself included), relative to it, sorted.
QStringList emptyFoldersUnder(const QString& Folder)
{
    QStringList folders;
    QDirIterator it(Folder, QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden, QDirIterator::Subdirectories);
    for (QString folder = Folder; !folder.isEmpty(); folder = it.hasNext() ? it.next() : QString())
        if (QDir(folder).isEmpty(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System))
            folders << QDir(Folder).relativeFilePath(folder);
    folders.sort();
    return folders;
}

// The files the install into Prefix listed, relative to Prefix, sorted.
QStringList listedFiles(const QString& Prefix)
{
    const QString data = Prefix + "/" + DataFolder;
    QStringList files;
    for (const QByteArray& line : readFile(data + "/installed-files").split('\n'))
        if (!line.isEmpty() && !line.endsWith('/'))
            files << QDir(Prefix).relativeFilePath(QDir::cleanPath(data + "/" + QFile::decodeName(line)));
    files.sort();
    return files;
}

class Install : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(root.isValid());
        if (QDir::isAbsolutePath(BinFolder) || QDir::isAbsolutePath(DataFolder))
            GTEST_SKIP() << "install folders outside the prefix would be written outside the test's folder";
    }

    // Installs the build into Prefix, in the stage Stage when one is given.
    void install(const QString& Prefix, const QString& Stage = {})
    {
        QString output;
        ASSERT_EQ(runTool(QUILLET_CMAKE, {"--install", QUILLET_BUILD_DIR, "--prefix", Prefix}, &output, Stage), 0)
            << output;
    }

    // Runs the uninstall that the copy at Copy (a prefix, or a prefix in a stage) carries.
    void uninstall(const QString& Copy)
    {
        QString output;
        ASSERT_EQ(runTool(Copy + "/" + DataFolder + "/uninstall", {}, &output), 0) << output;
        EXPECT_EQ(output, "");
    }

    // The prefix holds exactly the files its install listed (and Others), and the
    // program's own files where they were configured to go.
    void expectAWholeCopy(const QString& Prefix, const QStringList& Others = {})
    {
        QStringList expected = listedFiles(Prefix) + Others;
        expected.sort();
        EXPECT_EQ(filesUnder(Prefix), expected) << Prefix;
        for (const QString& file : QStringList{BinFolder + "/quillet", DataFolder + "/default.wav",
                                    DataFolder + "/LOCALE/de/LC_MESSAGES/default.mo", DataFolder + "/uninstall",
                                    QUILLET_INSTALL_DATADIR "/applications/org.example.quillet.desktop"})
            EXPECT_TRUE(expected.contains(file)) << file;
    }

    // What an uninstall leaves: Others' files and the empty folders that were there
    // before the install (Kept), none of the folders it made.
    void expectNoCopy(const QString& Prefix, const QStringList& Others, const QStringList& Kept)
    {
        EXPECT_EQ(filesUnder(Prefix), Others) << Prefix;
        EXPECT_EQ(emptyFoldersUnder(Prefix), Kept) << Prefix;
    }

    QTemporaryDir root;
};

// As ~/.local and /usr/local: the user's events, settings and backups (under the same
// share folder in ~/.local) and another program's menu entry stay.
TEST_F(Install, EachUninstallRemovesItsOwnCopyWhateverWasInstalledBeforeOrAfter)
{
    const QString one = root.filePath("one"), two = root.filePath("two with a space");
    const QStringList others = {QUILLET_INSTALL_DATADIR "/Quillet/Backup/Events.events.bak",
                                QUILLET_INSTALL_DATADIR "/Quillet/Events.events",
                                QUILLET_INSTALL_DATADIR "/applications/other.desktop"};
    // As /usr/local/bin on a fresh Debian.
    const QStringList emptyBefore = {BinFolder};
    for (const bool oneFirst : {true, false}) {
        SCOPED_TRACE(oneFirst ? "one installed first" : "one installed last");
        for (const QString& prefix : {one, two}) {
            QDir(prefix).removeRecursively();
            for (const QString& other : others)
                writeFile(prefix + "/" + other, "kept");
            for (const QString& empty : emptyBefore)
                QDir().mkpath(prefix + "/" + empty);
        }
        install(oneFirst ? one : two);
        install(oneFirst ? two : one);
        install(one); // again, over itself
        expectAWholeCopy(one, others);
        expectAWholeCopy(two, others);

        uninstall(one);
        expectNoCopy(one, others, emptyBefore);
        expectAWholeCopy(two, others);
        uninstall(two);
        expectNoCopy(two, others, emptyBefore);
    }
}

// A stage lists the files by their place in it: its uninstall never reaches the real
// prefix, the staged list is the one the real install writes, and the staged copy
// unpacked elsewhere (as a package) is removed there. The folders a package brings
// are the package manager's to remove.
TEST_F(Install, AStagedCopyIsUninstalledInItsStageAlone)
{
    const QString prefix = root.filePath("usr"), stage = root.filePath("stage");
    install(prefix);
    install(prefix, stage);
    const QString staged = stage + prefix;
    EXPECT_EQ(listedFiles(staged), listedFiles(prefix));
    expectAWholeCopy(staged);

    const QString unpacked = root.filePath("unpacked");
    ASSERT_EQ(runTool("cp", {"-a", staged, unpacked}), 0);
    uninstall(unpacked);
    EXPECT_EQ(filesUnder(unpacked), QStringList());
    expectAWholeCopy(staged);

    uninstall(staged);
    EXPECT_EQ(filesUnder(stage), QStringList());
    EXPECT_FALSE(QFileInfo::exists(staged + "/" + DataFolder));
    expectAWholeCopy(prefix);
    uninstall(prefix);
    EXPECT_FALSE(QFileInfo::exists(prefix));
}

// The installed program finds its catalogues and sounds from its own folder, through
// the path between the configured bin and data folders.
TEST_F(Install, TheInstalledProgramReadsItsFilesFromTheConfiguredDataFolder)
{
    const QString prefix = root.filePath("prefix");
    install(prefix);
    QString usage;
    ASSERT_EQ(runTool(prefix + "/" + BinFolder + "/quillet", {"--help"}, &usage), 0) << usage;
    EXPECT_TRUE(usage.contains("catalogues (LOCALE) and sounds  " + prefix + "/" + DataFolder + "/\n")) << usage;
    EXPECT_FALSE(usage.contains(prefix + "/" + BinFolder + "/Events.events")) << "the user's files in the user's folders";
    EXPECT_FALSE(QFileInfo::exists(qEnvironmentVariable("XDG_CONFIG_HOME") + "/Quillet")) << "named, not made";
    EXPECT_TRUE(readFile(prefix + "/" QUILLET_INSTALL_DATADIR "/applications/org.example.quillet.desktop")
                    .contains("\nExec=\"" + QFile::encodeName(prefix + "/" + BinFolder) + "/quillet\" %f\n"));
}

} // namespace
