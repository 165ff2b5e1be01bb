#include "events/EventList.h"

#include <QFileInfo>
#include <QSet>

#include <deque>

#include "ElementRun.h"
#include "Escaping.h"
#include "EventReading.h"
#include "FileAccess.h"
#include "FileValues.h"
#include "SplicedText.h"
#include "TagSearch.h"
#include "TextCodec.h"
#include "events/Exceptions.h"
#include "platform/GetText.h"

namespace {

// The file-level element that says the texts are entity-escaped. Files
// without it (those of the Windows program) are read exactly as they stand.
constexpr std::string_view EscapedTag = "Escaped";

// Everything a file holds, read completely before any of it reaches the list.
struct EventFileContent {
    QStringList Categories;
    std::vector<std::unique_ptr<TEvent>> Events;
    TEventList::LoadDamage Damage;
};

[[noreturn]] void raiseWrongFormat()
{
    throw EFileError(_("Wrong file format"));
}

// The text as one view. Where taking out elements left it in pieces, the pieces
// are joined into Storage, each with its line ends made CR LF on its own: a CR
// that ended one piece and an LF that began the next were two line ends.
std::string_view joined(const SplicedText& Text, std::string& Storage)
{
    if (Text.pieces().size() <= 1)
        return Text.isEmpty() ? std::string_view() : Text.pieces().front();
    for (const std::string_view piece : Text.pieces())
        appendWithCrLfLineEnds(Storage, piece);
    return Storage;
}

size_t nextNonBlank(std::string_view Text, size_t From)
{
    while (From < Text.size() && static_cast<unsigned char>(Text[From]) <= ' ')
        ++From;
    return From;
}

// One name a line; every line end counts, whatever its kind.
QStringList readCategories(std::string_view Block, EventReading& Reading)
{
    QStringList names;
    const std::string_view lines = trimBlanksAndControls(Block);
    if (lines.empty())
        return names;
    size_t from = 0;
    for (size_t at = 0; at <= lines.size(); ++at) {
        if (at < lines.size() && lines[at] != '\r' && lines[at] != '\n')
            continue;
        names.append(Reading.text(lines.substr(from, at - from)));
        if (at + 1 < lines.size() && lines[at] == '\r' && lines[at + 1] == '\n')
            ++at;
        from = at + 1;
    }
    return names;
}

constexpr std::string_view RootEndTag = "</QuilletEventFile>", EventsEndTag = "</Events>";

// Where the end tags of the root and of the events were taken to be: the first
// of each, which a search of a large file finds only at its end.
struct EndTags {
    qsizetype Root = -1;
    qsizetype Events = -1;
};

// The end tags as the program writes them, near the end of the file: the
// first root end tag there, and the last events end tag before it. False when
// the end of the file holds no such pair.
bool endTagsNearTheEnd(std::string_view Bytes, EndTags& Ends)
{
    constexpr qsizetype Reach = 65536;
    const qsizetype tail = std::max<qsizetype>(0, static_cast<qsizetype>(Bytes.size()) - Reach);
    Ends.Root = findTag(Bytes, RootEndTag, tail);
    Ends.Events = -1;
    for (qsizetype at = findTag(Bytes, EventsEndTag, tail); at >= 0 && at < Ends.Root;
         at = findTag(Bytes, EventsEndTag, at + 1))
        Ends.Events = at;
    return Ends.Root >= 0 && Ends.Events >= 0;
}

// Whether At holds the first occurrence of Tag in Bytes, given that no tag
// starts in [From, To) but those of written events.
bool firstOccurrence(std::string_view Bytes, std::string_view Tag, qsizetype From, qsizetype To, qsizetype At)
{
    const size_t before = std::min(Bytes.size(), static_cast<size_t>(From) + Tag.size() - 1);
    return findTag(Bytes.substr(0, before), Tag) < 0 && findTag(Bytes, Tag, To) == At;
}

// One forward pass over the bytes: the file-level elements, then each event
// element in turn, turning into strings only the values that the events keep.
// With Ends, the end tags are taken to be there instead of being searched for
// through the whole file; Confirmed then tells whether they were the first, which
// holds when every event was written as the program writes it: a written event
// holds no tag but its own.
EventFileContent parseEventFile(const FileEncoding& File, const EndTags* Ends = nullptr, bool* Confirmed = nullptr)
{
    SplicedText whole(File.Bytes);
    if (Ends) {
        whole.knowFirst(File.Bytes, RootEndTag, Ends->Root);
        whole.knowFirst(File.Bytes, EventsEndTag, Ends->Events);
    }
    SplicedText root = whole.takeElement("QuilletEventFile");
    if (root.isEmpty())
        raiseWrongFormat();
    if (trimBlanksAndControls(root.takeElement("Version").toString()) != "QV3.0")
        raiseWrongFormat();
    const SplicedText categories = root.takeElement("Categories");
    const SplicedText events = root.takeElement("Events");
    // What is left is the file level: the version, categories and events are out.
    const bool escaped = readBoolean(root.takeElement(EscapedTag).toString(), false, File.Utf8);

    EventReading reading(File.Utf8, escaped, Now());
    EventFileContent content;
    std::string categoryStorage, eventStorage;
    content.Categories = readCategories(joined(categories, categoryStorage), reading);
    const std::string_view text = joined(events, eventStorage);
    ElementRun run(text, "Event", ElementRun::EndAtNextStartTag);
    std::deque<std::string> rebuilt; // elements whose tags ran across a removed one; kept while reading
    EventFieldValues values;
    bool allWritten = true;
    for (;;) {
        auto event = std::make_unique<TEvent>();
        // The next element as the program writes it is read in one walk over it.
        const size_t start = nextNonBlank(text, static_cast<size_t>(run.position()));
        size_t end = 0;
        if (readWrittenEvent(text, start, end, values) &&
            run.takeAt(static_cast<qsizetype>(start), static_cast<qsizetype>(end))) {
            event->loadFields(values, reading);
        } else {
            std::string_view value;
            if (!run.next(value))
                break;
            allWritten = false;
            std::string_view element = run.element();
            if (element.empty())
                element = rebuilt.emplace_back("<Event>" + std::string(value) + "</Event>");
            event->loadFromBytes(element, reading);
        }
        content.Events.push_back(std::move(event));
    }
    content.Damage.SkippedText = run.skippedText();
    content.Damage.UnclosedEvent = run.endedAtAStartTag();
    content.Damage.MixedEncodings = reading.mixedEncodings();
    if (Confirmed) {
        const char* const bytes = File.Bytes.data();
        const auto textStart = static_cast<qsizetype>(text.data() - bytes);
        *Confirmed = allWritten && events.pieces().size() == 1 && !text.empty() && text.data() >= bytes &&
                     textStart + static_cast<qsizetype>(text.size()) == Ends->Events && !content.Damage.SkippedText &&
                     firstOccurrence(File.Bytes, EventsEndTag, textStart, Ends->Events, Ends->Events) &&
                     firstOccurrence(File.Bytes, RootEndTag, textStart, Ends->Events, Ends->Root);
    }
    return content;
}

void addFirstRunContent(TEventList& List)
{
    for (const char* name : {N_("General"), N_("Birthdays"), N_("Holidays"), N_("Business"), N_("Personal")})
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

// Room for the whole file, so that it is written into memory reserved once.
size_t estimatedFileSize(const QStringList& Categories, const std::vector<std::unique_ptr<TEvent>>& Events)
{
    size_t size = 256;
    for (const QString& name : Categories)
        size += 3 * static_cast<size_t>(name.size()) + 2;
    for (const auto& event : Events)
        size += 720 +
                3 * static_cast<size_t>(event->Category.size() + event->Description.size() + event->Notes.size() +
                                        event->AlarmSound.size() + event->CmdsToExecute.size()) +
                32 * static_cast<size_t>(event->RepeatedDates->GetCount());
    return size;
}

} // namespace

void TEventList::LoadFromFile(const QString& FileName, bool Merge)
{
    FLastLoadDamage = {};
    if (!QFileInfo::exists(FileName)) {
        addFirstRunContent(*this);
        Modified = false;
        return;
    }
    const FileBytes bytes(FileName);
    const FileEncoding file = detectEncoding(bytes.view());
    if (file.Bytes.empty()) {
        Modified = false;
        return;
    }
    // The whole file is read before anything is added: a file that fails
    // half-way must never leave a partial list that the next save would keep.
    EventFileContent content;
    EndTags ends;
    bool confirmed = false;
    if (endTagsNearTheEnd(file.Bytes, ends)) {
        try {
            content = parseEventFile(file, &ends, &confirmed);
        } catch (...) {
            confirmed = false; // read again the long way, which reports what is wrong
        }
    }
    if (!confirmed)
        content = parseEventFile(file);
    FLastLoadDamage = content.Damage;
    FLastLoadDamage.ZeroBytes = file.Bytes.find('\0') != std::string_view::npos;

    for (const QString& name : content.Categories)
        AddCategory(name);
    // With Merge, an event whose description is already in the list (or came
    // earlier in this file) is left out.
    QSet<QString> descriptions;
    if (Merge)
        for (const auto& event : FItems)
            descriptions.insert(event->Description);
    FItems.reserve(FItems.size() + content.Events.size());
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
    std::string bytes;
    bytes.reserve(estimatedFileSize(Categories, FItems));
    bytes += "<QuilletEventFile>\r\n<Version>QV3.0</Version>\r\n<";
    bytes += EscapedTag;
    bytes += ">-1</";
    bytes += EscapedTag;
    bytes += ">\r\n<LastSave>";
    bytes += formatDateTime(QStringLiteral("yyyy-mm-dd hh:nn:ss.zzz"), Now()).toStdString();
    bytes += "</LastSave>\r\n<Categories>";
    for (const QString& name : Categories) {
        appendEscapedUtf8(bytes, name);
        bytes += "\r\n";
    }
    bytes += "</Categories>\r\n<Events>\r\n";
    const char point = julianDecimalPoint();
    for (const auto& event : FItems) {
        event->appendXML(bytes, point);
        bytes += "\r\n";
    }
    bytes += "</Events>\r\n</QuilletEventFile>\r\n";

    writeFileAtomically(FileName, QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size())));
    Modified = false;
}
