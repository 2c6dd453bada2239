// The book's name and author as a downloaded text gives them: in its file name
// ("《书名》作者：某人.txt", "书名 作者：某人.txt", "书名_作者.txt", "书名(作者).txt") or in its first
// lines ("书名：…", "作者：…"). Both front ends fill what the user left empty with them.
#pragma once

#include <string>
#include <string_view>

struct GuessedBookInfo {
    std::string name;    // empty: not found
    std::string author;  // empty: not found
};

// From a file's title (its name without the extension; UTF-8).
GuessedBookInfo BookInfoFromTitle(std::string_view title);
// From the first lines of a text (UTF-8): "书名：X", "作者：X" (also with ":" or a space).
GuessedBookInfo BookInfoFromFirstLines(std::string_view text);
// The file's title first, its first lines for what the title does not say; the title itself
// (without 《》) as the name when neither gives one.
GuessedBookInfo GuessBookInfo(std::string_view title, std::string_view firstLines);
