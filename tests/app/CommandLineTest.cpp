// The command line: the event file it names, the options answered at once and the
// ones refused, through the parser and through the built program.
#include <QCoreApplication>
#include <QDir>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "TestSupport.h"
#include "app/CommandLine.h"

namespace {

using Request = CommandLine::Request;

TEST(CommandLine, TheFirstArgumentNamesTheEventFileAndOptionsAreAnsweredOrRefused)
{
    const struct {
        QStringList arguments;
        Request action;
        QString refused;
    } cases[] = {
        {{}, Request::Run, {}},
        {{"plans.events"}, Request::Run, {}},
        {{"./-x"}, Request::Run, {}},
        {{"/tmp/--help"}, Request::Run, {}},
        {{"--help"}, Request::Usage, {}},
        {{"-h"}, Request::Usage, {}},
        {{"plans.events", "--help"}, Request::Usage, {}},
        {{"-x", "-h"}, Request::Usage, {}},
        {{"--version"}, Request::Version, {}},
        {{"-x"}, Request::Refused, "-x"},
        {{"--helper"}, Request::Refused, "--helper"},
        {{"-"}, Request::Refused, "-"},
        {{"plans.events", "-v", "--all"}, Request::Refused, "-v"},
    };
    for (const auto& [arguments, action, refused] : cases) {
        SCOPED_TRACE(arguments.join(' ').toStdString());
        const CommandLine line = parseCommandLine(arguments);
        EXPECT_EQ(line.Action, action);
        EXPECT_EQ(line.RefusedOption, refused);
    }
}

struct ProgramRun {
    int ExitCode = -1;
    QString Output;
    QString Errors;
};

// The built program, started in Folder with Arguments; its user folders are the test's.
ProgramRun runProgram(const QString& Folder, const QStringList& Arguments)
{
    QProcess program;
    program.setWorkingDirectory(Folder);
    program.start(QCoreApplication::applicationDirPath() + "/quillet", Arguments);
    ProgramRun run;
    if (!program.waitForFinished(30000)) {
        program.kill();
        program.waitForFinished();
        return run;
    }
    run.ExitCode = program.exitStatus() == QProcess::NormalExit ? program.exitCode() : -1;
    run.Output = QString::fromLocal8Bit(program.readAllStandardOutput());
    run.Errors = QString::fromLocal8Bit(program.readAllStandardError());
    return run;
}

// None of them starts the window or makes a file where it was started.
TEST(CommandLine, TheProgramPrintsItsUsageAndVersionAndRefusesUnknownOptions)
{
    QTemporaryDir folder;
    const QString usage = "Usage: quillet [EVENT-FILE]";
    for (const QString help : {"--help", "-h"}) {
        const ProgramRun run = runProgram(folder.path(), {help});
        EXPECT_EQ(run.ExitCode, 0) << help;
        EXPECT_TRUE(run.Output.startsWith(usage)) << run.Output;
        EXPECT_TRUE(run.Output.contains(QCoreApplication::applicationDirPath() + "/Events.events")) << run.Output;
    }
    const ProgramRun version = runProgram(folder.path(), {"--version"});
    EXPECT_EQ(version.ExitCode, 0);
    EXPECT_EQ(version.Output, "Quillet " QUILLET_VERSION "\n");

    for (const QStringList& arguments : {QStringList{"-x"}, QStringList{"--verbose", "plans.events"}}) {
        const ProgramRun run = runProgram(folder.path(), arguments);
        EXPECT_EQ(run.ExitCode, 2) << arguments.join(' ');
        EXPECT_TRUE(run.Errors.contains("quillet: unknown option " + arguments[0] + "\n\n" + usage)) << run.Errors;
        EXPECT_EQ(run.Output, "");
    }
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden), QStringList());
}

} // namespace
