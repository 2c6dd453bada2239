// The source list: titles and texts in step, the remembered selection m_nCurSel and the
// list box's visible selection as two facts, every move and its out-of-range cases, checked
// against a stand-in list box after each step.
#include "sources/source_list.h"

#include "list_box_view.h"
#include "support/book_parts.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

namespace {

using Titles = std::vector<std::string>;

// A source list shown in a stand-in list box.
class SourceListTest : public ::testing::Test {
protected:
    SourceListTest() { list.SetView(&view); }

    void Add(std::size_t count)
    {
        for (std::size_t i = 0; i < count; ++i) {
            const std::string title(1, static_cast<char>('A' + list.GetCount()));
            list.AddEntry(title, "text " + title, false);
        }
    }
    // The user clicks an item (or empty space: -1).
    void Click(int index)
    {
        view.SetSelection(index);
        list.OnSelectionChange(view.selection);
    }
    // Titles and texts in step, and the list box shows what the model says.
    void ExpectConsistent()
    {
        ASSERT_EQ(test::Titles(list).size(), test::Texts(list).size());
        for (std::size_t i = 0; i < list.GetCount(); ++i)
            EXPECT_EQ(test::Texts(list)[i], "text " + test::Titles(list)[i]);
        EXPECT_EQ(view.items, test::Titles(list));
        EXPECT_EQ(view.selection, list.GetVisibleSelection());
    }

    CSourceList list;
    ListBoxView view;
};

enum class Op { Up, Down, Delete };

struct MoveCase {
    const char* what;
    std::size_t count;
    int click;  // -2: no click at all
    Op op;
    Titles titles;
    int curSel;
    int visible;
};

void PrintTo(const MoveCase& c, std::ostream* os) { *os << c.what; }

class SourceListMoves : public SourceListTest, public ::testing::WithParamInterface<MoveCase> {};

TEST_P(SourceListMoves, Move)
{
    const MoveCase& c = GetParam();
    Add(c.count);
    if (c.click != -2)
        Click(c.click);
    switch (c.op) {
    case Op::Up: list.MoveUp(); break;
    case Op::Down: list.MoveDown(); break;
    case Op::Delete: list.Delete(); break;
    }
    EXPECT_EQ(test::Titles(list), c.titles);
    EXPECT_EQ(list.GetCurSel(), c.curSel);
    EXPECT_EQ(list.GetVisibleSelection(), c.visible);
    ExpectConsistent();
}

INSTANTIATE_TEST_SUITE_P(Table, SourceListMoves, ::testing::ValuesIn(std::vector<MoveCase> {
    {"up, empty list", 0, -2, Op::Up, {}, -1, -1},
    {"down, empty list", 0, -2, Op::Down, {}, -1, -1},
    {"delete, empty list", 0, -2, Op::Delete, {}, -1, -1},
    {"up, nothing selected", 3, -2, Op::Up, {"A", "B", "C"}, -1, -1},
    {"down, nothing selected", 3, -2, Op::Down, {"A", "B", "C"}, -1, -1},
    {"delete, nothing selected", 3, -2, Op::Delete, {"A", "B", "C"}, -1, -1},
    {"up on the first", 3, 0, Op::Up, {"A", "B", "C"}, 0, 0},
    {"up on the second", 3, 1, Op::Up, {"B", "A", "C"}, 0, 0},
    {"up on the last", 3, 2, Op::Up, {"A", "C", "B"}, 1, 1},
    {"down on the first", 3, 0, Op::Down, {"B", "A", "C"}, 1, 1},
    {"down on the second", 3, 1, Op::Down, {"A", "C", "B"}, 2, 2},
    {"down on the last", 3, 2, Op::Down, {"A", "B", "C"}, 2, 2},
    {"down on the only", 1, 0, Op::Down, {"A"}, 0, 0},
    {"delete the first", 3, 0, Op::Delete, {"B", "C"}, 0, 0},
    {"delete the middle: its follower is selected", 3, 1, Op::Delete, {"A", "C"}, 1, 1},
    {"delete the last: nothing visibly selected, m_nCurSel kept", 3, 2, Op::Delete, {"A", "B"}, 2, -1},
    {"delete the only", 1, 0, Op::Delete, {}, 0, -1},
    {"a click on empty space", 3, -1, Op::Up, {"A", "B", "C"}, -1, -1},
}));

TEST_F(SourceListTest, AppendKeepsTheSelection)
{
    Add(2);
    Click(0);
    Add(1);
    EXPECT_EQ(test::Titles(list), (Titles {"A", "B", "C"}));
    EXPECT_EQ(list.GetCurSel(), 0);
    EXPECT_EQ(list.GetVisibleSelection(), 0);
    ExpectConsistent();
}

TEST_F(SourceListTest, TheSameTitleTwiceGivesTwoEntries)
{
    list.AddEntry("same", "text same", false);
    list.AddEntry("same", "text same", false);
    EXPECT_EQ(test::Titles(list), (Titles {"same", "same"}));
    ExpectConsistent();
}

TEST_F(SourceListTest, UpMovesTitleAndTextTogether)
{
    Add(3);
    Click(1);
    list.MoveUp();
    EXPECT_EQ(test::Titles(list), (Titles {"B", "A", "C"}));
    EXPECT_EQ(test::Texts(list), (Titles {"text B", "text A", "text C"}));
    EXPECT_EQ(list.GetCurSel(), 0);
    ExpectConsistent();
    EXPECT_EQ(view.calls.back(), "select 0");
}

TEST_F(SourceListTest, DeleteTwiceFromTheMiddle)
{
    Add(3);
    Click(1);
    list.Delete();
    EXPECT_EQ(test::Titles(list), (Titles {"A", "C"}));
    EXPECT_EQ(list.GetVisibleSelection(), 1);
    list.Delete();  // deletes the follower that is now selected
    EXPECT_EQ(test::Titles(list), (Titles {"A"}));
    EXPECT_EQ(list.GetCurSel(), 1);
    EXPECT_EQ(list.GetVisibleSelection(), -1);
    ExpectConsistent();
}

TEST_F(SourceListTest, AfterDeletingTheLastNothingHappensUntilSomethingIsSelected)
{
    Add(3);
    Click(2);
    list.Delete();
    EXPECT_EQ(list.GetCurSel(), 2);
    EXPECT_EQ(list.GetVisibleSelection(), -1);
    for (int i = 0; i < 2; ++i) {
        list.Delete();
        list.MoveUp();
        list.MoveDown();
    }
    EXPECT_EQ(test::Titles(list), (Titles {"A", "B"}));
    ExpectConsistent();

    // m_nCurSel still says 2: an entry appended there is what the buttons act on, although
    // the list box shows nothing selected (the remembered selection is a fact of its own).
    Add(1);
    EXPECT_EQ(list.GetCurSel(), 2);
    EXPECT_EQ(list.GetVisibleSelection(), -1);
    list.MoveUp();
    EXPECT_EQ(test::Titles(list), (Titles {"A", "C", "B"}));
    EXPECT_EQ(list.GetCurSel(), 1);
    EXPECT_EQ(list.GetVisibleSelection(), 1);
    ExpectConsistent();

    Click(0);
    list.Delete();
    EXPECT_EQ(test::Titles(list), (Titles {"C", "B"}));
    EXPECT_EQ(list.GetVisibleSelection(), 0);
    ExpectConsistent();
}

TEST_F(SourceListTest, ReplaceSelectedReplacesInPlace)
{
    Add(3);
    Click(1);
    view.calls.clear();
    list.AddEntry("B2", "text B2", true);
    EXPECT_EQ(test::Titles(list), (Titles {"A", "B2", "C"}));
    EXPECT_EQ(list.GetCurSel(), 1);
    EXPECT_EQ(list.GetVisibleSelection(), 1);
    EXPECT_EQ(view.calls, (Titles {"delete 1", "insert 1 B2", "select 1"}));
    ExpectConsistent();
}

TEST_F(SourceListTest, ReplaceWithoutARememberedEntryAppends)
{
    Add(2);
    list.AddEntry("C", "text C", true);  // m_nCurSel is -1
    EXPECT_EQ(test::Titles(list), (Titles {"A", "B", "C"}));
    Click(1);
    list.MoveDown();
    list.MoveDown();  // now on the last
    list.Delete();    // m_nCurSel 2 names nothing now
    list.AddEntry("D", "text D", true);
    EXPECT_EQ(test::Titles(list), (Titles {"A", "C", "D"}));
    EXPECT_EQ(list.GetVisibleSelection(), -1);
    ExpectConsistent();
}

TEST_F(SourceListTest, AFailedInsertChangesNothing)
{
    Add(2);
    view.failInsertAfter = 0;
    EXPECT_THROW(list.AddEntry("C", "text C", false), std::bad_alloc);
    EXPECT_EQ(test::Titles(list), (Titles {"A", "B"}));
    ExpectConsistent();
}

TEST(SourceList, ViewAttachedLaterIsFilled)
{
    CSourceList list;
    list.AddEntry("A", "a", false);
    list.AddEntry("B", "b", false);
    list.OnSelectionChange(1);
    ListBoxView view;
    list.SetView(&view);
    EXPECT_EQ(view.items, (Titles {"A", "B"}));
    EXPECT_EQ(view.selection, 1);
}

TEST(SourceList, WorksWithoutAView)
{
    CSourceList list;
    list.AddEntry("A", "a", false);
    list.AddEntry("B", "b", false);
    list.OnSelectionChange(1);
    list.MoveUp();
    list.Delete();
    EXPECT_EQ(test::Titles(list), (Titles {"A"}));
    EXPECT_EQ(test::Texts(list), (Titles {"a"}));
}

} // namespace

namespace {

// A range of entries replaced by others (an edited text that now gives more or fewer parts),
// the selection following its entry, the list box in step.
TEST(SourceListReplaceRange, EntriesAndSelectionInStep)
{
    const struct {
        const char* name;
        std::size_t first, count;
        std::vector<std::string> with;
        int selected;
        std::vector<std::string> titles;
        int selection;
    } cases[] = {
        {"one by one", 1, 1, {"x"}, 1, {"A", "x", "C", "D"}, 1},
        {"one by three: the parts stay where the entry was", 1, 1, {"x", "y", "z"}, 1, {"A", "x", "y", "z", "C", "D"}, 1},
        {"three by one", 1, 3, {"x"}, 2, {"A", "x"}, 1},
        {"selection after the range moves with its entry", 0, 2, {"x", "y", "z"}, 3, {"x", "y", "z", "C", "D"}, 4},
        {"selection before the range stays", 2, 1, {}, 0, {"A", "B", "D"}, 0},
        {"removed with the selection inside: nothing selected", 2, 1, {}, 2, {"A", "B", "D"}, -1},
        {"count 0 inserts", 2, 0, {"x"}, 3, {"A", "B", "x", "C", "D"}, 4},
        {"at the end appends", 4, 0, {"x"}, -1, {"A", "B", "C", "D", "x"}, -1},
        {"past the end: nothing", 5, 0, {"x"}, 1, {"A", "B", "C", "D"}, 1},
        {"too many: nothing", 3, 2, {"x"}, 1, {"A", "B", "C", "D"}, 1},
    };
    for (const auto& c : cases) {
        ListBoxView view;
        CSourceList list;
        list.SetView(&view);
        for (const char* title : {"A", "B", "C", "D"})
            list.AddEntry(title, std::string("text ") + title, false);
        list.OnSelectionChange(c.selected);
        view.SetSelection(c.selected);
        CSourceList with;
        for (const std::string& title : c.with)
            with.AddEntry(title, "text " + title, false);
        list.ReplaceRange(c.first, c.count, with);
        EXPECT_EQ(test::Titles(list), c.titles) << c.name;
        EXPECT_EQ(view.items, c.titles) << c.name;
        std::vector<std::string> texts;
        for (const std::string& title : c.titles)
            texts.push_back("text " + title);
        EXPECT_EQ(test::Texts(list), texts) << c.name;
        EXPECT_EQ(list.GetCurSel(), c.selection) << c.name;
        EXPECT_EQ(list.GetVisibleSelection(), c.selection) << c.name;
        EXPECT_EQ(view.selection, c.selection) << c.name;
    }
}

} // namespace

namespace {

// Entries taken out in one pass and put back where they were: the model, the list box and
// the texts in step; indexes out of order or out of range take or put back nothing.
TEST(SourceListTake, TakenAndPutBack)
{
    const struct {
        const char* name;
        std::vector<std::size_t> indexes;
        std::vector<std::string> left;
    } cases[] = {
        {"one from the middle", {2}, {"A", "B", "D", "E"}},
        {"scattered", {0, 2, 4}, {"B", "D"}},
        {"a block at the end", {3, 4}, {"A", "B", "C"}},
        {"all", {0, 1, 2, 3, 4}, {}},
        {"none", {}, {"A", "B", "C", "D", "E"}},
        {"out of order: nothing", {2, 1}, {"A", "B", "C", "D", "E"}},
        {"twice: nothing", {1, 1}, {"A", "B", "C", "D", "E"}},
        {"past the end: nothing", {1, 5}, {"A", "B", "C", "D", "E"}},
    };
    const std::vector<std::string> all {"A", "B", "C", "D", "E"};
    for (const auto& c : cases) {
        ListBoxView view;
        CSourceList list;
        list.SetView(&view);
        for (const std::string& title : all)
            list.AddEntry(title, "text " + title, false);
        list.OnSelectionChange(2);
        view.SetSelection(2);
        std::vector<BookPart> taken = list.Take(c.indexes);
        EXPECT_EQ(test::Titles(list), c.left) << c.name;
        EXPECT_EQ(view.items, c.left) << c.name;
        EXPECT_EQ(taken.size() + c.left.size(), all.size()) << c.name;
        for (const BookPart& part : taken)
            EXPECT_EQ(part.text, "text " + part.title) << c.name;
        if (taken.empty())
            continue;
        EXPECT_EQ(list.GetCurSel(), -1) << c.name;
        EXPECT_EQ(view.selection, -1) << c.name;
        list.PutBack(c.indexes, std::move(taken));
        EXPECT_EQ(test::Titles(list), all) << c.name;
        EXPECT_EQ(view.items, all) << c.name;
        for (std::size_t i = 0; i < all.size(); ++i)
            EXPECT_EQ(test::Texts(list)[i], "text " + all[i]) << c.name;
    }
}

// Put back after the list changed: an index beyond what the list can then hold refuses the
// whole put-back instead of putting entries in the wrong places.
TEST(SourceListTake, PutBackBeyondTheListChangesNothing)
{
    CSourceList list;
    for (const char* title : {"A", "B", "C"})
        list.AddEntry(title, "t", false);
    std::vector<BookPart> taken = list.Take({1, 2});
    list.OnSelectionChange(0);
    list.Delete();
    list.PutBack({1, 2}, taken);
    EXPECT_TRUE(test::Titles(list).empty());
    list.PutBack({0, 1}, taken);
    EXPECT_EQ(test::Titles(list), (std::vector<std::string> {"B", "C"}));
}

} // namespace
