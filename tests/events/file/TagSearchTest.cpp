// The position-walking tag search over a file's bytes must find exactly what
// the copying tag routines find in its text, also in texts where taking an
// element out joins the text before it to the text after it into a new tag.
#include <gtest/gtest.h>

#include <array>
#include <random>

#include "TestSupport.h"
#include "events/file/ElementRun.h"
#include "events/file/SplicedText.h"
#include "events/file/TagIndex.h"
#include "events/file/TagRoutines.h"
#include "events/file/TagSearch.h"

TEST(TagSearch, FindsTagsIgnoringOnlyAsciiCase)
{
    EXPECT_EQ(findTag("ab<Event>", "<EVENT>"), 2);
    EXPECT_EQ(findTag("<event><Event>", "<Event>", 1), 7);
    EXPECT_EQ(findTag("<Categorie\xC5\xBF><Categories>", "<Categories>"), 13); // long s is no "s"
    EXPECT_EQ(findTag("<Even", "<Event>"), -1);
    EXPECT_EQ(findTag("x<<Ev<Event>", "<Event>"), 5);
}

TEST(TagSearch, TakesOutWhatTheTagRoutinesTakeOutOfRandomTexts)
{
    // Short texts over an alphabet that makes tags, broken tags and near misses likely.
    static const QStringList pieces = {"<", ">",  "/",  "E",  "e",   "<E>",  "</E>",   "<e>", "</e>",
                                       "x", "<E", "E>", "</", "<F>", "</F>", "\u017F", "\r\n"};
    static constexpr std::array<std::string_view, 2> names = {"E", "F"};
    const auto text = [](std::string_view bytes) {
        return QString::fromUtf8(bytes.data(), static_cast<qsizetype>(bytes.size()));
    };
    std::mt19937 random(7);
    for (int round = 0; round < 20000; ++round) {
        QString original;
        for (int i = std::uniform_int_distribution<int>(0, 40)(random); i > 0; --i)
            original += pieces[std::uniform_int_distribution<int>(0, pieces.size() - 1)(random)];
        const std::string bytes = original.toStdString();
        SCOPED_TRACE(bytes);

        // A run of elements against ExtractTagValue called on each remainder.
        QStringList expected, actual;
        QString rest = original, value;
        for (ExtractTagValue("E", original, rest, value); !value.isEmpty();
             ExtractTagValue("E", QString(rest), rest, value))
            expected << value;
        ElementRun run(bytes, "E");
        for (std::string_view found; run.next(found);) {
            actual << text(found);
            // The whole element, where it lies in one piece, is the value in its tags.
            ASSERT_TRUE(run.element().empty() ||
                        text(run.element()).toLower() == "<e>" + text(found).toLower() + "</e>");
        }
        ASSERT_EQ(actual, expected);

        // Single elements of several names taken out of one spliced text.
        rest = original;
        SplicedText spliced(bytes);
        for (const char* tag : {"E", "F", "e"}) {
            ExtractTagValue(tag, QString(rest), rest, value);
            ASSERT_EQ(text(spliced.takeElement(tag).toString()), value);
            ASSERT_EQ(text(spliced.toString()), rest);
        }

        // The first element of each name found in one pass.
        const TagIndex index(bytes, names);
        for (int i = 0; i < 2; ++i) {
            const QString name = QString::fromLatin1(names[i].data(), 1);
            const QString open = "<" + name + ">", close = "</" + name + ">";
            QString element;
            ExtractElement(original, open, close, false, value);
            ExtractElement(original, open, close, true, element);
            ASSERT_EQ(text(index.value(i)), value);
            ASSERT_EQ(text(index.element(i)), element);
        }
    }
}
