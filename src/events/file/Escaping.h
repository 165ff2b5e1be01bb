#pragma once

#include <QString>
#include <QStringView>

#include <string>

// "&", "<" and ">" as the entities "&amp;", "&lt;" and "&gt;", so that a text
// can never be taken for markup or for a tag of the event file.
QString escapeMarkup(QStringView Text);
// The reverse; any other "&" stays as it is.
QString unescapeMarkup(QStringView Text);

// escapeMarkup's text appended to Out as UTF-8, in one pass. An unpaired
// surrogate becomes "?", as QString::toUtf8 gives it.
void appendEscapedUtf8(std::string& Out, QStringView Text);
