#include "ui/file_filter.h"

std::string FileDialogFilter(std::string_view barSeparated)
{
    while (!barSeparated.empty() && barSeparated.back() == '|')
        barSeparated.remove_suffix(1);
    std::string filter(barSeparated);
    for (char& c : filter) {
        if (c == '|')
            c = '\0';
    }
    if (!filter.empty())
        filter += '\0';
    filter += '\0';
    return filter;
}
