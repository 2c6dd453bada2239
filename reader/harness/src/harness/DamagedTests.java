package harness;

import static harness.ReaderTests.check;
import static harness.ReaderTests.equal;
import static harness.ReaderTests.test;

import java.util.ArrayList;
import java.util.List;
import javax.microedition.lcdui.Canvas;

/** Damaged books: the reader explains in an alert and never fails. */
final class DamagedTests {
    static final int[] SIZE = { 176, 208 };

    private DamagedTests() {
    }

    /** Books that cannot be opened at all, and a word the alert must contain. */
    static final String[][] UNOPENABLE = {
        { "no-index", "找不到目录文件" },
        { "index-empty", "格式不对" },
        { "index-no-mark", "格式不对" },
        { "index-big-endian", "格式不对" },
        { "index-odd-length", "格式不对" },
        { "index-two-lines", "内容不完整" },
        { "index-no-titles", "没有任何章节" },
    };

    static void run() {
        for (String[] c : UNOPENABLE) {
            test(c[0] + ": alert, then a screen that can only exit", () -> {
                try (Phone phone = ReaderTests.open(c[0], SIZE)) {
                    String text = phone.alert().getString();
                    check(text.contains(c[1]), "alert \"" + text + "\" lacks \"" + c[1] + "\"");
                    phone.screenshot(ReaderTests.screen(SIZE, "damaged-" + c[0]));
                    phone.dismissAlert();
                    check(phone.showsForm(), "after the alert: " + phone.describe());
                    equal(List.of("退出"), phone.commands(), "commands");
                    phone.command("退出");
                    check(phone.ended(), "still running after 退出");
                }
            });
        }
        test("missing-part: alert naming 2.txt however the part is reached, then the list", () -> {
            try (Phone phone = ReaderTests.open("missing-part", SIZE)) {
                List<Runnable> ways = new ArrayList<>();
                ways.add(() -> phone.select(1));
                ways.add(() -> {
                    phone.select(0);
                    phone.press(Canvas.KEY_NUM6);
                });
                ways.add(() -> {
                    phone.select(0);
                    phone.press(-2);
                });
                ways.add(() -> {
                    phone.select(2);
                    phone.press(-1);
                });
                for (int i = 0; i < ways.size(); i++) {
                    if (!phone.showsList()) {
                        throw new AssertionError("way " + i + " starts on " + phone.describe());
                    }
                    int row = phone.list().getString(0).endsWith("（继续阅读）") ? 1 : 0;
                    int r = row;
                    Runnable way = ways.get(i);
                    if (r == 1) {
                        // The continue row shifts the parts' rows by one.
                        List<Runnable> shifted = List.of(() -> phone.select(2), () -> {
                            phone.select(1);
                            phone.press(Canvas.KEY_NUM6);
                        }, () -> {
                            phone.select(1);
                            phone.press(-2);
                        }, () -> {
                            phone.select(3);
                            phone.press(-1);
                        });
                        way = shifted.get(i);
                    }
                    way.run();
                    String text = phone.alert().getString();
                    check(text.contains("2.txt"), "alert \"" + text + "\" does not name 2.txt");
                    if (i == 0) {
                        phone.screenshot(ReaderTests.screen(SIZE, "damaged-missing-part"));
                    }
                    phone.dismissAlert();
                    check(phone.showsList(), "after the alert: " + phone.describe());
                }
            }
        });
        for (String name : new String[] { "truncated-utf8", "malformed-utf8" }) {
            test(name + ": alert, then the part with '?' for the bad bytes", () -> {
                BookFile book = new BookFile(ReaderTests.book(name));
                check(!book.partIsValidUtf8(1), "the book's part 1 is not damaged");
                try (Phone phone = ReaderTests.open(name, SIZE)) {
                    phone.select(0);
                    String text = phone.alert().getString();
                    check(text.contains("损坏"), "alert \"" + text + "\" does not say the text is damaged");
                    phone.screenshot(ReaderTests.screen(SIZE, "damaged-" + name));
                    phone.dismissAlert();
                    Pages.Page p = Pages.read(phone);
                    phone.screenshot(ReaderTests.screen(SIZE, "damaged-" + name + "-text"));
                    List<Pages.Page> pages = new ArrayList<>();
                    pages.add(p);
                    while (p.page < p.pages) {
                        phone.press(-2);
                        p = Pages.read(phone);
                        pages.add(p);
                    }
                    String expected = book.expectedText(1);
                    // One '?' per maximal ill-formed subpart: C0, AF, FF, ED, A0, 80 and E4 B8.
                    equal(name.equals("truncated-utf8") ? "第一部分的文字。\n?" : "第一部分的文字。\na??b?c???d?e\n",
                            expected, "text expected from the damaged bytes");
                    Pages.checkText(name, expected, pages);
                    // A new font lays the part out again without telling it twice.
                    phone.command("字体");
                    phone.select(2);
                    check(phone.showsCanvas(), "after a new font the phone shows " + phone.describe());
                }
            });
        }
    }
}
