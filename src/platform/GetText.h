#pragma once

#include <QString>

// Translates an English message into the current language; English passes
// through unchanged when no catalogue is loaded or the message has no entry.
QString _(const char* english);
QString _(const QString& english);

// Marks a message that is translated later, where it is used through a variable
// (a table of words): it stays English here, and the catalogues still list it.
#define N_(english) english

namespace translation {

// Loads LOCALE/<code>/LC_MESSAGES/default.mo of the program's files and makes it
// current; the folder's name may differ from the code in letter case. An empty
// code returns to English: the English catalogue when there is one, else the
// untranslated texts.
// Returns false, keeping the current language, when the catalogue cannot be loaded.
bool setLanguage(const QString& code);

// The code of the current language ("en" when untranslated).
QString currentLanguage();

// The ISO 639 code of the system's language (from LANG and the like); "en" for the
// C and POSIX locales, empty when the system names no language.
QString systemLanguageCode();

// The English name of a two-letter ISO 639 language code ("German" for "de");
// empty for a code that is not one.
QString languageName(const QString& code);

// The English message that _() turned into Text in this run, in any language;
// Text itself when it came from no translation.
QString englishSource(const QString& text);

} // namespace translation
