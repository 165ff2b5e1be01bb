#include "EventList.h"

#include <QFileInfo>
#include <QSet>

#include "ElementRun.h"
#include "Escaping.h"
#include "Exceptions.h"
#include "FileAccess.h"
#include "FileValues.h"
#include "SplicedText.h"
#include "TextCodec.h"
#include "platform/GetText.h"

namespace {

const QString CrLf = QStringLiteral("\r\n");

// The file-level element that says the texts are entity-escaped. Files
// without it (those of the Windows program) are read exactly as they stand.
const QString EscapedTag = QStringLiteral("Escaped");

// Everything a file holds, read completely before any of it reaches the list.
struct EventFileContent {
    QStringList Categories;
    std::vector<std::unique_ptr<TEvent>> Events;
    bool SkippedText = false; // text in the events block that is no event
};

bool hasOnlyCrLfLineEnds(const QString& Text)
{
    for (qsizetype at = Text.indexOf(u'\r'); at >= 0; at = Text.indexOf(u'\r', at + 1))
        if (at + 1 >= Text.size() || Text[at + 1] != u'\n')
            return false;
    for (qsizetype at = Text.indexOf(u'\n'); at >= 0; at = Text.indexOf(u'\n', at + 1))
        if (at == 0 || Text[at - 1] != u'\r')
            return false;
    return true;
}

// CR LF, a lone LF and a lone CR each end a line; every line end becomes CR LF.
QString withCrLfLineEnds(QString Text)
{
    if (hasOnlyCrLfLineEnds(Text))
        return Text;
    QString result;
    result.reserve(Text.size() + Text.size() / 16);
    for (qsizetype i = 0; i < Text.size(); ++i) {
        const QChar c = Text[i];
        if (c == u'\r' || c == u'\n') {
            result += CrLf;
            if (c == u'\r' && i + 1 < Text.size() && Text[i + 1] == u'\n')
                ++i;
        } else {
            result += c;
        }
    }
    return result;
}

[[noreturn]] void raiseWrongFormat()
{
    throw EFileError(_("Wrong file format"));
}

QStringList readCategories(const QString& Block, bool Escaped)
{
    QStringList names;
    const QStringView lines = trimBlanksAndControls(Block);
    if (lines.isEmpty())
        return names;
    for (const QStringView line : lines.split(CrLf))
        names.append(Escaped ? unescapeMarkup(line) : line.toString());
    return names;
}

EventFileContent parseEventFile(const QString& Text)
{
    SplicedText root = SplicedText(Text).takeElement(QStringLiteral("QuilletEventFile"));
    if (root.isEmpty())
        raiseWrongFormat();
    const QString version = root.takeElement(QStringLiteral("Version")).toString();
    if (trimBlanksAndControls(version) != QLatin1StringView("QV3.0"))
        raiseWrongFormat();
    const QString categories = root.takeElement(QStringLiteral("Categories")).toString();
    const SplicedText events = root.takeElement(QStringLiteral("Events"));
    // What is left is the file level: the version, categories and events are out.
    const bool escaped = readBoolean(root.takeElement(EscapedTag).toString(), false);

    EventFileContent content;
    content.Categories = readCategories(categories, escaped);
    QString joinedEvents;
    ElementRun run(events.view(joinedEvents), QStringLiteral("Event"));
    QStringView value;
    while (run.next(value)) {
        auto event = std::make_unique<TEvent>();
        if (!run.element().isEmpty())
            event->LoadFromXML(run.element(), escaped);
        else
            event->LoadFromXML(QStringLiteral("<Event>%1</Event>").arg(value), escaped);
        content.Events.push_back(std::move(event));
    }
    content.SkippedText = run.skippedText();
    return content;
}

void addFirstRunContent(TEventList& List)
{
    for (const char* name : {"General", "Birthdays", "Holidays", "Business", "Personal"})
        List.AddCategory(_(name));
    TEvent welcome;
    welcome.SetStartDate(Now());
    welcome.StartDateItem->NotificationTime = welcome.GetStartDate();
    welcome.UseTime = false;
    welcome.Description = _("Welcome to Quillet!!");
    welcome.Category = _("General");
    welcome.AlarmType = 1;
    welcome.AlarmParam = 0;
    welcome.PopUpNotify = true;
    welcome.AudioNotify = true;
    List.AddEvent(welcome);
}

} // namespace

void TEventList::LoadFromFile(const QString& FileName, bool Merge)
{
    FLastLoadSkippedText = false;
    if (!QFileInfo::exists(FileName)) {
        addFirstRunContent(*this);
        Modified = false;
        return;
    }
    const QString text = decodeText(readWholeFile(FileName));
    if (text.isEmpty()) {
        Modified = false;
        return;
    }
    // The whole file is read before anything is added: a file that fails
    // half-way must never leave a partial list that the next save would keep.
    EventFileContent content = parseEventFile(withCrLfLineEnds(text));
    FLastLoadSkippedText = content.SkippedText;

    for (const QString& name : content.Categories)
        AddCategory(name);
    // With Merge, an event whose description is already in the list (or came
    // earlier in this file) is left out.
    QSet<QString> descriptions;
    if (Merge)
        for (const auto& event : FItems)
            descriptions.insert(event->Description);
    for (auto& event : content.Events) {
        if (Merge) {
            if (descriptions.contains(event->Description))
                continue;
            descriptions.insert(event->Description);
        }
        // The parsed event moves in as it is: a copy made by AddEvent would
        // be equal to it, field by field.
        FItems.push_back(std::move(event));
    }
    Modified = false;
}

void TEventList::SaveToFile(const QString& FileName)
{
    // Each event is encoded as it is written, so the whole file is held once, as bytes.
    QString head;
    head += QLatin1StringView("<QuilletEventFile>\r\n<Version>QV3.0</Version>\r\n");
    head += QLatin1Char('<') + EscapedTag + QLatin1StringView(">-1</") + EscapedTag + QLatin1StringView(">\r\n");
    head += QLatin1StringView("<LastSave>") + formatDateTime(QStringLiteral("yyyy-mm-dd hh:nn:ss.zzz"), Now()) +
            QLatin1StringView("</LastSave>\r\n");
    head += QLatin1StringView("<Categories>");
    for (const QString& name : Categories)
        head += escapeMarkup(name) + CrLf;
    head += QLatin1StringView("</Categories>\r\n<Events>\r\n");

    QByteArray bytes = encodeText(head);
    bytes.reserve(bytes.size() + Count() * qsizetype(1200));
    for (const auto& event : FItems)
        bytes += encodeText(event->SaveToXML() + CrLf);
    bytes += encodeText(QStringLiteral("</Events>\r\n</QuilletEventFile>\r\n"));

    writeFileAtomically(FileName, bytes);
    Modified = false;
}
