// The event file reader against a plain reading: decode, make line ends CR LF,
// take out one element after another; both must give the same list.
#include <QStringDecoder>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <charconv>
#include <optional>
#include <random>

#include "TestSupport.h"
#include "events/file/Escaping.h"
#include "events/file/FileValues.h"
#include "events/file/TagRoutines.h"
#include "events/file/TextCodec.h"

using namespace testing_support;

namespace {

struct Loaded {
    bool Refused = false;
    QStringList Categories;
    std::vector<std::unique_ptr<TEvent>> Events;
};

QString withCrLf(const QString& text)
{
    QString result;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == u'\r' || text[i] == u'\n') {
            result += "\r\n";
            if (text[i] == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n')
                ++i;
        } else {
            result += text[i];
        }
    }
    return result;
}

// Tags are found in the bytes as Latin-1; each value is then UTF-8 if it can be, else Windows-1252.
class Values {
public:
    explicit Values(bool utf8File) : utf8File(utf8File) {}

    static std::string bytesOf(const QString& value) { return value.toLatin1().toStdString(); }
    bool utf8(const QString& value) const { return utf8File || QByteArrayView(value.toLatin1()).isValidUtf8(); }
    QString text(const QString& value) const
    {
        const std::string bytes = bytesOf(value);
        return decodeBytes(bytes, utf8(value));
    }
    bool boolean(const QString& value, bool fallback) const
    {
        return readBoolean(bytesOf(value), fallback, utf8(value));
    }

private:
    bool utf8File;
};

QString element(const QString& text, const char* tag)
{
    QString value;
    ExtractElement(text, QString("<%1>").arg(tag), QString("</%1>").arg(tag), false, value);
    return value;
}

std::unique_ptr<TEvent> readEvent(const QString& S, bool escaped, const Values& values)
{
    QString whole;
    ExtractElement(S, "<Event>", "</Event>", true, whole);
    const auto text = [&](const char* tag) {
        const QString value = values.text(element(whole, tag));
        return escaped ? unescapeMarkup(value) : value;
    };
    const auto boolean = [&](const char* tag, bool fallback) { return values.boolean(element(whole, tag), fallback); };
    const auto integer = [&](const char* tag, int fallback) {
        return readInteger(Values::bytesOf(element(whole, tag)), fallback);
    };
    const auto enumeration = [&](const char* tag, std::span<const char* const> names, int fallback) {
        const QString value = element(whole, tag);
        return readEnumeration(Values::bytesOf(value), names, fallback, values.utf8(value));
    };

    auto e = std::make_unique<TEvent>();
    e->Enabled = boolean("Enabled", true);
    TDateTime start = 0;
    const QString startDate = element(whole, "StartDate");
    e->SetStartDate(readJulian(Values::bytesOf(startDate), start, values.utf8(startDate)) ? start : Now());
    e->UseTime = boolean("UseTime", true);
    e->Duration = static_cast<std::uint32_t>(std::max(integer("Duration", 0), 0));
    QString dates = element(whole, "RepeatedDates"), date;
    const bool utf8Dates = values.utf8(dates);
    for (ExtractTagValue("DATE", dates, dates, date); !date.isEmpty();
         ExtractTagValue("DATE", QString(dates), dates, date)) {
        TDateTime value = 0;
        if (readJulian(Values::bytesOf(date), value, utf8Dates))
            e->RepeatedDates->AddDate(value, false, 0);
    }
    e->Category = text("Category");
    if (e->Category.isEmpty())
        e->Category = "General";
    e->Description = text("Description");
    e->Notes = text("Notes");
    e->AlarmType = static_cast<std::uint8_t>(integer("AlarmType", 0));
    e->AlarmParam = integer("AlarmParam", 0);
    e->AlarmSound = text("AlarmSound");
    e->AudioNotify = boolean("AudioNotify", true);
    e->PopUpNotify = boolean("PopUpNotify", true);
    static constexpr const char* importance[] = {"eiLow", "eiNormal", "eiHigh", "eiHighest"};
    static constexpr const char* job[] = {"arDoNothing", "arSnoozeMins", "arDismiss"};
    e->Importance = static_cast<TEventImportance>(enumeration("Importance", importance, eiNormal));
    e->KeepRemindingFor = integer("KeepRemindingFor", -1);
    e->AfterReminderJob = static_cast<TAfterReminderJobType>(enumeration("AfterReminderJob", job, arDoNothing));
    e->AfterReminderJobParamInt = integer("AfterReminderJobParamInt", 0);
    e->ExecuteFile = boolean("ExecuteFile", false);
    e->CmdsToExecute = text("CmdsToExecute");
    e->ExecuteFileXTimes = integer("ExecuteFileXTimes", 1);
    e->ShowOnCalendar = boolean("ShowOnCalendar", true);
    e->RecalculateNoticationTimes();
    return e;
}

// Takes out the first event element, ended early by a start tag where its end tag went missing.
bool takeEvent(QString& events, QString& value)
{
    const qsizetype start = events.indexOf("<Event>", 0, Qt::CaseInsensitive);
    const qsizetype end = events.indexOf("</Event>", 0, Qt::CaseInsensitive);
    if (start < 0 || end < start + 7 + 1)
        return false;
    const qsizetype next = events.indexOf("<Event>", start + 7, Qt::CaseInsensitive);
    const bool unclosed = next >= 0 && next < end;
    value = events.mid(start + 7, (unclosed ? next : end) - start - 7);
    events = events.left(start) + events.mid(unclosed ? next : end + 8);
    return true;
}

Loaded plainLoad(const QByteArray& bytes)
{
    Loaded loaded;
    const FileEncoding file = detectEncoding(std::string_view(bytes.constData(), static_cast<size_t>(bytes.size())));
    const Values values(file.Utf8);
    QString text = QString::fromLatin1(file.Bytes.data(), static_cast<qsizetype>(file.Bytes.size()));
    if (text.isEmpty())
        return loaded;
    text = withCrLf(text);
    QString rest, root, version, categories, events, escapedValue, value;
    ExtractTagValue("QuilletEventFile", text, rest, root);
    ExtractTagValue("Version", QString(root), root, version);
    if (root.isEmpty() || trimBlanksAndControls(version) != QLatin1String("QV3.0")) {
        loaded.Refused = true;
        return loaded;
    }
    ExtractTagValue("Categories", QString(root), root, categories);
    ExtractTagValue("Events", QString(root), root, events);
    ExtractTagValue("Escaped", QString(root), root, escapedValue);
    const bool escaped = values.boolean(escapedValue, false);
    const QStringView names = trimBlanksAndControls(categories);
    TEventList unique; // names are added once, whatever their letter case
    if (!names.isEmpty())
        for (const QStringView name : names.split(u"\r\n")) {
            const QString decoded = values.text(name.toString());
            unique.AddCategory(escaped ? unescapeMarkup(decoded) : decoded);
        }
    loaded.Categories = unique.Categories;
    while (takeEvent(events, value))
        loaded.Events.push_back(readEvent("<Event>" + value + "</Event>", escaped, values));
    return loaded;
}

// Every field, the dates exactly.
void expectSameEvent(const TEvent& a, const TEvent& b)
{
    EXPECT_EQ(a.SaveToXML(), b.SaveToXML());
    EXPECT_EQ(a.GetStartDate(), b.GetStartDate());
    EXPECT_EQ(a.StartDateItem->NotificationTime, b.StartDateItem->NotificationTime);
    ASSERT_EQ(a.RepeatedDates->GetCount(), b.RepeatedDates->GetCount());
    for (int i = 0; i < a.RepeatedDates->GetCount(); ++i) {
        EXPECT_EQ(a.RepeatedDates->GetItem(i)->DateTime, b.RepeatedDates->GetItem(i)->DateTime);
        EXPECT_EQ(a.RepeatedDates->GetItem(i)->NotificationTime, b.RepeatedDates->GetItem(i)->NotificationTime);
    }
    EXPECT_EQ(std::tuple(a.Category, a.Description, a.Notes, a.AlarmSound, a.CmdsToExecute),
              std::tuple(b.Category, b.Description, b.Notes, b.AlarmSound, b.CmdsToExecute));
}

// The reader against the plain reading of the bytes; gives the events read.
int expectSameAsPlain(const QString& path, const QByteArray& bytes)
{
    writeFile(path, bytes);
    SCOPED_TRACE(bytes.toStdString());
    const Loaded expected = plainLoad(bytes);
    TEventList list;
    bool refused = false;
    try {
        list.LoadFromFile(path, false);
    } catch (const EFileError&) {
        refused = true;
    }
    EXPECT_EQ(refused, expected.Refused);
    EXPECT_EQ(list.Categories, expected.Categories);
    EXPECT_EQ(list.Count(), static_cast<int>(expected.Events.size()));
    if (list.Count() != static_cast<int>(expected.Events.size()))
        return -1;
    for (int i = 0; i < list.Count(); ++i)
        expectSameEvent(*list.GetEvent(i), *expected.Events[static_cast<size_t>(i)]);
    return list.Count();
}

class Corpus {
public:
    explicit Corpus(unsigned seed) : random(seed) {}

    int below(int n) { return std::uniform_int_distribution<int>(0, n - 1)(random); }

    QString someText()
    {
        static const QStringList pieces = {"word", " ",  "\r\n", "\n", "\r",     "&", "&amp;", "<",        ">",     "é",
                                           "€",    "\t", "ſ",    "Ω",  "\u066B", "x", "Notes", "</Notes>", "<DATE>"};
        QString text;
        for (int i = below(8); i > 0; --i)
            text += pieces[below(pieces.size())];
        return text;
    }

    // A list written by the program: texts of every kind, date lists empty, short and long.
    QByteArray savedFile(const QString& path)
    {
        TEventList list;
        for (int i = below(4); i > 0; --i)
            list.AddCategory(someText());
        for (int i = below(6); i > 0; --i) {
            TEvent e;
            e.SetStartDate(
                at(2000 + below(30), 1 + below(12), 1 + below(28), below(24), below(60), below(60), below(1000)));
            e.Category = someText();
            e.Description = someText();
            e.Notes = someText();
            e.AlarmSound = below(3) ? QString() : someText();
            e.CmdsToExecute = below(3) ? QString() : someText();
            e.AlarmType = static_cast<std::uint8_t>(below(5));
            e.AlarmParam = below(100) - 50;
            e.Importance = static_cast<TEventImportance>(below(4));
            e.Enabled = below(2);
            const int dates = below(3) == 0 ? 40 + below(40) : below(12);
            for (int d = 0; d < dates; ++d)
                e.RepeatedDates->AddDate(incMinute(e.GetStartDate(), below(3) ? d * 1440 : below(3)), true, 0);
            list.AddEvent(e);
        }
        list.SaveToFile(path);
        return readFile(path);
    }

    // Files of other writers and damaged files made from a saved one.
    QByteArray variant(QByteArray bytes)
    {
        switch (below(13)) {
        case 11: // two bytes that are no UTF-8, put anywhere
            return bytes.insert(below(bytes.size() + 1), below(2) ? "\xE9\xE9" : "\x80\xFF");
        case 12: { // an end tag lost
            const qsizetype at = bytes.indexOf("</Event>", below(bytes.size() + 1));
            return at < 0 ? bytes : bytes.remove(at, 8);
        }
        case 9: // the version element moved, leaving a seam where it is taken out
        case 10: {
            const QByteArray element =
                below(2) ? QByteArray("<Version>QV3.0</Version>") : QByteArray("<Escaped>-1</Escaped>");
            bytes.replace(element, "");
            int at = below(bytes.size());
            if (below(2) && bytes.indexOf('\r', at) >= 0)
                at = bytes.indexOf('\r', at) + 1; // between a CR and its LF
            return bytes.insert(at, element);
        }
        case 0: // lone LFs or CRs
            return bytes.replace("\r\n", below(2) ? "\n" : "\r");
        case 1: // Windows-1252 text, unescaped
            return QString::fromUtf8(bytes).replace("<Escaped>-1</Escaped>", "").toLatin1();
        case 2: // tags in another letter case
            return bytes.replace("<DATE>", "<date>").replace("</Event>", "</EVENT>").replace("<Notes>", "<NOTES>");
        case 3: // a byte-order mark, an unfinished character at the end
            return "\xEF\xBB\xBF" + bytes + (below(2) ? "\xE2\x82" : "");
        default: { // pieces cut out, doubled or moved
            for (int i = 1 + below(3); i > 0 && !bytes.isEmpty(); --i) {
                const int from = below(bytes.size()), count = below(std::min<int>(200, bytes.size() - from) + 1);
                const QByteArray piece = bytes.mid(from, count);
                if (below(2))
                    bytes.remove(from, count);
                else
                    bytes.insert(below(bytes.size()), piece);
            }
            return bytes;
        }
        }
    }

private:
    std::mt19937 random;
};

} // namespace

TEST(EventFileReaders, TheReaderGivesWhatThePlainReadingGives)
{
    QTemporaryDir folder;
    ClockOverride clock(at(2020, 5, 6, 7, 8, 9, 10));
    Corpus corpus(2026);
    int read = 0;
    for (int round = 0; round < 1500; ++round) {
        const QString path = folder.filePath("e.events");
        QByteArray bytes = corpus.savedFile(path);
        if (round % 4 != 0)
            bytes = corpus.variant(bytes);
        const int count = expectSameAsPlain(path, bytes);
        if (HasFailure())
            return;
        read += count;
    }
    EXPECT_GT(read, 2000) << "the corpus must hold events";
}

// End tags in texts, in the header or doubled at the end end their elements where they first stand.
TEST(EventFileReaders, AnEarlierEndTagEndsItsElementThere)
{
    QTemporaryDir folder;
    ClockOverride clock(at(2020, 5, 6, 7, 8, 9, 10));
    TEventList list;
    list.AddCategory("Work");
    for (int i = 0; i < 3; ++i) {
        TEvent& e = addEvent(list, at(2021, 1, 1 + i, 9, 30), {at(2021, 2, 1 + i, 9, 30)}, "");
        std::tie(e.Description, e.Notes) = std::pair(QString("event %1").arg(i), QString("notes"));
    }
    const QString path = folder.filePath("e.events");
    const QByteArray saved = (list.SaveToFile(path), readFile(path));
    QByteArray unescaped = saved;
    unescaped.replace("<Escaped>-1</Escaped>", "");
    const QByteArray variants[] = {
        saved,
        QByteArray(unescaped).replace("<Notes>notes</Notes>\r\n\t<AlarmType>",
                                      "<Notes>a</Events>b</Notes>\r\n\t<AlarmType>"),
        QByteArray(unescaped).replace("<Notes>notes", "<Notes>a</QuilletEventFile>b"),
        QByteArray(unescaped).replace("<Categories>Work", "<Categories></Events>\r\nWork"),
        QByteArray(unescaped).replace("<Categories>Work", "<Categories></QuilletEventFile>\r\nWork"),
        QByteArray(saved).replace("<Categories>", "</events><Categories>"),
        QByteArray(saved).replace("</Events>", "</Events>\r\n</Events>"),
        QByteArray(saved).replace("</QuilletEventFile>", "</QuilletEventFile>\r\n</QuilletEventFile>"),
        QByteArray(saved).replace("<Event>", "<Event>\r\n<x/>"),
    };
    for (const QByteArray& bytes : variants)
        expectSameAsPlain(path, bytes);
}

TEST(EventFileReaders, JulianDatesAreWrittenAsThePlainFormatterWritesThem)
{
    std::mt19937 random(18);
    std::uniform_real_distribution<double> anyDate(MinDateTime, MaxDateTime);
    std::vector<TDateTime> dates = {MinDateTime, MaxDateTime, 0, -0.5, at(2008, 3, 10, 14, 25, 37, 250)};
    for (int i = 0; i < 200000; ++i)
        dates.push_back(anyDate(random));
    // Values whose hundred-millionths end exactly on a half: rounded to the even neighbour.
    for (int i = 0; i < 2000; ++i)
        dates.push_back(39000 + i + std::uniform_int_distribution<int>(0, 511)(random) / 512.0);
    for (const TDateTime date : dates) {
        char expected[64];
        const double julian = dateTimeToJulianDate(date);
        const auto end =
            std::to_chars(expected, expected + sizeof expected, julian, std::chars_format::general, 15).ptr;
        std::string written;
        appendJulian(written, date, '.');
        ASSERT_EQ(written, std::string(expected, end)) << date;
    }
}
