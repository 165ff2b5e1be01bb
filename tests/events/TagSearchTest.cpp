// The position-walking tag search must find exactly what the copying tag
// routines find, also in texts where taking an element out joins the text
// before it to the text after it into a new tag.
#include <gtest/gtest.h>

#include <array>
#include <random>

#include "TestSupport.h"
#include "events/ElementRun.h"
#include "events/SplicedText.h"
#include "events/TagIndex.h"
#include "events/TagRoutines.h"
#include "events/TagSearch.h"

TEST(TagSearch, FindsTagsIgnoringOnlyAsciiCase)
{
    EXPECT_EQ(findTag(u"ab<Event>", u"<EVENT>"), 2);
    EXPECT_EQ(findTag(u"<event><Event>", u"<Event>", 1), 7);
    EXPECT_EQ(findTag(u"<Categorie\u017F><Categories>", u"<Categories>"), 12); // long s is no "s"
    EXPECT_EQ(findTag(u"<Even", u"<Event>"), -1);
}

TEST(TagSearch, TakesOutWhatTheTagRoutinesTakeOutOfRandomTexts)
{
    // Short texts over an alphabet that makes tags, broken tags and near misses likely.
    static const QStringList pieces = {"<", ">",  "/",  "E",  "e",   "<E>",  "</E>",   "<e>", "</e>",
                                       "x", "<E", "E>", "</", "<F>", "</F>", "\u017F", "\r\n"};
    static constexpr std::array<QLatin1StringView, 2> names = {QLatin1StringView("E"), QLatin1StringView("F")};
    std::mt19937 random(7);
    for (int round = 0; round < 20000; ++round) {
        QString text;
        for (int i = std::uniform_int_distribution<int>(0, 40)(random); i > 0; --i)
            text += pieces[std::uniform_int_distribution<int>(0, pieces.size() - 1)(random)];
        SCOPED_TRACE(text.toStdString());

        // A run of elements against ExtractTagValue called on each remainder.
        QStringList expected, actual;
        QString rest = text, value;
        for (ExtractTagValue("E", text, rest, value); !value.isEmpty();
             ExtractTagValue("E", QString(rest), rest, value))
            expected << value;
        ElementRun run(text, "E");
        for (QStringView found; run.next(found);) {
            actual << found.toString();
            // The whole element, where it lies in one piece, is the value in its tags.
            ASSERT_TRUE(run.element().isEmpty() ||
                        run.element().toString().toLower() == "<e>" + found.toString().toLower() + "</e>");
        }
        ASSERT_EQ(actual, expected);

        // Single elements of several names taken out of one spliced text.
        rest = text;
        SplicedText spliced(text);
        for (const char* tag : {"E", "F", "e"}) {
            ExtractTagValue(tag, QString(rest), rest, value);
            ASSERT_EQ(spliced.takeElement(tag).toString(), value);
            ASSERT_EQ(spliced.toString(), rest);
        }

        // The first element of each name found in one pass.
        const TagIndex index(text, names);
        for (int i = 0; i < 2; ++i) {
            const QString open = "<" + names[i] + ">", close = "</" + names[i] + ">";
            QString element;
            ExtractElement(text, open, close, false, value);
            ExtractElement(text, open, close, true, element);
            ASSERT_EQ(index.value(i).toString(), value);
            ASSERT_EQ(index.element(i).toString(), element);
        }
    }
}
