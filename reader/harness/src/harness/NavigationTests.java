package harness;

import static harness.ReaderTests.check;
import static harness.ReaderTests.equal;
import static harness.ReaderTests.test;

import java.util.ArrayList;
import java.util.List;
import javax.microedition.lcdui.Canvas;
import javax.microedition.lcdui.Font;
import javax.microedition.rms.RecordStores;

/** Keys, commands, resuming and font sizes, on the novel (part 6 has many pages). */
final class NavigationTests {
    static final int[] SIZE = { 176, 208 };
    static final int LONG_PART = 6;

    private NavigationTests() {
    }

    /** Opens part {@code part} from a fresh list (no "continue" row). */
    static void openPart(Phone phone, int part) {
        phone.select(part - 1);
    }

    static List<String> pageKeys(Phone phone, int presses, int key) {
        List<String> seen = new ArrayList<>();
        for (int i = 0; i < presses; i++) {
            phone.press(key);
            seen.add(Pages.read(phone).key());
        }
        return seen;
    }

    static void run() {
        for (int[] size : ReaderTests.SIZES) {
            test("a part's trailing blank lines make no page of their own on " + ReaderTests.sizeName(size), () -> {
                RecordStores.clear();
                try (Phone phone = ReaderTests.open("trailing", size)) {
                    BookFile book = phone.book();
                    openPart(phone, 1);
                    for (int part = 1; part <= book.parts(); part++) {
                        String last = "第" + part + "段第" + part + "行";
                        Pages.Page p = Pages.read(phone);
                        while (!p.lines.contains(last)) {
                            phone.press(-2);
                            p = Pages.read(phone);
                            check(p.part == part, "part " + part + " ended before its last line");
                        }
                        equal(p.pages, p.page, "part " + part + ": the page of its last line is its last page");
                        phone.press(-2);
                        p = Pages.read(phone);
                        if (part < book.parts()) {
                            equal((part + 1) + ":1", p.part + ":" + p.page, "after the last line of part " + part);
                        }
                    }
                }
            });
        }
        test("turning pages back and forth at random shows the pages read straight through", () -> {
            try (Phone phone = ReaderTests.open("novel", SIZE)) {
                openPart(phone, 1);
                List<Pages.Page> pages = allPages(phone);
                check(pages.get(pages.size() - 1).lines.size() < pages.get(0).lines.size(),
                        "the last page is as full as the first; the walk would not see a short page");
                java.util.Random random = new java.util.Random(5);
                int page = pages.size();
                for (int step = 0; step < 400; step++) {
                    boolean forward = page == 1 || (page < pages.size() && random.nextInt(3) != 0);
                    int[] keys = forward ? ReaderTests.NEXT_KEYS : ReaderTests.PREVIOUS_KEYS;
                    phone.press(keys[random.nextInt(keys.length)]);
                    page += forward ? 1 : -1;
                    equal(pages.get(page - 1).key(), Pages.read(phone).key(), "page after step " + step);
                }
            }
        });
        test("previous page on a part's first page shows the previous part's last page", () -> {
            try (Phone phone = ReaderTests.open("novel", SIZE)) {
                openPart(phone, 1);
                Pages.Page p = Pages.read(phone);
                while (p.page < p.pages) {
                    phone.press(Canvas.KEY_NUM8);
                    p = Pages.read(phone);
                }
                String lastOfFirst = p.key();
                openPartByKeys(phone, 2);
                phone.press(Canvas.KEY_NUM2);
                equal(lastOfFirst, Pages.read(phone).key(), "page before part 2");
                phone.press(-1);
                Pages.Page before = Pages.read(phone);
                equal(1, before.part, "part after going back within part 1");
                equal(p.pages - 1, before.page, "page after going back within part 1");
            }
        });
        test("4 and 6 go to the previous and next part's first page, and stop at the ends", () -> {
            try (Phone phone = ReaderTests.open("novel", SIZE)) {
                openPart(phone, LONG_PART);
                phone.press(Canvas.KEY_NUM8);
                phone.press(Canvas.KEY_NUM8);
                phone.press(Canvas.KEY_NUM4);
                Pages.Page p = Pages.read(phone);
                equal(LONG_PART - 1 + ":1", p.part + ":" + p.page, "after 4");
                phone.press(Canvas.KEY_NUM6);
                p = Pages.read(phone);
                equal(LONG_PART + ":1", p.part + ":" + p.page, "after 6");
                phone.press(Canvas.KEY_NUM6);
                phone.press(Canvas.KEY_NUM6);
                equal(7, Pages.read(phone).part, "part after 6 on the last part");
                phone.press(Canvas.KEY_NUM4);
                phone.press(Canvas.KEY_NUM4);
                phone.press(Canvas.KEY_NUM4);
                phone.press(Canvas.KEY_NUM4);
                phone.press(Canvas.KEY_NUM4);
                phone.press(Canvas.KEY_NUM4);
                phone.press(Canvas.KEY_NUM4);
                p = Pages.read(phone);
                equal("1:1", p.part + ":" + p.page, "after 4 on the first part");
            }
        });
        test("keys of no command change nothing (soft keys run the runtime's commands); a held key turns pages", () -> {
            try (Phone phone = ReaderTests.open("novel", SIZE)) {
                openPart(phone, LONG_PART);
                String first = Pages.read(phone).key();
                for (int key : new int[] { -6, -7, -8, -100, 0, ' ', 'a' }) {
                    phone.press(key);
                    equal(first, Pages.read(phone).key(), "page after key " + key);
                }
                phone.repeat(-2);
                phone.repeat(-2);
                equal(3, Pages.read(phone).page, "page after holding down");
            }
        });
        test("目录 goes back to the list at the part read, also offered first; its row goes on from the page", () -> {
            BookFile book = new BookFile(ReaderTests.book("novel"));
            try (Phone phone = ReaderTests.open("novel", SIZE)) {
                openPart(phone, LONG_PART);
                phone.press(-2);
                phone.press(-2);
                String shown = Pages.read(phone).key();
                check(phone.commands().containsAll(List.of("目录", "字体", "退出")), "commands " + phone.commands());
                phone.command("目录");
                javax.microedition.lcdui.List list = phone.list();
                equal(book.parts() + 1, list.size(), "rows with the continue row");
                ReaderTests.checkResumeRow(book.titles.get(LONG_PART - 1), list.getString(0), "first row");
                equal(LONG_PART, list.getSelectedIndex(), "row selected: the part read");
                equal(book.titles.get(0), list.getString(1), "second row");
                phone.screenshot(ReaderTests.screen(SIZE, "novel-list-continue"));
                phone.select(LONG_PART);
                equal(shown, Pages.read(phone).key(), "page after choosing the part read");
                phone.command("目录");
                phone.select(0);
                equal(shown, Pages.read(phone).key(), "page after continuing");
                phone.command("目录");
                phone.select(2);
                equal("2:1", Pages.read(phone).part + ":1", "part chosen below the continue row");
                phone.command("目录");
                ReaderTests.checkResumeRow(book.titles.get(1), phone.list().getString(0), "continue row after part 2");
                equal(book.parts() + 1, phone.list().size(), "rows after a second visit");
            }
        });
        test("退出 ends the MIDlet from the list and from the reading screen", () -> {
            try (Phone phone = ReaderTests.open("novel", SIZE)) {
                phone.command("退出");
                check(phone.ended(), "still running after 退出 on the list");
            }
            try (Phone phone = ReaderTests.open("novel", SIZE)) {
                openPart(phone, 2);
                phone.command("退出");
                check(phone.ended(), "still running after 退出 while reading");
            }
            check(!RecordStores.anyOpen(), "a record store was left open");
        });
    }

    /**
     * Checks that page {@code page} (1-based) of a part whose pages start at {@code starts}
     * holds character {@code anchor} of its text; returns where the page starts.
     */
    static int checkHolds(String label, String text, int[] starts, int page, int anchor) {
        int start = starts[page - 1];
        int end = page < starts.length ? starts[page] : text.length();
        check(start <= anchor && anchor < end, label + ": page " + page + " holds characters "
                + start + ".." + end + ", not " + anchor);
        return start;
    }

    /** Turns pages with the joystick until page {@code page} of the part is shown. */
    static void goToPage(Phone phone, int page) {
        for (Pages.Page p = Pages.read(phone); p.page != page; p = Pages.read(phone)) {
            phone.press(p.page < page ? -2 : -1);
        }
    }

    /** Goes from the part shown to part {@code part} with the 6 key. */
    static void openPartByKeys(Phone phone, int part) {
        while (Pages.read(phone).part < part) {
            phone.press(Canvas.KEY_NUM6);
        }
    }

    static void runResume() {
        test("the page read is offered at the next start, however the MIDlet ended", () -> {
            String[] endings = { "退出", "destroy", "pause+destroy" };
            BookFile book = new BookFile(ReaderTests.book("novel"));
            for (String ending : endings) {
                RecordStores.clear();
                String shown;
                try (Phone phone = ReaderTests.open("novel", SIZE)) {
                    openPart(phone, LONG_PART);
                    for (int i = 0; i < 3; i++) {
                        phone.press(-2);
                    }
                    shown = Pages.read(phone).key();
                    if (ending.equals("退出")) {
                        phone.command("退出");
                    } else {
                        if (ending.startsWith("pause")) {
                            phone.pause();
                        }
                        phone.destroy();
                    }
                }
                try (Phone phone = ReaderTests.open("novel", SIZE)) {
                    ReaderTests.checkResumeRow(book.titles.get(LONG_PART - 1), phone.list().getString(0),
                            "first row after ending by " + ending);
                    equal(LONG_PART, phone.list().getSelectedIndex(), "row selected after ending by " + ending);
                    phone.select(0);
                    equal(shown, Pages.read(phone).key(), "page resumed after ending by " + ending);
                }
            }
            check(!RecordStores.anyOpen(), "a record store was left open");
        });
        test("a kept part beyond the book's parts is not offered", () -> {
            try (Phone phone = ReaderTests.open("novel", SIZE)) {
                openPart(phone, 7);
                phone.command("退出");
            }
            try (Phone phone = ReaderTests.open("small", SIZE)) {
                equal(3, phone.list().size(), "rows of a 3-part book after reading part 7 of another");
                equal("甲", phone.list().getString(0), "first row");
            }
        });
    }

    /** Pages through the long part and returns its pages. */
    static List<Pages.Page> allPages(Phone phone) {
        List<Pages.Page> pages = new ArrayList<>();
        Pages.Page p = Pages.read(phone);
        while (p.page != 1) {
            phone.press(-1);
            p = Pages.read(phone);
        }
        pages.add(p);
        while (p.page < p.pages) {
            phone.press(-2);
            p = Pages.read(phone);
            pages.add(p);
        }
        return pages;
    }

    static void runFonts() {
        test("font sizes: the page's first character stays shown, fewer lines when larger, kept at the next start", () -> {
            BookFile book = new BookFile(ReaderTests.book("novel"));
            String text = book.expectedText(LONG_PART);
            try (Phone phone = ReaderTests.open("novel", SIZE)) {
                openPart(phone, LONG_PART);
                List<Pages.Page> medium = allPages(phone);
                int[] mediumStarts = Pages.checkText("medium", text, medium);
                equal(Font.SIZE_MEDIUM, medium.get(0).fontSize, "font at the start");
                // Go to the middle page and change to each size in turn.
                int middle = medium.size() / 2;
                while (Pages.read(phone).page > middle + 1) {
                    phone.press(-1);
                }
                int anchor = mediumStarts[middle];
                int lines = medium.get(middle).lines.size();
                String[] labels = { "小字体", "中字体", "大字体" };
                int[] fontSizes = { Font.SIZE_SMALL, Font.SIZE_MEDIUM, Font.SIZE_LARGE };
                int[] pageCounts = new int[3];
                int[] order = { 2, 0, 1 };
                for (int choice : order) {
                    phone.command("字体");
                    javax.microedition.lcdui.List list = phone.list();
                    equal(3, list.size(), "rows of the font list");
                    equal(labels[choice], list.getString(choice), "font row " + choice);
                    phone.screenshot(ReaderTests.screen(SIZE, "font-list"));
                    phone.select(choice);
                    Pages.Page now = Pages.read(phone);
                    equal(fontSizes[choice], now.fontSize, "font after choosing " + labels[choice]);
                    pageCounts[choice] = now.pages;
                    phone.screenshot(ReaderTests.screen(SIZE, "novel-font-" + choice));
                    List<Pages.Page> pages = allPages(phone);
                    int[] starts = Pages.checkText(labels[choice], text, pages);
                    // The next change keeps this page's first character.
                    anchor = checkHolds(labels[choice], text, starts, now.page, anchor);
                    goToPage(phone, now.page);
                    if (choice == 2) {
                        check(pages.get(0).lines.size() < lines, "large font shows no fewer lines");
                    }
                }
                check(pageCounts[0] < pageCounts[1] && pageCounts[1] < pageCounts[2],
                        "page counts small/medium/large: " + pageCounts[0] + "/" + pageCounts[1] + "/" + pageCounts[2]);
                phone.command("字体");
                phone.command("返回");
                equal(Font.SIZE_MEDIUM, Pages.read(phone).fontSize, "font after 返回");
                phone.command("字体");
                phone.select(2);
                phone.command("退出");
            }
            try (Phone phone = ReaderTests.open("novel", SIZE)) {
                phone.select(0);
                equal(Font.SIZE_LARGE, Pages.read(phone).fontSize, "font at the next start");
            }
        });
    }
}
