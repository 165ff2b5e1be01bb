#pragma once

#include <QtGlobal>

#include <array>
#include <cstdint>
#include <span>
#include <string_view>

// The first element of each of a set of names in one text, found in a single
// pass: the value of a name is the text between the first "<Name>" and the
// first "</Name>", as ExtractElement gives it.
class TagIndex {
public:
    // At most MaxNames names.
    TagIndex(std::string_view Text, std::span<const std::string_view> Names);
    static constexpr size_t MaxNames = 32;

    // The inner text of the element of Names[Index]; empty when it is missing.
    std::string_view value(int Index) const;
    // The same element with its tags, as ExtractElement with IncludeTags gives it.
    std::string_view element(int Index) const;
    bool found(int Index) const;

private:
    void note(std::string_view Name, qsizetype TagStart, bool IsEnd);

    std::string_view FText;
    std::span<const std::string_view> FNames;
    std::array<std::uint32_t, 33> FByLength{}; // the names of each length (the last: longer)
    std::uint32_t FLetters = 0;                // the names made of ASCII letters only
    std::array<qsizetype, MaxNames> FStart;    // first "<Name>" (-1: none)
    std::array<qsizetype, MaxNames> FEnd;      // first "</Name>" (-1: none)
};
