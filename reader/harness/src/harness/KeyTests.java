package harness;

import static harness.ReaderTests.check;
import static harness.ReaderTests.equal;
import static harness.ReaderTests.test;

import java.util.ArrayList;
import java.util.List;
import javax.microedition.lcdui.Canvas;
import javax.microedition.rms.RecordStores;

/**
 * Every command without soft keys: the number keys, * and #, the reader's own menu, taps and
 * swipes; and on MIDP 2.0 phones the full screen, whose soft keys open the menu.
 */
final class KeyTests {
    static final int[] SIZE = NavigationTests.SIZE;
    static final int LONG_PART = NavigationTests.LONG_PART;
    /** The menu's rows: each command of the reading screen, with its key where it has one. */
    static final List<String> MENU_ROWS = List.of("目录（#键）", "加书签（1键）", "书签", "跳转（3键）", "查找",
            "自动翻页（*键）", "夜间模式（7键）", "字体（9键）", "行距", "退出");

    private KeyTests() {
    }

    /** What the phone shows, in words a test can compare: the screen, and on the page its place and colours. */
    static String shows(Phone phone) {
        if (phone.ended()) {
            return "ended";
        }
        if (phone.showsCanvas()) {
            Pages.Page p = Pages.read(phone);
            return "page " + p.part + ":" + p.page + " background " + Integer.toHexString(p.background);
        }
        return phone.describe();
    }

    static void run() {
        test("the number keys, * and # run their commands on the reading screen", () -> {
            // { key, what the phone then shows }
            Object[][] cases = {
                { Canvas.KEY_NUM0, "List \"菜单（按0打开）\"" },
                { Canvas.KEY_NUM1, "notice 已添加书签" },
                { Canvas.KEY_NUM3, "List \"跳转\"" },
                { Canvas.KEY_NUM9, "List \"字体大小\"" },
                { Canvas.KEY_STAR, "List \"自动翻页\"" },
                { Canvas.KEY_POUND, "List \"《灯塔守望人》青禾电子书工作室\"" },
            };
            for (Object[] c : cases) {
                try (Phone phone = fresh()) {
                    phone.press(Canvas.KEY_NUM8);
                    phone.press((Integer) c[0]);
                    String shown = phone.showsCanvas() ? "notice " + Pages.read(phone).notice : phone.describe();
                    check(shown.startsWith((String) c[1]), "after key " + (char) (int) (Integer) c[0] + ": " + shown);
                }
            }
            try (Phone phone = ReaderTests.open("novel", SIZE)) {
                NavigationTests.openPart(phone, LONG_PART);
                int day = Pages.read(phone).background;
                phone.press(Canvas.KEY_NUM7);
                int night = Pages.read(phone).background;
                check(SavingTests.luminance(night) < SavingTests.luminance(day) - 100,
                        "7: background " + Integer.toHexString(day) + " then " + Integer.toHexString(night));
                check(phone.commands().contains("日间模式"), "after 7 the commands are " + phone.commands());
                phone.press(Canvas.KEY_NUM7);
                equal(day, Pages.read(phone).background, "background after 7 twice");
            }
        });
        test("a command key acts on every press, also where the runtime sends a press as a repeat", () -> {
            try (Phone phone = fresh()) {
                phone.keyDown(Canvas.KEY_NUM0);
                equal("List \"菜单（按0打开）\"", phone.describe(), "after 0 went down");
                phone.keyUp(Canvas.KEY_NUM0);
                phone.command("返回");
                // KEmulator: the release went to the menu, every later press comes as a repeat.
                for (int i = 1; i <= 5; i++) {
                    phone.repeat(Canvas.KEY_NUM0);
                    equal("List \"菜单（按0打开）\"", phone.describe(), "after repeat-press " + i + " of 0");
                    phone.keyUp(Canvas.KEY_NUM0);
                    phone.command("返回");
                }
                // MicroEmulator: # is released with the code of 3, and later presses of # are repeats.
                for (int i = 1; i <= 2; i++) {
                    if (i == 1) {
                        phone.keyDown(Canvas.KEY_POUND);
                    } else {
                        phone.repeat(Canvas.KEY_POUND);
                    }
                    phone.keyUp(Canvas.KEY_NUM3);
                    check(phone.showsList() && phone.list().getTitle().startsWith("《"), "# press " + i + " shows " + phone.describe());
                    phone.select(0); // 继续阅读
                    check(phone.showsCanvas(), "after 继续阅读 the phone shows " + phone.describe());
                }
                // A page key held: a press and two repeats turn three pages.
                int before = Pages.read(phone).page;
                phone.keyDown(-2);
                phone.repeat(-2);
                phone.repeat(-2);
                phone.keyUp(-2);
                equal(before + 3, Pages.read(phone).page, "page after holding down");
                // A command key held stays one press.
                phone.keyDown(Canvas.KEY_NUM7);
                int night = Pages.read(phone).background;
                phone.repeat(Canvas.KEY_NUM7);
                phone.repeat(Canvas.KEY_NUM7);
                phone.keyUp(Canvas.KEY_NUM7);
                equal(Integer.toHexString(night), Integer.toHexString(Pages.read(phone).background), "background after holding 7");
            }
        });
        test("the reader's menu holds every command of the reading screen, and each row does what its command does", () -> {
            List<String> labels;
            try (Phone phone = ReaderTests.open("novel", SIZE)) {
                NavigationTests.openPart(phone, LONG_PART);
                labels = phone.commands();
                phone.press(Canvas.KEY_NUM0);
                equal(MENU_ROWS, DisplayTests.rows(phone.list()), "rows of the menu");
                phone.screenshot(ReaderTests.screen(SIZE, "menu"));
                phone.command("返回");
                equal("page 6:1", shows(phone).substring(0, 8), "after 返回 in the menu");
            }
            check(labels.size() == MENU_ROWS.size(), "commands " + labels + " against the menu's rows");
            for (int row = 0; row < MENU_ROWS.size(); row++) {
                String label = labels.get(row);
                check(MENU_ROWS.get(row).startsWith(label), "row " + row + " \"" + MENU_ROWS.get(row)
                        + "\" is not the command " + label);
                String byCommand;
                try (Phone phone = fresh()) {
                    phone.press(-2);
                    phone.command(label);
                    byCommand = shows(phone);
                }
                try (Phone phone = fresh()) {
                    phone.press(-2);
                    phone.press(Canvas.KEY_NUM0);
                    phone.select(row);
                    equal(byCommand, shows(phone), "row " + MENU_ROWS.get(row) + " against the command " + label);
                }
            }
        });
        for (int[] size : new int[][] { { 128, 160 }, { 240, 320 }, { 360, 640 } }) {
            test("taps on the page's zones and swipes turn pages or open the menu on " + ReaderTests.sizeName(size), () -> {
                try (Phone phone = ReaderTests.open("novel", size)) {
                    NavigationTests.openPart(phone, LONG_PART);
                    Canvas canvas = (Canvas) phone.current();
                    int w = canvas.getWidth();
                    int h = canvas.getHeight();
                    int swipe = Math.max(12, Math.min(w, h) / 10);
                    // { x1, y1, x2, y2 (a tap where equal), pages turned: 1, -1, or 0 for the menu }
                    int[][] cases = {
                        { w - 1, h / 2, w - 1, h / 2, 1 },
                        { w - w / 3, 0, w - w / 3, 0, 1 },
                        { w / 2, h - 1, w / 2, h - 1, 1 },
                        { 0, h / 2, 0, h / 2, -1 },
                        { w / 3 - 1, h - 1, w / 3 - 1, h - 1, -1 },
                        { w / 2, 0, w / 2, 0, -1 },
                        { w / 2, h / 2, w / 2, h / 2, 0 },
                        { w / 2, h / 2, w / 2 + swipe - 1, h / 2, 0 },
                        { w / 2, h / 2, w / 2 - swipe, h / 2, 1 },
                        { w / 2, h / 2, w / 2 + swipe, h / 2, -1 },
                        { w / 2, h / 2, w / 2 + 2, h / 2 - swipe, 1 },
                        { w / 2, h / 2, w / 2 - 2, h / 2 + swipe, -1 },
                        { w - 1, h - 1, 0, 0, 1 },
                    };
                    for (int[] c : cases) {
                        String gesture = "(" + c[0] + "," + c[1] + ")->(" + c[2] + "," + c[3] + ")";
                        NavigationTests.goToPage(phone, 5);
                        phone.swipe(c[0], c[1], c[2], c[3]);
                        if (c[4] == 0) {
                            equal("List \"菜单（按0打开）\"", phone.describe(), gesture);
                            phone.command("返回");
                        } else {
                            equal(5 + c[4], Pages.read(phone).page, "page after " + gesture);
                        }
                    }
                    // A pointer going up without having gone down (a runtime's stray event) does nothing.
                    NavigationTests.goToPage(phone, 5);
                    phone.release(w - 1, h / 2);
                    equal(5, Pages.read(phone).page, "page after a release alone");
                    AutoTurnTests.start(phone, 0);
                    phone.tap(w - 1, h / 2);
                    Pages.Page p = Pages.read(phone);
                    check(!p.turning, "pages still turn by themselves after a tap");
                    equal(5, p.page, "page after a tap that stopped the turning");
                }
            });
        }
        test("MIDP 2.0: full-screen with more lines, soft keys open the menu; MIDP 1.0 keeps the soft-key band", () -> {
            int[] size = { 240, 320 };
            List<String> shown = new ArrayList<>();
            int[] lines = new int[2];
            for (boolean midp2 : new boolean[] { false, true }) {
                RecordStores.clear();
                try (Phone phone = new Phone(ReaderTests.book("novel"), size[0], size[1], midp2)) {
                    NavigationTests.openPart(phone, LONG_PART);
                    Canvas canvas = (Canvas) phone.current();
                    String kind = midp2 ? "MIDP 2.0" : "MIDP 1.0";
                    equal(midp2 ? size[1] : size[1] - 20, canvas.getHeight(), kind + ": canvas height");
                    lines[midp2 ? 1 : 0] = Pages.read(phone).lines.size();
                    phone.screenshot(ReaderTests.screen(size, midp2 ? "midp2-full-screen" : "midp1-page"));
                    for (int key : new int[] { -6, -7, -21, -22 }) {
                        phone.press(key);
                        shown.add(kind + " " + key + ": " + shows(phone).replaceAll(" background.*", ""));
                        if (!phone.showsCanvas()) {
                            phone.command("返回");
                        }
                    }
                    phone.press(Canvas.KEY_NUM0);
                    equal("List \"菜单（按0打开）\"", phone.describe(), kind + ": key 0");
                }
            }
            check(lines[1] > lines[0], "lines on a page: " + lines[0] + " in MIDP 1.0, " + lines[1] + " full-screen");
            String menu = "List \"菜单（按0打开）\"";
            equal(List.of("MIDP 1.0 -6: page 6:1", "MIDP 1.0 -7: page 6:1", "MIDP 1.0 -21: page 6:1",
                    "MIDP 1.0 -22: page 6:1", "MIDP 2.0 -6: " + menu, "MIDP 2.0 -7: " + menu,
                    "MIDP 2.0 -21: " + menu, "MIDP 2.0 -22: " + menu), shown, "soft keys");
        });
        for (int[] size : new int[][] { { 128, 128 }, { 128, 160 }, { 176, 208 } }) {
            test("自动 stays in the status line however narrow, on " + ReaderTests.sizeName(size), () -> {
                try (Phone phone = ReaderTests.open("big", size)) {
                    phone.advance(0);
                    phone.select(0);
                    phone.command("跳转");
                    phone.select(4); // the last page: the most digits
                    AutoTurnTests.start(phone, 0);
                    phone.screenshot(ReaderTests.screen(size, "big-turning"));
                    phone.press(Canvas.KEY_NUM4);
                    check(!Pages.read(phone).turning, "自动 shown after a key stopped the turning");
                }
            });
        }
    }

    /** The novel on a new phone with nothing kept, open at the first page of its long part. */
    static Phone fresh() throws Exception {
        RecordStores.clear();
        Phone phone = ReaderTests.open("novel", SIZE);
        NavigationTests.openPart(phone, LONG_PART);
        return phone;
    }
}
