// The position-walking tag search must find exactly what the copying tag
// routines find, also in texts where taking an element out joins the text
// before it to the text after it into a new tag.
#include <gtest/gtest.h>

#include <array>
#include <random>

#include "TestSupport.h"
#include "events/TagRoutines.h"
#include "events/TagSearch.h"

namespace {

// Short texts over an alphabet that makes tags, broken tags and near misses likely.
QString randomText(std::mt19937& random)
{
    static const QStringList pieces = {"<", ">",  "/",  "E",  "e",   "<E>",  "</E>",   "<e>", "</e>",
                                       "x", "<E", "E>", "</", "<F>", "</F>", "\u017F", "\r\n"};
    QString text;
    const int length = std::uniform_int_distribution<int>(0, 40)(random);
    for (int i = 0; i < length; ++i)
        text += pieces[std::uniform_int_distribution<int>(0, pieces.size() - 1)(random)];
    return text;
}

} // namespace

TEST(TagSearch, FindsTagsIgnoringOnlyAsciiCase)
{
    EXPECT_EQ(findTag(u"ab<Event>", u"<EVENT>"), 2);
    EXPECT_EQ(findTag(u"<event><Event>", u"<Event>", 1), 7);
    EXPECT_EQ(findTag(u"<Categorie\u017F><Categories>", u"<Categories>"), 12); // long s is no "s"
    EXPECT_EQ(findTag(u"<Even", u"<Event>"), -1);
    EXPECT_EQ(findTag(u"xxDATExx", u"date"), 2);
}

TEST(TagSearch, ElementRunTakesOutWhatRepeatedExtractionTakesOut)
{
    std::mt19937 random(7);
    for (int round = 0; round < 10000; ++round) {
        const QString text = randomText(random);
        QStringList expected;
        QString rest = text, value;
        for (ExtractTagValue(QStringLiteral("E"), text, rest, value); !value.isEmpty();) {
            expected << value;
            const QString remainder = rest;
            ExtractTagValue(QStringLiteral("E"), remainder, rest, value);
        }
        QStringList actual;
        ElementRun run(text, QStringLiteral("E"));
        QStringView found;
        while (run.next(found)) {
            actual << found.toString();
            // The whole element, where it lies in one piece, is the value in its tags.
            if (!run.element().isEmpty()) {
                ASSERT_EQ(run.element().toString().toLower(), "<e>" + found.toString().toLower() + "</e>");
            }
        }
        ASSERT_EQ(actual, expected) << text.toStdString();
    }
}

TEST(TagSearch, SplicedTextTakesOutWhatExtractTagValueTakesOut)
{
    std::mt19937 random(11);
    for (int round = 0; round < 10000; ++round) {
        const QString text = randomText(random);
        QString rest = text;
        SplicedText spliced(text);
        for (const char* tag : {"E", "F", "e"}) {
            QString value;
            const QString before = rest;
            ExtractTagValue(QString::fromLatin1(tag), before, rest, value);
            ASSERT_EQ(spliced.takeElement(QString::fromLatin1(tag)).toString(), value) << text.toStdString();
            ASSERT_EQ(spliced.toString(), rest) << text.toStdString();
        }
    }
}

TEST(TagSearch, TagIndexFindsTheFirstElementOfEachName)
{
    static constexpr std::array<QLatin1StringView, 2> names = {QLatin1StringView("E"), QLatin1StringView("F")};
    std::mt19937 random(13);
    for (int round = 0; round < 10000; ++round) {
        const QString text = randomText(random);
        const TagIndex index(text, names);
        for (int i = 0; i < 2; ++i) {
            QString value;
            const QString name = names[i];
            QString element;
            ExtractElement(text, QStringLiteral("<%1>").arg(name), QStringLiteral("</%1>").arg(name), false, value);
            ExtractElement(text, QStringLiteral("<%1>").arg(name), QStringLiteral("</%1>").arg(name), true, element);
            ASSERT_EQ(index.value(i).toString(), value) << text.toStdString();
            ASSERT_EQ(index.element(i).toString(), element) << text.toStdString();
        }
    }
}
