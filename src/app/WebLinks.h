#pragma once

#include <QString>

// The addresses that the Help menu and the About box open, kept in one place.
namespace weblinks {

inline const QString WebSite = QStringLiteral("https://quillet.example.org/");
inline const QString DonationsPage = QStringLiteral("https://quillet.example.org/donate/");
inline const QString Forum = QStringLiteral("https://quillet.example.org/forum/");
inline const QString ProductPage = QStringLiteral("https://quillet.example.org/quillet/");
inline const QString DownloadPage = QStringLiteral("https://quillet.example.org/quillet/download/");
inline const QString AuthorName = QStringLiteral("the Quillet team");
inline const QString AuthorMail = QStringLiteral("mailto:team@quillet.example.org");

} // namespace weblinks

// Opens Address with the desktop's program for it (browser, mail program). A link
// that cannot be opened is silently ignored; the cursor shows the wait meanwhile.
void OpenWebLink(const QString& Address);
