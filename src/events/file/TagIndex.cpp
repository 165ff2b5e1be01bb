#include "TagIndex.h"

#include <algorithm>
#include <cstring>

#include "ByteScan.h"

#include "TagSearch.h"

namespace {

bool sameName(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (!sameIgnoringAsciiCase(a[i], b[i]))
            return false;
    return true;
}

bool isLetters(std::string_view name)
{
    return std::all_of(name.begin(), name.end(), [](char c) { return (c | 0x20) >= 'a' && (c | 0x20) <= 'z'; });
}

// sameName for a Name of ASCII letters only, eight bytes at a time: setting the
// 0x20 bit turns only the letters of either case into the same small letter.
bool sameLetters(std::string_view Text, std::string_view Name)
{
    if (Text.size() != Name.size())
        return false;
    constexpr std::uint64_t small = 0x2020202020202020u;
    size_t i = 0;
    for (; i + 8 <= Name.size(); i += 8) {
        std::uint64_t a = 0, b = 0;
        std::memcpy(&a, Text.data() + i, 8);
        std::memcpy(&b, Name.data() + i, 8);
        if ((a | small) != (b | small))
            return false;
    }
    for (; i < Name.size(); ++i)
        if ((Text[i] | 0x20) != (Name[i] | 0x20))
            return false;
    return true;
}

} // namespace

TagIndex::TagIndex(std::string_view Text, std::span<const std::string_view> Names) : FText(Text), FNames(Names)
{
    Q_ASSERT(Names.size() <= MaxNames);
    FStart.fill(-1);
    FEnd.fill(-1);
    for (size_t i = 0; i < Names.size(); ++i) {
        FByLength[std::min<size_t>(Names[i].size(), FByLength.size() - 1)] |= 1u << i;
        if (isLetters(Names[i]))
            FLetters |= 1u << i;
    }
    // Every "<name>" and "</name>" of the text is a "<" followed by bytes
    // other than "<" and ">" up to the next ">": each "<" starts a tag anew,
    // and a ">" ends the tag begun last, if any.
    qsizetype open = -1;
    scanForBytes(Text.data(), 0, Text.size(), '<', '>', [&](size_t at) {
        if (Text[at] == '<') {
            open = static_cast<qsizetype>(at);
        } else if (open >= 0) {
            const std::string_view name =
                Text.substr(static_cast<size_t>(open) + 1, at - static_cast<size_t>(open) - 1);
            if (!name.empty() && name.front() == '/')
                note(name.substr(1), open, true);
            else
                note(name, open, false);
            open = -1;
        }
        return false;
    });
}

void TagIndex::note(std::string_view Name, qsizetype TagStart, bool IsEnd)
{
    for (std::uint32_t names = FByLength[std::min<size_t>(Name.size(), FByLength.size() - 1)]; names;
         names &= names - 1) {
        const auto i = static_cast<size_t>(__builtin_ctz(names));
        if (!((FLetters >> i) & 1 ? sameLetters(Name, FNames[i]) : sameName(Name, FNames[i])))
            continue;
        qsizetype& first = IsEnd ? FEnd[i] : FStart[i];
        if (first < 0)
            first = TagStart;
        return;
    }
}

bool TagIndex::found(int Index) const
{
    return FStart[static_cast<size_t>(Index)] >= 0 && FEnd[static_cast<size_t>(Index)] >= 0;
}

std::string_view TagIndex::value(int Index) const
{
    if (!found(Index))
        return {};
    const auto i = static_cast<size_t>(Index);
    const qsizetype from = FStart[i] + static_cast<qsizetype>(FNames[i].size()) + 2;
    return FEnd[i] >= from ? FText.substr(static_cast<size_t>(from), static_cast<size_t>(FEnd[i] - from))
                           : std::string_view();
}

std::string_view TagIndex::element(int Index) const
{
    if (!found(Index))
        return {};
    const auto i = static_cast<size_t>(Index);
    const auto startTagSize = static_cast<qsizetype>(FNames[i].size()) + 2;
    const auto endTagSize = static_cast<qsizetype>(FNames[i].size()) + 3;
    if (FEnd[i] < FStart[i] + startTagSize)
        return {};
    return FText.substr(static_cast<size_t>(FStart[i]), static_cast<size_t>(FEnd[i] + endTagSize - FStart[i]));
}
