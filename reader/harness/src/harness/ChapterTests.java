package harness;

import static harness.ReaderTests.check;
import static harness.ReaderTests.equal;
import static harness.ReaderTests.test;

import javax.microedition.lcdui.Canvas;
import javax.microedition.rms.RecordStores;

/**
 * Books of many chapters: the status line names the chapter read, and the contents list
 * opens at it. The book "chapters" is a web novel of 3000 short chapters split by the tool.
 */
final class ChapterTests {
    private ChapterTests() {
    }

    /** 跳转 → 输入章节号, {@code n} typed on the pad; checks the range the pad offers. */
    static void goToChapter(Phone phone, int n, String range) {
        phone.command("跳转");
        phone.select(2);
        check(GoToTests.padText(phone).contains("章节号（" + range + "）"), "the pad shows " + GoToTests.padText(phone));
        GoToTests.typeOnPad(phone, String.valueOf(n));
        phone.press(Canvas.KEY_POUND);
    }

    /** A book on a phone that has kept nothing (no page read, no bookmarks). */
    static Phone fresh(String name, int[] size) throws Exception {
        RecordStores.clear();
        return ReaderTests.open(name, size);
    }

    static void runNumbers() {
        test("章节号 opens the part titled as that chapter, however numbered, after a front part", () -> {
            try (Phone phone = fresh("numbered", new int[] { 176, 208 })) {
                phone.select(0);
                // { typed, title of the part opened }: out of range or between chapters, the
                // nearest chapter below (or the first).
                Object[][] cases = {
                    { 1, "第1章 起" }, { 2, "第2章 承" }, { 3, "第三回 转" }, { 12, "第十二章 合" },
                    { 105, "第一百零五节 末" }, { 50, "第十二章 合" }, { 0, "第1章 起" }, { 999, "第一百零五节 末" },
                };
                for (Object[] c : cases) {
                    goToChapter(phone, (Integer) c[0], "1-105");
                    Pages.Page p = Pages.read(phone);
                    equal(c[1], phone.book().titles.get(p.part - 1), "part opened by 章节号 " + c[0]);
                }
            }
            try (Phone phone = fresh("small", new int[] { 176, 208 })) {
                phone.select(0);
                goToChapter(phone, 3, "1-3"); // titles not numbered: parts
                equal(3, Pages.read(phone).part, "part opened by 章节号 3 in a book of unnumbered titles");
            }
        });
        test("跳到章节 on the contents types a chapter number straight away", () -> {
            try (Phone phone = fresh("chapters", new int[] { 128, 160 })) {
                phone.command("跳到章节");
                check(GoToTests.padText(phone).contains("章节号（1-3000）"), "the pad shows " + GoToTests.padText(phone));
                GoToTests.typeOnPad(phone, "2500");
                phone.screenshot(ReaderTests.screen(new int[] { 128, 160 }, "chapters-contents-pad"));
                phone.press(Canvas.KEY_POUND);
                String opened = phone.book().titles.get(Pages.read(phone).part - 1);
                check(opened.startsWith("第2500章 "), "chapter opened: " + opened);
                phone.command("目录");
                phone.command("跳到章节");
                phone.press(-6);
                equal(2500, Pages.read(phone).part, "part after 跳到章节 cancelled: the one kept");
            }
        });
        test("a bookmark on a chapter's first page does not repeat the chapter's title", () -> {
            try (Phone phone = fresh("numbered", new int[] { 240, 320 })) {
                phone.select(1);
                check(Pages.read(phone).lines.get(0).equals("第1章 起"), "the page starts with its title: " + Pages.read(phone).lines);
                phone.press(Canvas.KEY_NUM1);
                equal("已添加书签：第1章 起 1页 正文。", Pages.read(phone).notice, "notice");
            }
        });
        for (int[] size : new int[][] { { 128, 160 }, { 240, 320 } }) {
            test("the end of a volume says which volume comes next, on " + ReaderTests.sizeName(size), () -> {
                // { volume, what its last page's next key says }
                String[][] cases = { { "卷(1)", "本卷完，请打开《卷(2)》" }, { "卷(2)", "本卷完，请打开《卷(3)》" },
                    { "卷(3)", "全书完。" }, { "small", "全书完。" } };
                for (String[] c : cases) {
                    try (Phone phone = fresh(c[0], size)) {
                        phone.select(phone.book().parts() - 1);
                        phone.command("跳转");
                        phone.select(4); // 本部分最后一页
                        String page = Pages.read(phone).key();
                        phone.press(-2);
                        Pages.Page p = Pages.read(phone);
                        equal(c[1], p.notice, c[0] + ": notice after the last page");
                        equal(page, p.key(), c[0] + ": the page stays");
                        phone.screenshot(ReaderTests.screen(size, "volume-end-" + c[0]));
                        phone.press(-1);
                        equal("", Pages.read(phone).notice, c[0] + ": the notice after the next key");
                    }
                }
            });
        }
        test("章节号 in a volume goes to its chapters and names those it holds", () -> {
            try (Phone phone = fresh("卷(2)", new int[] { 176, 208 })) {
                java.util.List<String> titles = phone.book().titles;
                int first = Integer.parseInt(titles.get(0).replaceAll("\\D", ""));
                int last = Integer.parseInt(titles.get(titles.size() - 1).replaceAll("\\D", ""));
                check(first > 1 && last < 12, "volume 2 holds chapters " + first + "-" + last);
                phone.select(0);
                goToChapter(phone, last, first + "-" + last);
                equal(titles.size(), Pages.read(phone).part, "part of chapter " + last);
                goToChapter(phone, 12, first + "-" + last);
                equal("第12章不在这一卷里，本卷是第" + first + "至" + last + "章。", Pages.read(phone).notice, "notice for 12");
                equal(titles.size(), Pages.read(phone).part, "part after 12");
            }
        });
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
                ReaderTests.checkResumeRow(book.titles.get(2997), phone.list().getString(0), "first row");
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
