#pragma once

#include <QString>

// The event file's tag search: tags are matched as plain text, ASCII letters
// without regard to case, always at their first occurrence in the whole text.
// An element counts as found only when both its start and its end tag occur.

// Found: Value is the text between the tags (empty when the end tag does not
// follow the start tag) and Rest the text before the start tag followed by the
// text after the end tag. Not found: Value is empty and Rest is Text.
void ExtractElementBetween(const QString& StartTag, const QString& EndTag, const QString& Text, QString& Rest,
                           QString& Value);

// ExtractElementBetween with "<Tag>" and "</Tag>".
void ExtractTagValue(const QString& Tag, const QString& Text, QString& Rest, QString& Value);

// The inner text, or with IncludeTags the whole element; empty when not found.
void ExtractElement(const QString& Text, const QString& StartTag, const QString& EndTag, bool IncludeTags,
                    QString& Value);
