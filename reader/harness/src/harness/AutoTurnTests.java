package harness;

import static harness.ReaderTests.check;
import static harness.ReaderTests.equal;
import static harness.ReaderTests.test;

import java.util.List;
import javax.microedition.lcdui.Canvas;

/** 自动翻页: pages turn by themselves at the speed chosen until any key, another screen or the book's end. */
final class AutoTurnTests {
    static final int[] SIZE = NavigationTests.SIZE;
    static final int LONG_PART = NavigationTests.LONG_PART;
    private static final List<String> SPEEDS = List.of("每页5秒", "每页10秒", "每页20秒", "每页30秒", "每页60秒");
    private static final int[] SECONDS = { 5, 10, 20, 30, 60 };

    private AutoTurnTests() {
    }

    static void start(Phone phone, int speed) {
        phone.command("自动翻页");
        equal(SPEEDS, DisplayTests.rows(phone.list()), "rows of 自动翻页");
        phone.select(speed);
        check(phone.showsCanvas(), "after choosing a speed: " + phone.describe());
        check(Pages.read(phone).turning, "the status line does not say 自动");
    }

    static void run() {
        test("自动翻页 turns a page at each period of the speed chosen", () -> {
            try (Phone phone = ReaderTests.open("novel", SIZE)) {
                NavigationTests.openPart(phone, LONG_PART);
                for (int speed = 0; speed < SECONDS.length; speed++) {
                    int page = Pages.read(phone).page;
                    start(phone, speed);
                    phone.advance(SECONDS[speed] * 1000L - 1);
                    equal(page, Pages.read(phone).page, SPEEDS.get(speed) + ": page 1 ms before the first turn");
                    phone.advance(1);
                    equal(page + 1, Pages.read(phone).page, SPEEDS.get(speed) + ": page after one period");
                    phone.advance(SECONDS[speed] * 2000L);
                    equal(page + 3, Pages.read(phone).page, SPEEDS.get(speed) + ": page after three periods");
                    phone.press(Canvas.KEY_NUM0);
                }
            }
        });
        for (int[] size : ReaderTests.SIZES) {
            test("the status line says 自动 beside the page, the progress and the part, on "
                    + ReaderTests.sizeName(size), () -> {
                try (Phone phone = ReaderTests.open("novel", size)) {
                    NavigationTests.openPart(phone, LONG_PART);
                    phone.advance(0);
                    phone.command("跳转");
                    phone.select(4); // 本部分最后一页
                    start(phone, 4);
                    Pages.Page p = Pages.read(phone);
                    check(p.percent >= 0, "no progress shown beside 自动 at " + p);
                    phone.screenshot(ReaderTests.screen(size, "novel-turning"));
                }
            });
        }
        test("any key only stops the turning; so do other screens", () -> {
            int[] keys = { -2, -1, Canvas.KEY_NUM5, Canvas.KEY_NUM6, Canvas.KEY_NUM0, Canvas.KEY_POUND, -6 };
            try (Phone phone = ReaderTests.open("novel", SIZE)) {
                NavigationTests.openPart(phone, LONG_PART);
                for (int key : keys) {
                    start(phone, 0);
                    phone.advance(5000);
                    Pages.Page before = Pages.read(phone);
                    phone.press(key);
                    Pages.Page after = Pages.read(phone);
                    equal(before.key(), after.key(), "page after key " + key);
                    check(!after.turning, "the status line still says 自动 after key " + key);
                    phone.advance(60000);
                    equal(before.key(), Pages.read(phone).key(), "page a minute after key " + key);
                }
                String[][] screens = { { "目录" }, { "书签" }, { "字体", "返回" }, { "跳转", "返回" } };
                for (String[] commands : screens) {
                    start(phone, 0);
                    String before = Pages.read(phone).key();
                    for (String c : commands) {
                        phone.command(c);
                    }
                    if (phone.showsList() && commands[0].equals("目录")) {
                        phone.select(0);
                    } else if (!phone.showsCanvas()) {
                        phone.dismissAlert();
                    }
                    phone.advance(60000);
                    equal(before, Pages.read(phone).key(), "page a minute after " + String.join(", ", commands));
                }
            }
        });
        test("turning goes on into the next part and stops at the end of the book; the speed is kept", () -> {
            try (Phone phone = ReaderTests.open("novel", SIZE)) {
                NavigationTests.openPart(phone, LONG_PART);
                Pages.Page p = Pages.read(phone);
                while (p.page < p.pages) {
                    phone.press(-2);
                    p = Pages.read(phone);
                }
                start(phone, 2);
                phone.advance(20000);
                p = Pages.read(phone);
                equal((LONG_PART + 1) + ":1", p.part + ":" + p.page, "part and page after turning past the part's end");
                phone.advance(20000);
                check(!Pages.read(phone).turning, "still turning at the end of the book");
                phone.command("退出");
            }
            try (Phone phone = ReaderTests.open("novel", SIZE)) {
                phone.select(0);
                phone.command("自动翻页");
                equal(2, phone.list().getSelectedIndex(), "speed selected at the next start");
                phone.command("返回");
                phone.advance(60000);
                check(!Pages.read(phone).turning, "turning after 返回");
            }
        });
    }
}
