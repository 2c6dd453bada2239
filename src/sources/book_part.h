// One part of a book: the title the book's contents show and the text the phone reads.
// The source list holds the book as a list of them, and the jar builder writes them in
// that order.
#pragma once

#include <string>

struct BookPart {
    std::string title;
    std::string text;

    bool operator==(const BookPart&) const = default;
};
