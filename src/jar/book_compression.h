// How hard a book's parts are packed: the user's choice of speed against size. Every
// choice writes raw deflate that every zip reader and phone inflates.
#pragma once

#include <string>

enum class BookCompression {
    fast,    // the quickest build, the book a little larger
    normal,  // about the size zlib's level 6 gives (0.5 % larger) in a fraction of its time (the default)
    small,   // the smallest book, in more time
};

// libdeflate's level for the choice (1 fastest .. 12 smallest).
int PackLevel(BookCompression compression);

// The command line's names, also how the window keeps the choice: "fast", "normal",
// "small". Parse returns false for any other text.
bool ParseCompressionName(const std::string& name, BookCompression& compression);
std::string CompressionName(BookCompression compression);
