#pragma once

#include <QString>
#include <QStringView>

// "&", "<" and ">" as the entities "&amp;", "&lt;" and "&gt;", so that a text
// can never be taken for markup or for a tag of the event file.
QString escapeMarkup(QStringView Text);
// The reverse; any other "&" stays as it is.
QString unescapeMarkup(QStringView Text);
