package harness;

import static harness.ReaderTests.check;
import static harness.ReaderTests.equal;
import static harness.ReaderTests.test;

import java.util.ArrayList;
import java.util.List;

/** Whole books read from the list to the last page, on each screen size. */
final class BookTests {
    private BookTests() {
    }

    static void run() {
        for (int[] size : ReaderTests.SIZES) {
            String on = " on " + ReaderTests.sizeName(size);
            test("the list shows the book name, author and every title" + on, () -> listShowsTitles("novel", size));
            test("the list copes with 300 parts" + on, () -> listShowsTitles("many", size));
            for (String name : new String[] { "novel", "many", "big" }) {
                test(name + ": every part paged through shows exactly its text" + on, () -> readThrough(name, size));
            }
        }
    }

    static void listShowsTitles(String name, int[] size) throws Exception {
        BookFile book = new BookFile(ReaderTests.book(name));
        try (Phone phone = ReaderTests.open(name, size)) {
            javax.microedition.lcdui.List list = phone.list();
            check(list.getTitle().contains(book.name), "list title \"" + list.getTitle() + "\" lacks the book name");
            String author = book.author.isEmpty() ? "佚名" : book.author;
            check(list.getTitle().contains(author), "list title \"" + list.getTitle() + "\" lacks the author");
            equal(book.parts(), list.size(), "rows of the list");
            for (int i = 0; i < book.parts(); i++) {
                String title = book.titles.get(i);
                equal(title.isEmpty() ? "第" + (i + 1) + "部分" : BookFile.shown(title), list.getString(i), "row " + i);
            }
            equal(0, list.getSelectedIndex(), "row selected at the start");
            check(phone.commands().contains("退出"), "the list has no exit command: " + phone.commands());
            phone.screenshot(ReaderTests.screen(size, name + "-list"));
        }
    }

    /**
     * From the list, opens part 1 and presses next-page keys (all of them in turn) until
     * the last page of the last part, checking that the pages of each part show its text,
     * that pages count up one by one and that the next key after a part's last page opens
     * the next part.
     */
    static void readThrough(String name, int[] size) throws Exception {
        BookFile book = new BookFile(ReaderTests.book(name));
        try (Phone phone = ReaderTests.open(name, size)) {
            phone.select(0);
            List<Pages.Page> partPages = new ArrayList<>();
            int part = 1;
            int presses = 0;
            while (true) {
                Pages.Page p = Pages.read(phone);
                equal(book.parts(), p.parts, "parts in the status line");
                if (p.part != part) {
                    equal(part + 1, p.part, "part after part " + part);
                    finishPart(book, part, partPages, name, size);
                    partPages.clear();
                    part = p.part;
                }
                if (partPages.isEmpty()) {
                    equal(1, p.page, "first page shown of part " + part);
                    if (part <= 7 || part % 50 == 0) {
                        phone.screenshot(ReaderTests.screen(size, name + "-part" + part + "-page1"));
                    }
                } else {
                    Pages.Page before = partPages.get(partPages.size() - 1);
                    equal(before.page + 1, p.page, "page after page " + before.page + " of part " + part);
                    equal(before.pages, p.pages, "page count of part " + part);
                }
                partPages.add(p);
                if (p.page == p.pages && part == book.parts()) {
                    break;
                }
                phone.press(ReaderTests.NEXT_KEYS[presses++ % ReaderTests.NEXT_KEYS.length]);
                check(presses < 200000, "paging does not end");
            }
            phone.screenshot(ReaderTests.screen(size, name + "-last-page"));
            finishPart(book, part, partPages, name, size);
            // Past the last page of the last part, nothing changes.
            String last = Pages.read(phone).key();
            phone.press(ReaderTests.NEXT_KEYS[0]);
            equal(last, Pages.read(phone).key(), "page after the end of the book");
        }
    }

    private static void finishPart(BookFile book, int part, List<Pages.Page> pages, String name, int[] size)
            throws Exception {
        Pages.Page last = pages.get(pages.size() - 1);
        equal(last.pages, last.page, "last page reached of part " + part);
        Pages.checkText(name + " part " + part + " on " + ReaderTests.sizeName(size),
                book.expectedText(part), pages);
    }
}
