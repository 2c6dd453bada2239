// The three book fields the user fills in: book name, author and maker (UTF-8).
#pragma once

#include <string>

struct BookInfo {
    std::string bookName;
    std::string author;
    std::string maker;
};
