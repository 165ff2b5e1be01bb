#pragma once

#include <QString>

#include "ShellOpener.h"

// Opens files the Linux way: an executable file that names its interpreter ("#!")
// runs directly, "bat" and "sh" files run under /bin/sh, anything else goes to
// the desktop's opener (xdg-open), which hands it to the program chosen for it.
class SystemShellOpener : public ShellOpener {
public:
    // openerProgram is looked up on PATH unless it is a path.
    explicit SystemShellOpener(QString openerProgram = QStringLiteral("xdg-open"));

    ShellOpenResult openAndWait(const QString& fileName, const QString& parameters, const QString& directory,
                                int showCmd) override;

private:
    QString FOpenerProgram;
};
