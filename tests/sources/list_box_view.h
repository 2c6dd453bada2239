// A stand-in for list box 1005: keeps items and a selection the way a single-selection list
// box does (an insert before the selection moves it down, deleting the selected item clears
// it), records every call, and can be told to fail an insert as a full list box would.
#pragma once

#include "sources/source_list.h"

#include <new>
#include <string>
#include <vector>

class ListBoxView : public ISourceListView {
public:
    void InsertItem(int index, const std::string& title) override
    {
        calls.push_back("insert " + std::to_string(index) + " " + title);
        if (failInsertAfter >= 0 && inserts++ >= failInsertAfter)
            throw std::bad_alloc();
        items.insert(items.begin() + index, title);
        if (selection >= index)
            ++selection;
    }
    void DeleteItem(int index) override
    {
        calls.push_back("delete " + std::to_string(index));
        items.erase(items.begin() + index);
        if (selection == index)
            selection = -1;
        else if (selection > index)
            --selection;
    }
    void SetSelection(int index) override
    {
        calls.push_back("select " + std::to_string(index));
        selection = index >= 0 && index < static_cast<int>(items.size()) ? index : -1;
    }

    std::vector<std::string> items;
    int selection = -1;
    std::vector<std::string> calls;
    int failInsertAfter = -1;  // inserts that succeed before one fails; -1: none fails
    int inserts = 0;
};
