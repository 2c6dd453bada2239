package harness;

import static harness.ReaderTests.check;
import static harness.ReaderTests.equal;
import static harness.ReaderTests.test;

import java.util.ArrayList;
import java.util.List;
import javax.microedition.lcdui.Canvas;
import javax.microedition.rms.RecordStores;

/**
 * The layout after the page shown: a part opens at its page before the rest is laid out
 * (what the reader gives callSerially held back, as on a busy phone), every page then shown
 * is the page the whole layout gives, and the page count appears once it is known.
 */
final class LayoutTests {
    static final int[] SIZE = NavigationTests.SIZE;

    private LayoutTests() {
    }

    private static List<String> lines(List<Pages.Page> pages) {
        List<String> out = new ArrayList<>();
        for (Pages.Page p : pages) {
            out.add(p.page + " " + p.lines);
        }
        return out;
    }

    static void run() {
        test("a part opens at its page before the rest is laid out, and every page is the one the whole layout gives", () -> {
            List<Pages.Page> whole;
            try (Phone phone = ReaderTests.open("big", SIZE)) {
                phone.select(0);
                Pages.Page first = Pages.read(phone);
                check(first.pages > 1000, "pages known once the event is done: " + first.pages);
                whole = NavigationTests.allPages(phone);
                phone.command("目录");
            }
            int n = whole.size();
            // From the start, with the rest of the layout held back: pages laid out on demand.
            RecordStores.clear();
            try (Phone phone = ReaderTests.open("big", SIZE)) {
                phone.holdSerialCalls(true);
                phone.select(0);
                List<Pages.Page> shown = new ArrayList<>();
                shown.add(Pages.read(phone));
                equal(-1, shown.get(0).pages, "page count before the layout went on");
                check(shown.get(0).permille >= 0, "progress not shown at once (the index gives the part lengths)");
                for (int i = 0; i < 30; i++) {
                    phone.press(Canvas.KEY_NUM8);
                    shown.add(Pages.read(phone));
                }
                equal(lines(whole.subList(0, 31)), lines(shown), "pages 1 to 31 laid out on demand");
                phone.screenshot(ReaderTests.screen(SIZE, "big-laying-out"));
                phone.holdSerialCalls(false);
                equal(n, Pages.read(phone).pages, "page count once the layout is done");
                equal(lines(whole), lines(NavigationTests.allPages(phone)), "all pages after the layout");
                phone.command("目录");
            }
            // Resumed deep in the part, and gone to the last page, with the layout held back.
            int deep = n * 9 / 10;
            RecordStores.clear();
            try (Phone phone = ReaderTests.open("big", SIZE)) {
                phone.select(0);
                NavigationTests.goToPage(phone, deep);
                phone.command("退出");
            }
            try (Phone phone = ReaderTests.open("big", SIZE)) {
                phone.holdSerialCalls(true);
                phone.select(0);
                Pages.Page p = Pages.read(phone);
                equal(whole.get(deep - 1).lines, p.lines, "page resumed");
                equal(deep, p.page, "page number resumed");
                phone.command("跳转");
                phone.select(4);
                p = Pages.read(phone);
                equal(n + "/" + n, p.page + "/" + p.pages, "跳转 to the last page lays the part out");
                equal(whole.get(n - 1).lines, p.lines, "the last page");
            }
        });
    }
}
