package harness;

import static harness.ReaderTests.check;
import static harness.ReaderTests.equal;
import static harness.ReaderTests.test;

import java.util.HashMap;
import java.util.List;
import java.util.Map;
import javax.microedition.lcdui.Canvas;
import javax.microedition.lcdui.TextBox;
import javax.microedition.rms.RecordStores;

/** 查找 (hits, misses, wrapping to the book's start, the word marked) and a part without text. */
final class FindTests {
    static final int[] SIZE = NavigationTests.SIZE;
    /** The colour the reader marks a found word with, by day. */
    static final int MARK = 0xF2D675;

    private FindTests() {
    }

    /** Where each page of each part of the novel starts, as character indexes of its text. */
    private static Map<Integer, int[]> pageStarts(BookFile book) throws Exception {
        Map<Integer, int[]> starts = new HashMap<>();
        for (int part = 1; part <= book.parts(); part++) {
            RecordStores.clear();
            try (Phone phone = ReaderTests.open("novel", SIZE)) {
                NavigationTests.openPart(phone, part);
                starts.put(part, Pages.checkText("part " + part, book.expectedText(part), NavigationTests.allPages(phone)));
            }
        }
        RecordStores.clear();
        return starts;
    }

    /** Pixels of the mark's colour on the screen shown. */
    static int marked(Phone phone) {
        java.awt.image.BufferedImage image = phone.render().image;
        int n = 0;
        for (int y = 0; y < image.getHeight(); y++) {
            for (int x = 0; x < image.getWidth(); x++) {
                n += (image.getRGB(x, y) & 0xffffff) == MARK ? 1 : 0;
            }
        }
        return n;
    }

    static void search(Phone phone, String word, String prefilled) {
        phone.command("查找");
        TextBox box = (TextBox) phone.current();
        equal(prefilled, box.getString(), "text of 查找's box");
        phone.type(word);
        phone.command("确定");
    }

    static void run() {
        test("查找 finds a word from the page shown on through the book, wraps to its start, marks it, says 未找到", () -> {
            BookFile book = new BookFile(ReaderTests.book("novel"));
            Map<Integer, int[]> starts = pageStarts(book);
            // { part, page to start from, word, searches in a row }
            Object[][] cases = {
                { 6, 1, "能见度良好", 1 },
                { 1, 1, "最后的一部分", 1 },
                { 6, 3, "灯塔", 3 },
                { 7, 1, "最后", 2 },
                { 3, 1, "最后一行没有换行符", 2 },
                { 6, 1, "不存在的词", 1 },
            };
            for (Object[] c : cases) {
                int part = (Integer) c[0];
                String word = (String) c[2];
                // Where the reader must land, found here in the book's text: from the page's
                // start on, then after each hit's first character.
                int atPart = part;
                int from = starts.get(part)[(Integer) c[1] - 1];
                try (Phone phone = ReaderTests.open("novel", SIZE)) {
                    NavigationTests.openPart(phone, part);
                    NavigationTests.goToPage(phone, (Integer) c[1]);
                    String prefilled = "";
                    for (int n = 0; n < (Integer) c[3]; n++) {
                        String name = word + " from " + c[0] + ":" + c[1] + ", search " + (n + 1);
                        int hitPart = -1;
                        int hit = -1;
                        for (int i = 0; i <= book.parts() && hit < 0; i++) {
                            int p = (atPart - 1 + i) % book.parts() + 1;
                            int at = book.expectedText(p).indexOf(word, i == 0 ? from : 0);
                            if (at >= 0 && (i < book.parts() || at < from)) {
                                hitPart = p;
                                hit = at;
                            }
                        }
                        String before = KeyTests.shows(phone);
                        search(phone, word, prefilled);
                        prefilled = word;
                        if (hit < 0) {
                            equal("未找到“" + word + "”。", Pages.read(phone).notice, name);
                            equal(before, KeyTests.shows(phone), name + ": page after 未找到");
                            continue;
                        }
                        Pages.Page p = Pages.read(phone);
                        equal(hitPart + ":" + GoToTests.pageHolding(starts.get(hitPart), hit), p.part + ":" + p.page, name);
                        if (n == 0) {
                            phone.screenshot(ReaderTests.screen(SIZE, "find-" + word));
                        }
                        check(marked(phone) > 0, name + ": the word is not marked");
                        atPart = hitPart;
                        from = hit + 1;
                    }
                    if (phone.showsCanvas()) {
                        phone.press(Canvas.KEY_NUM8);
                        phone.press(Canvas.KEY_NUM2);
                        equal(0, marked(phone), "pixels marked after turning away and back");
                    }
                }
                RecordStores.clear();
            }
        });
        test("an empty word finds nothing and changes nothing", () -> {
            try (Phone phone = ReaderTests.open("novel", SIZE)) {
                NavigationTests.openPart(phone, 6);
                NavigationTests.goToPage(phone, 4);
                String before = KeyTests.shows(phone);
                search(phone, "", "");
                equal(before, KeyTests.shows(phone), "after searching for nothing");
            }
        });
        for (int[] size : ReaderTests.SIZES) {
            test("a part of only spaces and line ends says so, on " + ReaderTests.sizeName(size), () -> {
                try (Phone phone = ReaderTests.open("blank", size)) {
                    phone.select(0);
                    Pages.Page p = Pages.read(phone);
                    equal(List.of(Pages.NO_TEXT), p.lines, "lines of the blank part");
                    equal("1/1", p.page + "/" + p.pages, "pages of the blank part");
                    phone.screenshot(ReaderTests.screen(size, "blank-part"));
                    phone.press(Canvas.KEY_NUM1);
                    check(Pages.read(phone).notice.endsWith("空白 1页"), "bookmark " + Pages.read(phone).notice);
                    phone.press(Canvas.KEY_NUM8);
                    equal(List.of("有字的一部分。"), Pages.read(phone).lines, "lines of the next part");
                }
            });
        }
    }
}
