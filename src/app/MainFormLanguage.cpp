// The language of the user interface: the Language menu built from the catalogues
// among the program's files, and the switch that translates the windows again.
#include "MainForm.h"

#include <QAction>
#include <QActionGroup>
#include <QComboBox>
#include <QDir>
#include <QHeaderView>
#include <QMenu>
#include <QScrollArea>
#include <QTreeView>

#include "dialogs/EventNotify.h"
#include "platform/GetText.h"
#include "platform/ProgramFolder.h"
#include "platform/gui/WindowTranslation.h"

namespace {

// The view names, by view number.
const char* const EventViewNames[] = {N_("[All Events]"),          N_("For The Day"),           N_("For The Week"),
                                      N_("For The Next 7 Days"),   N_("For The Next 14 Days"),  N_("For The Month"),
                                      N_("For This Month & Next"), N_("For The Next 2 Months"), N_("For The Year"),
                                      N_("Expired Events")};

} // namespace

void TfrmQuillet::BuildLanguageMenu()
{
    mnuitmLanguage->clear();
    delete mnuitmLanguage->findChild<QActionGroup*>(QStringLiteral("grpLanguages"));
    auto* group = new QActionGroup(mnuitmLanguage); // one ticked item at a time
    group->setObjectName(QStringLiteral("grpLanguages"));

    const auto addItem = [&](const QString& Caption, const QString& Code) {
        QAction* item = mnuitmLanguage->addAction(Caption);
        item->setCheckable(true);
        group->addAction(item);
        connect(item, &QAction::triggered, this, [this, item] { RefreshForLanguageSelection(item); });
        FLanguageCodes << Code;
        return item;
    };
    FLanguageCodes.clear();
    addItem(QStringLiteral("Default"), translation::systemLanguageCode())->setChecked(true);

    // Folders and plain files alike, in the file system's order; hidden ones never.
    const QStringList entries = QDir(readOnlyFilesFolder() + QStringLiteral("LOCALE"))
                                    .entryList(QDir::Dirs | QDir::Files | QDir::NoDotAndDotDot, QDir::Unsorted);
    for (const QString& entry : entries) {
        if (entry.startsWith(QLatin1Char('.')))
            continue;
        const QString code = entry.toLower();
        const QString name = translation::languageName(code);
        if (!name.isEmpty())
            addItem(name, code);
    }
}

void TfrmQuillet::RefreshForLanguageSelection(QObject* Sender)
{
    auto* item = qobject_cast<QAction*>(Sender);
    const int position = item ? mnuitmLanguage->actions().indexOf(item) : -1;
    if (position >= 0 && position < FLanguageCodes.size())
        SetLanguage(FLanguageCodes.at(position));
}

void TfrmQuillet::SetLanguage(const QString& Code)
{
    // A language without a catalogue leaves the texts English.
    if (!translation::setLanguage(Code))
        translation::setLanguage(QString());

    RetranslateComponent(this);
    if (FNotifyForm)
        FNotifyForm->Retranslate();

    const int selected = cboEventView->currentIndex();
    cboEventView->clear();
    for (const char* name : EventViewNames)
        cboEventView->addItem(_(name));
    cboEventView->setCurrentIndex(selected > 0 ? selected : 0);

    // Texts made while painting (countdowns, headings) follow at the next paint.
    vstEvents->viewport()->update();
    vstEvents->header()->viewport()->update();
    ScrollBox1->widget()->update();
}

void TfrmQuillet::TranslateWindow()
{
    TranslateComponent(this);
}
