package harness;

import static harness.ReaderTests.check;
import static harness.ReaderTests.equal;
import static harness.ReaderTests.test;

import javax.microedition.lcdui.Canvas;

/**
 * Books of many chapters: the status line names the chapter read, and the contents list
 * opens at it. The book "chapters" is a web novel of 3000 short chapters split by the tool.
 */
final class ChapterTests {
    private ChapterTests() {
    }

    static void run() {
        for (int[] size : ReaderTests.SIZES) {
            String on = " (" + size[0] + "x" + size[1] + ")";
            test("the status line shows each part's title, cut short only on narrow screens" + on, () -> {
                BookFile book = new BookFile(ReaderTests.book("novel"));
                int cut = 0;
                try (Phone phone = ReaderTests.open("novel", size)) {
                    phone.select(0);
                    for (int part = 1;; part++) {
                        // Pages.read finds the part by the title shown, whole or cut with "…".
                        Pages.Page p = Pages.read(phone);
                        equal(part, p.part, "part shown after pressing 6");
                        check(p.title != null, "part " + part + ": the status line shows no title");
                        if (!p.title.equals(BookFile.shown(book.titles.get(part - 1)))) {
                            cut++;
                        }
                        if (part == 2) {
                            phone.screenshot(ReaderTests.screen(size, "novel-status-title"));
                        }
                        if (part == book.parts()) {
                            break;
                        }
                        phone.press(Canvas.KEY_NUM6);
                    }
                }
                if (size[0] >= 240) {
                    equal(0, cut, "titles cut on a screen with room for them");
                } else if (size[0] <= 128) {
                    check(cut > 0, "no title cut on a screen too narrow for them");
                }
            });
        }
        test("the contents of 3000 chapters open at the chapter read, at the next start too", () -> {
            int[] size = { 176, 208 };
            BookFile book = new BookFile(ReaderTests.book("chapters"));
            try (Phone phone = ReaderTests.open("chapters", size)) {
                equal(3000, phone.list().size(), "rows");
                equal(0, phone.list().getSelectedIndex(), "row selected before anything is read");
                phone.select(2999);
                equal(3000, Pages.read(phone).part, "part chosen from the last row");
                phone.press(Canvas.KEY_NUM4);
                phone.press(Canvas.KEY_NUM4);
                equal(2998, Pages.read(phone).part, "part after pressing 4 twice");
                phone.screenshot(ReaderTests.screen(size, "chapters-page"));
                phone.command("目录");
                equal(ReaderTests.resumeRow(book.titles.get(2997)), phone.list().getString(0), "first row");
                equal(2998, phone.list().getSelectedIndex(), "row selected: the chapter read");
                phone.screenshot(ReaderTests.screen(size, "chapters-contents"));
                phone.select(2999);
                equal(2999, Pages.read(phone).part, "part chosen below the chapter read");
                equal(1, Pages.read(phone).page, "page of a chapter chosen");
                phone.command("目录");
                equal(2999, phone.list().getSelectedIndex(), "row selected after choosing the next chapter");
                phone.command("退出");
            }
            try (Phone phone = ReaderTests.open("chapters", size)) {
                equal(2999, phone.list().getSelectedIndex(), "row selected at the next start");
                phone.select(2999);
                equal(2999, Pages.read(phone).part, "part resumed from its row");
            }
        });
    }
}
