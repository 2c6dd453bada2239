package harness;

import static harness.ReaderTests.check;
import static harness.ReaderTests.equal;
import static harness.ReaderTests.test;

import java.nio.charset.StandardCharsets;
import java.util.ArrayList;
import java.util.List;
import javax.microedition.lcdui.Alert;
import javax.microedition.lcdui.TextBox;
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
                    { 0, "-", 9, "6:9" },
                    { 1, "25", 1, at[25] },
                    { 1, "50", 1, at[50] },
                    { 1, "99", 1, at[99] },
                    { 1, "100", 1, last },
                    { 1, "999", 1, last },
                    { 1, "0", 9, "1:1" },
                    { 1, "", 9, "6:9" },
                    { 2, "3", 9, "3:1" },
                    { 2, "0", 9, "1:1" },
                    { 2, "7", 9, "7:1" },
                    { 2, "99", 9, "7:1" },
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
                        check(phone.current() instanceof TextBox, name + ": the phone shows " + phone.describe());
                        TextBox box = (TextBox) phone.current();
                        equal(TextField.NUMERIC, box.getConstraints() & TextField.CONSTRAINT_MASK, name + ": input");
                        String range = row == 0 ? "1-" + n : row == 1 ? "0-100" : "1-" + book.parts();
                        check(box.getTitle().contains(range), name + ": title " + box.getTitle());
                        phone.type(typed);
                        phone.command("确定");
                    }
                    Pages.Page p = Pages.read(phone);
                    equal(c[3], p.part + ":" + p.page, name + " from page " + from);
                }
                NavigationTests.goToPage(phone, 3);
                phone.command("跳转");
                phone.command("返回");
                equal(3, Pages.read(phone).page, "page after 返回 in 跳转");
                phone.command("跳转");
                phone.select(0);
                phone.type("7");
                phone.command("返回");
                equal(3, Pages.read(phone).page, "page after 返回 in the text box");
            }
        });
        for (int[] size : ReaderTests.SIZES) {
            test("the screens of 跳转 on " + ReaderTests.sizeName(size), () -> {
                try (Phone phone = ReaderTests.open("novel", size)) {
                    NavigationTests.openPart(phone, LONG_PART);
                    phone.command("跳转");
                    phone.screenshot(ReaderTests.screen(size, "goto-list"));
                    phone.select(0);
                    phone.type("12");
                    phone.screenshot(ReaderTests.screen(size, "goto-page-box"));
                    phone.command("确定");
                    equal(12, Pages.read(phone).page, "page");
                    phone.command("跳转");
                    phone.select(1);
                    phone.type("50");
                    phone.screenshot(ReaderTests.screen(size, "goto-percent-box"));
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
        String start = all.substring(0, Math.min(12, all.length())).trim();
        return title + " " + p.page + "页" + (start.isEmpty() ? "" : " " + start);
    }

    /** 加书签, and the alert that follows: one that goes by itself when the bookmark is added. */
    static void addBookmark(Phone phone, String expectedAlert) {
        phone.command("加书签");
        String text = phone.alert().getString();
        check(text.contains(expectedAlert), "alert \"" + text + "\" lacks \"" + expectedAlert + "\"");
        equal(text.startsWith("已添加书签"), phone.alert().getTimeout() != Alert.FOREVER,
                "alert \"" + text + "\" goes by itself");
        phone.dismissAlert();
        check(phone.showsCanvas(), "after the alert: " + phone.describe());
    }

    static void runBookmarks() {
        test("加书签 names a bookmark by its page's start; 书签 lists, opens and deletes them; kept", () -> {
            List<String> names = new ArrayList<>();
            List<String> keys = new ArrayList<>();
            try (Phone phone = ReaderTests.open("novel", SIZE)) {
                NavigationTests.openPart(phone, LONG_PART);
                phone.command("书签");
                check(phone.alert().getString().contains("还没有书签"), "alert " + phone.alert().getString());
                phone.dismissAlert();
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
                equal(names, DisplayTests.rows(phone.list()), "rows of 书签");
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
                equal(names, DisplayTests.rows(phone.list()), "rows after deleting the second");
                phone.command("返回");
                check(phone.showsCanvas(), "after 返回: " + phone.describe());
            } // stopped without warning: bookmarks are kept when added or deleted
            try (Phone phone = ReaderTests.open("novel", SIZE)) {
                phone.select(1);
                phone.command("书签");
                equal(names, DisplayTests.rows(phone.list()), "rows at the next start");
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
                equal(names, DisplayTests.rows(phone.list()), "rows of 100 bookmarks");
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
