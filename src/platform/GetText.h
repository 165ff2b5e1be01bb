#pragma once

#include <QString>

// Translates an English message into the current language; English passes
// through unchanged when no catalogue is loaded or the message has no entry.
QString _(const char* english);
QString _(const QString& english);

namespace translation {

// Loads LOCALE/<code>/LC_MESSAGES/default.mo beside the program and makes it
// current. "en" (or an empty code) returns to the untranslated texts.
// Returns false, keeping the current language, when the catalogue cannot be loaded.
bool setLanguage(const QString& code);

// The ISO 639 code of the current language ("en" when untranslated).
QString currentLanguage();

} // namespace translation
