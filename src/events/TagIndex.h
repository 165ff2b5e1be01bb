#pragma once

#include <QLatin1StringView>
#include <QStringView>

#include <span>
#include <vector>

// The first element of each of a set of names in one text, found in a single
// pass: the value of a name is the text between the first "<Name>" and the
// first "</Name>", as ExtractElement gives it.
class TagIndex {
public:
    TagIndex(QStringView Text, std::span<const QLatin1StringView> Names);

    // The inner text of the element of Names[Index]; empty when it is missing.
    QStringView value(int Index) const;
    // The same element with its tags, as ExtractElement with IncludeTags gives it.
    QStringView element(int Index) const;
    bool found(int Index) const;

private:
    void note(QStringView Name, qsizetype TagStart, bool IsEnd);

    QStringView FText;
    std::span<const QLatin1StringView> FNames;
    std::vector<qsizetype> FStart; // first "<Name>" (-1: none)
    std::vector<qsizetype> FEnd;   // first "</Name>" (-1: none)
};
