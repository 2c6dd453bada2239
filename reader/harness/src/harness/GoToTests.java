package harness;

import static harness.ReaderTests.check;
import static harness.ReaderTests.equal;
import static harness.ReaderTests.test;

import java.nio.charset.StandardCharsets;
import java.util.ArrayList;
import java.util.List;
import javax.microedition.lcdui.Alert;
import javax.microedition.lcdui.Canvas;
import javax.microedition.lcdui.DrawnText;
import javax.microedition.lcdui.Screens;
import javax.microedition.lcdui.TextField;

/** 跳转 (a page, a percentage of the part, its first and last page) and bookmarks. */
final class GoToTests {
    static final int[] SIZE = NavigationTests.SIZE;
    static final int LONG_PART = NavigationTests.LONG_PART;
    private static final List<String> GO_TO_ROWS = List.of("输入页码", "输入百分比", "输入章节号", "本部分第一页", "本部分最后一页");

    private GoToTests() {
    }

    /** The page (1-based) holding character {@code index} of a part whose pages start at {@code starts}. */
    static int pageHolding(int[] starts, int index) {
        int p = 0;
        while (p + 1 < starts.length && starts[p + 1] <= index) {
            p++;
        }
        return p + 1;
    }

    /** The character index where byte {@code offset} of the UTF-8 text falls. */
    static int charAt(String text, int offset) {
        int bytes = 0;
        int i = 0;
        while (i < text.length() && bytes + String.valueOf(text.charAt(i)).getBytes(StandardCharsets.UTF_8).length <= offset) {
            bytes += String.valueOf(text.charAt(i)).getBytes(StandardCharsets.UTF_8).length;
            i++;
        }
        return i;
    }

    /** The texts drawn on the reading screen, joined: the pad's question and field among them. */
    static String padText(Phone phone) {
        StringBuilder all = new StringBuilder();
        for (DrawnText t : phone.render().texts) {
            all.append(t.text).append('|');
        }
        return all.toString();
    }

    /** Presses the keys of {@code typed} (digits and *) on the number pad. */
    static void typeOnPad(Phone phone, String typed) {
        for (char c : typed.toCharArray()) {
            phone.press(c);
        }
    }

    static void runGoTo() {
        test("跳转 goes to a page, a percentage of the whole book, a part, the part's first and last page", () -> {
            BookFile book = new BookFile(ReaderTests.book("novel"));
            String text = book.expectedText(LONG_PART);
            long total = 0;
            long before = 0;
            for (int part = 1; part <= book.parts(); part++) {
                total += book.entry(part + ".txt").length;
                before += part < LONG_PART ? book.entry(part + ".txt").length : 0;
            }
            try (Phone phone = ReaderTests.open("novel", SIZE)) {
                NavigationTests.openPart(phone, LONG_PART);
                List<Pages.Page> pages = NavigationTests.allPages(phone);
                int[] starts = Pages.checkText("novel", text, pages);
                int n = pages.size();
                check(n > 20, "only " + n + " pages");
                String[] at = new String[101];
                for (int percent : new int[] { 25, 50, 99 }) {
                    long inPart = total * percent / 100 - before;
                    check(inPart > 0, percent + "% is not in part " + LONG_PART);
                    at[percent] = LONG_PART + ":" + pageHolding(starts, charAt(text, (int) inPart));
                }
                String last = book.parts() + ":" + 1; // the last part has one page
                // { row, typed (null: no text box), page before, part:page after }
                Object[][] cases = {
                    { 0, "5", 1, "6:5" },
                    { 0, "1", 9, "6:1" },
                    { 0, String.valueOf(n), 1, "6:" + n },
                    { 0, "0", 9, "6:1" },
                    { 0, "999999", 1, "6:" + n },
                    { 0, "", 9, "6:9" },
                    { 0, "5*", 9, "6:9" },
                    { 0, "1*2", 1, "6:2" },
                    { 1, "25", 1, at[25] },
                    { 1, "50", 1, at[50] },
                    { 1, "99", 1, at[99] },
                    { 1, "100", 1, last },
                    { 1, "999", 1, last },
                    { 1, "0", 9, "1:1" },
                    { 1, "", 9, "6:9" },
                    { 2, "3", 9, "3:1" },
                    { 2, "0", 9, "1:1" },
                    // The titles are numbered 第一章 to 第六章, then 尾声: chapters count.
                    { 2, "6", 9, "6:1" },
                    { 2, "7", 9, "6:1" },
                    { 2, "99", 9, "6:1" },
                    { 2, "", 9, "6:9" },
                    { 3, null, 9, "6:1" },
                    { 4, null, 1, "6:" + n },
                };
                for (Object[] c : cases) {
                    int row = (Integer) c[0];
                    String typed = (String) c[1];
                    String name = GO_TO_ROWS.get(row) + (typed == null ? "" : " \"" + typed + "\"");
                    int from = (Integer) c[2];
                    if (Pages.read(phone).part != LONG_PART) {
                        phone.command("目录");
                        phone.select(LONG_PART);
                    }
                    NavigationTests.goToPage(phone, from);
                    phone.command("跳转");
                    equal(GO_TO_ROWS, DisplayTests.rows(phone.list()), "rows of 跳转");
                    phone.select(row);
                    if (typed != null) {
                        String range = row == 0 ? "1-" + n : row == 1 ? "0-100" : "1-6";
                        check(padText(phone).contains(range), name + ": the pad shows " + padText(phone));
                        typeOnPad(phone, typed);
                        check(padText(phone).contains(typed.replaceAll(".\\*", "") + "_"), name + ": the field shows " + padText(phone));
                        phone.press(Canvas.KEY_POUND);
                    }
                    Pages.Page p = Pages.read(phone);
                    equal(c[3], p.part + ":" + p.page, name + " from page " + from);
                }
                NavigationTests.goToPage(phone, 3);
                phone.command("跳转");
                phone.command("返回");
                equal(3, Pages.read(phone).page, "page after 返回 in 跳转");
                // Cancelled by a soft key, by 取消 tapped, or by a command of the reading screen.
                for (String way : new String[] { "soft key", "tap", "command" }) {
                    phone.command("跳转");
                    phone.select(0);
                    typeOnPad(phone, "7");
                    if (way.equals("soft key")) {
                        phone.press(-6);
                    } else if (way.equals("tap")) {
                        Canvas canvas = (Canvas) phone.current();
                        phone.tap(canvas.getWidth() / 2, canvas.getHeight() - 2);
                    } else {
                        phone.command("夜间模式");
                        phone.command("日间模式");
                    }
                    equal(3, Pages.read(phone).page, "page after the pad is cancelled by " + way);
                    check(!padText(phone).contains("7_"), "the pad stays after " + way);
                }
            }
        });
        test("跳转's numbers are typed by tapping the drawn keypad", () -> {
            try (Phone phone = ReaderTests.open("novel", SIZE)) {
                NavigationTests.openPart(phone, LONG_PART);
                phone.command("跳转");
                phone.select(0);
                Canvas canvas = (Canvas) phone.current();
                int w = canvas.getWidth();
                int h = canvas.getHeight();
                // Keys by the centre of their label as drawn: 1, 2, *删 (deletes the 2), 3, #确定.
                for (String key : new String[] { "1", "2", "*删", "3", "#确定" }) {
                    DrawnText label = phone.render().texts.stream().filter(t -> t.text.equals(key)).findFirst()
                            .orElseThrow(() -> new AssertionError("no key " + key + " drawn"));
                    check(label.y + label.height <= h && label.x + label.width <= w, key + " off the screen");
                    phone.tap(label.x + label.width / 2, label.y + label.height / 2);
                }
                equal("6:13", Pages.read(phone).part + ":" + Pages.read(phone).page, "after tapping 1 2 * 3 #");
            }
        });
        for (int[] size : ReaderTests.SIZES) {
            test("the screens of 跳转 on " + ReaderTests.sizeName(size), () -> {
                try (Phone phone = ReaderTests.open("novel", size)) {
                    NavigationTests.openPart(phone, LONG_PART);
                    phone.command("跳转");
                    phone.screenshot(ReaderTests.screen(size, "goto-list"));
                    phone.select(0);
                    typeOnPad(phone, "12");
                    Screens.Frame f = phone.render();
                    check(f.unshowable.isEmpty(), "characters without glyphs: " + f.unshowable);
                    phone.screenshot(ReaderTests.screen(size, "goto-page-pad"));
                    int h = ((Canvas) phone.current()).getHeight();
                    for (DrawnText t : f.texts) {
                        check(t.x >= 0 && t.x + t.width <= size[0], "\"" + t.text + "\" is cut at the screen's edge");
                    }
                    // The question, the field and every key are on the screen, below the page's lines.
                    String range = "页码（1-";
                    int question = -1;
                    for (int i = 0; i < f.texts.size(); i++) {
                        DrawnText t = f.texts.get(i);
                        if (t.text.startsWith(range)) {
                            question = i;
                        }
                    }
                    check(question >= 0, "no question drawn: " + padText(phone));
                    for (DrawnText t : f.texts.subList(question, f.texts.size())) {
                        check(t.y >= 0 && t.y + t.height <= h, "\"" + t.text + "\" is off the screen (" + h + " high)");
                    }
                    check(padText(phone).contains("12_|"), "the field: " + padText(phone));
                    for (String key : new String[] { "1", "0", "9", "*删", "#确定" }) {
                        check(padText(phone).contains("|" + key + "|"), "key " + key + " not drawn: " + padText(phone));
                    }
                    phone.press(Canvas.KEY_POUND);
                    equal(12, Pages.read(phone).page, "page");
                    phone.command("跳转");
                    phone.select(1);
                    typeOnPad(phone, "50");
                    phone.screenshot(ReaderTests.screen(size, "goto-percent-pad"));
                }
            });
        }
    }

    /**
     * The name a bookmark of this page gets: the part's title (cut to 8 characters with
     * "…"), the page, and the page's first 12 characters, spaces run together.
     */
    static String bookmarkName(Phone phone, Pages.Page p) {
        String title = BookFile.shown(phone.book().titles.get(p.part - 1));
        if (title.isEmpty()) {
            title = "第" + p.part + "部分";
        }
        if (title.length() > 8) {
            title = title.substring(0, 7) + "…";
        }
        String all = String.join("", p.lines).replace('\u3000', ' ').replaceAll(" +", " ").trim();
        String heading = BookFile.shown(phone.book().titles.get(p.part - 1)).trim();
        if (!heading.isEmpty() && all.startsWith(heading)) {
            all = all.substring(heading.length()).trim(); // named by the title already
        }
        String start = all.substring(0, Math.min(12, all.length())).trim();
        return title + " " + p.page + "页" + (start.isEmpty() ? "" : " " + start);
    }

    /**
     * The list shows the rows {@code expected}, each whole or cut short at its end with "…"
     * (keeping at least a character) where it would not fit: no runtime then cuts it
     * elsewhere. Every row fits the screen.
     */
    static void checkRows(List<String> expected, List<String> shown, String what) {
        equal(expected.size(), shown.size(), what + ": rows");
        javax.microedition.lcdui.Font font = javax.microedition.lcdui.Font.getDefaultFont();
        for (int i = 0; i < shown.size(); i++) {
            String row = shown.get(i);
            check(font.stringWidth(row) <= Screens.screenWidth(), what + ": row \"" + row + "\" wider than the screen");
            boolean cut = row.endsWith("…") && row.length() > 1 && expected.get(i).startsWith(row.substring(0, row.length() - 1));
            check(row.equals(expected.get(i)) || cut, what + ": row " + i + " \"" + row + "\" for \"" + expected.get(i) + "\"");
        }
    }

    /** 加书签, and the notice over the page that says what came of it (no alert: it would take a key). */
    static void addBookmark(Phone phone, String expectedNotice) {
        phone.command("加书签");
        check(phone.showsCanvas(), "after 加书签: " + phone.describe());
        String text = Pages.read(phone).notice;
        check(text.contains(expectedNotice), "notice \"" + text + "\" lacks \"" + expectedNotice + "\"");
    }

    static void runBookmarks() {
        test("加书签 names a bookmark by its page's start; 书签 lists, opens and deletes them; kept", () -> {
            List<String> names = new ArrayList<>();
            List<String> keys = new ArrayList<>();
            try (Phone phone = ReaderTests.open("novel", SIZE)) {
                NavigationTests.openPart(phone, LONG_PART);
                phone.command("书签");
                check(Pages.read(phone).notice.contains("还没有书签"), "notice " + Pages.read(phone).notice);
                NavigationTests.goToPage(phone, 5);
                addBookmark(phone, "已添加书签：" + bookmarkName(phone, Pages.read(phone)));
                NavigationTests.goToPage(phone, 2);
                addBookmark(phone, "已添加书签");
                addBookmark(phone, "这一页已有书签");
                phone.command("目录");
                phone.select(1);
                addBookmark(phone, "已添加书签");
                // In book order: part 1 page 1, part 6 pages 2 and 5.
                Pages.Page first = Pages.read(phone);
                names.add(bookmarkName(phone, first));
                keys.add(first.key());
                for (int page : new int[] { 2, 5 }) {
                    phone.command("目录");
                    phone.select(LONG_PART);
                    NavigationTests.goToPage(phone, page);
                    names.add(bookmarkName(phone, Pages.read(phone)));
                    keys.add(Pages.read(phone).key());
                }
                NavigationTests.goToPage(phone, 4);
                phone.command("书签");
                checkRows(names, DisplayTests.rows(phone.list()), "rows of 书签");
                equal(1, phone.list().getSelectedIndex(), "row selected on page 4");
                check(phone.commands().containsAll(List.of("删除", "返回")), "commands " + phone.commands());
                phone.screenshot(ReaderTests.screen(SIZE, "bookmarks"));
                phone.select(2);
                equal(keys.get(2), Pages.read(phone).key(), "page of the third bookmark");
                phone.command("书签");
                phone.select(0);
                equal(keys.get(0), Pages.read(phone).key(), "page of the first bookmark (another part)");
                phone.command("书签");
                phone.list().setSelectedIndex(1, true);
                phone.command("删除");
                names.remove(1);
                keys.remove(1);
                checkRows(names, DisplayTests.rows(phone.list()), "rows after deleting the second");
                phone.command("返回");
                check(phone.showsCanvas(), "after 返回: " + phone.describe());
            } // stopped without warning: bookmarks are kept when added or deleted
            try (Phone phone = ReaderTests.open("novel", SIZE)) {
                phone.select(1);
                phone.command("书签");
                checkRows(names, DisplayTests.rows(phone.list()), "rows at the next start");
                phone.select(1);
                equal(keys.get(1), Pages.read(phone).key(), "page of a bookmark at the next start");
                phone.command("书签");
                for (int i = 0; i < 2; i++) {
                    phone.list().setSelectedIndex(0, true);
                    phone.command("删除");
                }
                check(phone.showsCanvas(), "after deleting the last bookmark: " + phone.describe());
            }
        });
        test("a book keeps 100 bookmarks and refuses the 101st", () -> {
            try (Phone phone = ReaderTests.open("big", SIZE)) {
                phone.select(0);
                List<String> names = new ArrayList<>();
                for (int i = 0; i < 100; i++) {
                    names.add(bookmarkName(phone, Pages.read(phone)));
                    addBookmark(phone, "已添加书签");
                    phone.press(-2);
                }
                addBookmark(phone, "书签已满");
                phone.command("书签");
                checkRows(names, DisplayTests.rows(phone.list()), "rows of 100 bookmarks");
                phone.list().setSelectedIndex(57, true);
                phone.command("删除");
                phone.command("返回");
                addBookmark(phone, "已添加书签");
                phone.advance(2000); // the position is kept, on page 101
            }
            try (Phone phone = ReaderTests.open("big", SIZE)) {
                phone.select(0);
                phone.command("书签");
                equal(100, phone.list().size(), "bookmarks at the next start");
                equal(99, phone.list().getSelectedIndex(), "row selected: the last one before the page");
            }
        });
        for (int[] size : ReaderTests.SIZES) {
            test("the list of bookmarks on " + ReaderTests.sizeName(size), () -> {
                try (Phone phone = ReaderTests.open("novel", size)) {
                    NavigationTests.openPart(phone, LONG_PART);
                    for (int page : new int[] { 1, 3, 8, 12 }) {
                        NavigationTests.goToPage(phone, page);
                        addBookmark(phone, "已添加书签");
                    }
                    phone.command("书签");
                    equal(4, phone.list().size(), "rows");
                    phone.screenshot(ReaderTests.screen(size, "bookmarks"));
                }
            });
        }
    }
}
