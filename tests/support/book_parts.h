// The titles and texts of a book's parts as separate lists, for assertions that compare one
// of them, and parts made from two such lists.
#pragma once

#include "sources/book_part.h"
#include "sources/source_list.h"

#include <string>
#include <vector>

namespace test {

inline std::vector<std::string> Titles(const std::vector<BookPart>& parts)
{
    std::vector<std::string> titles;
    for (const BookPart& part : parts)
        titles.push_back(part.title);
    return titles;
}

inline std::vector<std::string> Texts(const std::vector<BookPart>& parts)
{
    std::vector<std::string> texts;
    for (const BookPart& part : parts)
        texts.push_back(part.text);
    return texts;
}

inline std::vector<std::string> Titles(const CSourceList& list) { return Titles(list.GetParts()); }
inline std::vector<std::string> Texts(const CSourceList& list) { return Texts(list.GetParts()); }

// One part per title, with the text at the same place.
inline std::vector<BookPart> Parts(const std::vector<std::string>& titles, const std::vector<std::string>& texts)
{
    std::vector<BookPart> parts;
    for (std::size_t i = 0; i < titles.size() && i < texts.size(); ++i)
        parts.push_back({titles[i], texts[i]});
    return parts;
}

} // namespace test
