// The event list's category names: unique without regard to letter case.
#include <gtest/gtest.h>

#include "TestSupport.h"

namespace {

QString ofCodePoint(char32_t c)
{
    return QString::fromUcs4(&c, 1);
}

} // namespace

TEST(Categories, ANameIsAddedOnceWhateverItsLetterCase)
{
    TEventList list;
    EXPECT_EQ(list.AddCategory("Ärger"), 0);
    EXPECT_EQ(list.AddCategory("Work"), 1);
    list.Modified = false;
    EXPECT_EQ(list.AddCategory("äRGER"), 0);
    EXPECT_TRUE(list.Modified);
    EXPECT_EQ(list.AddCategory(ofCodePoint(0x10400) + " old"), 2); // a letter beyond 16 bits
    EXPECT_EQ(list.AddCategory(ofCodePoint(0x10428) + " OLD"), 2);
    EXPECT_EQ(list.Categories, (QStringList{"Ärger", "Work", ofCodePoint(0x10400) + " old"}));

    // Every letter that has another case: equal exactly when a comparison without regard to case says so.
    for (char32_t c = 0; c <= 0x10FFFF; ++c) {
        const char32_t other[] = {QChar::toUpper(c), QChar::toLower(c), QChar::toTitleCase(c)};
        for (const char32_t o : other) {
            if (o == c || QChar::isSurrogate(c))
                continue;
            TEventList one;
            one.AddCategory(ofCodePoint(c));
            const bool same = ofCodePoint(c).compare(ofCodePoint(o), Qt::CaseInsensitive) == 0;
            ASSERT_EQ(one.AddCategory(ofCodePoint(o)), same ? 0 : 1) << std::hex << unsigned(c) << " " << unsigned(o);
        }
    }
}

TEST(Categories, NamesChangedInTheListDirectlyCountAtTheNextAdd)
{
    TEventList list;
    for (const char* name : {"General", "Work", "Home"})
        list.AddCategory(name);
    list.Categories.removeAt(1);
    EXPECT_EQ(list.AddCategory("work"), 2) << "a removed name comes back";
    EXPECT_EQ(list.AddCategory("HOME"), 1) << "a name's place follows the list";
    list.Categories[0] = "Travel";
    EXPECT_EQ(list.AddCategory("general"), 3);
    EXPECT_EQ(list.AddCategory("travel"), 0);
    const QStringList before = list.Categories;
    list.Categories.append("Sport");
    EXPECT_EQ(list.AddCategory("SPORT"), 4) << "also while another copy of the list is kept";
    list.Categories = QStringList{"Garden"};
    EXPECT_EQ(list.AddCategory("garden"), 0);
    list.Categories.clear();
    EXPECT_EQ(list.AddCategory("Garden"), 0);
    EXPECT_EQ(list.Categories, QStringList{"Garden"});
    EXPECT_EQ(before.size(), 4);
}
