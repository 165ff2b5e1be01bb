#include "FileVersion.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QRegularExpression>

TFileVersion ProgramFileVersion()
{
#ifdef QUILLET_VERSION_BUILD
    constexpr int build = QUILLET_VERSION_BUILD;
#else
    constexpr int build = 0;
#endif
    return {QUILLET_VERSION_MAJOR, QUILLET_VERSION_MINOR, QUILLET_VERSION_PATCH, build};
}

QString FormatFileVersion(const QString& Template, const TFileVersion& Version)
{
    QString result = Template;
    result.replace(QStringLiteral("@A"), QString::number(Version.Major), Qt::CaseInsensitive);
    result.replace(QStringLiteral("@B"), QString::number(Version.Minor), Qt::CaseInsensitive);
    result.replace(QStringLiteral("@C"), QString::number(Version.Release), Qt::CaseInsensitive);
    result.replace(QStringLiteral("@D"), QString::number(Version.Build), Qt::CaseInsensitive);
    return result;
}

QString GetFileVersionString(const QString& FileName, const QString& Template)
{
    const QString file = QFileInfo(FileName).canonicalFilePath();
    if (file.isEmpty() || file != QFileInfo(QCoreApplication::applicationFilePath()).canonicalFilePath())
        return {};
    return FormatFileVersion(Template, ProgramFileVersion());
}

QString ExtractFileNameNoExt(const QString& FileName)
{
    const QString name = FileName.mid(FileName.lastIndexOf(QLatin1Char('/')) + 1);
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    return dot < 0 ? name : name.left(dot);
}

QString exportFileName(const QString& EventFileName)
{
    static const QRegularExpression extension(QStringLiteral("\\.events"),
                                              QRegularExpression::CaseInsensitiveOption);
    const QString page = QString(EventFileName).replace(extension, QStringLiteral(".html"));
    // The page must never be written over the event file itself.
    return page == EventFileName ? EventFileName + QStringLiteral(".html") : page;
}
