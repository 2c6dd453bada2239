package harness;

import static harness.ReaderTests.check;
import static harness.ReaderTests.test;

import java.util.ArrayList;
import java.util.HashSet;
import java.util.LinkedHashMap;
import java.util.List;
import java.util.Map;
import java.util.Set;
import java.util.regex.Matcher;
import java.util.regex.Pattern;

/**
 * Numbers (5.50, 1,000,000, 75%, ６０％) and web and e-mail addresses are not cut across
 * lines, on every screen and in every font. The book "numbers" holds each case after 0 to 24
 * ideographs, once after a space and once without; {@link Pages#checkText} checks every cut,
 * and each case must have been carried whole to a new line somewhere, or the book would not
 * have tested it.
 */
final class LineBreakTests {
    /** A paragraph of the book: ideographs, maybe a space, the case, maybe a space, 之后。 */
    private static final Pattern PARAGRAPH = Pattern.compile("(?m)^[\\u4e00-\\u9fff]* ?(.+?) ?之后。$");
    private static final String[] FONTS = { "小字体", "中字体", "大字体" };

    private LineBreakTests() {
    }

    static void run() {
        for (int[] size : ReaderTests.SIZES) {
            for (int font = 0; font < FONTS.length; font++) {
                int choice = font;
                test("numbers and addresses stay whole on " + ReaderTests.sizeName(size) + " in " + FONTS[font],
                        () -> readNumbers(size, choice));
            }
        }
    }

    static void readNumbers(int[] size, int font) throws Exception {
        BookFile book = new BookFile(ReaderTests.book("numbers"));
        String text = book.expectedText(1);
        Map<String, List<Integer>> cases = new LinkedHashMap<>();
        Matcher m = PARAGRAPH.matcher(text);
        while (m.find()) {
            cases.computeIfAbsent(m.group(1), k -> new ArrayList<>()).add(m.start(1));
        }
        check(cases.size() >= 8, "the book holds only the cases " + cases.keySet());
        try (Phone phone = ReaderTests.open("numbers", size)) {
            phone.select(0);
            phone.command("字体");
            phone.select(font);
            List<Pages.Page> pages = NavigationTests.allPages(phone);
            List<Integer> lineStarts = new ArrayList<>();
            int[] pageStarts = Pages.checkText("numbers on " + ReaderTests.sizeName(size) + " in " + FONTS[font],
                    text, pages, lineStarts);
            Set<Integer> starts = new HashSet<>(lineStarts);
            int firstAddressCarried = -1;
            for (Map.Entry<String, List<Integer>> c : cases.entrySet()) {
                boolean carried = false;
                for (int at : c.getValue()) {
                    if (starts.contains(at) && text.charAt(at - 1) != '\n') {
                        carried = true;
                        if (firstAddressCarried < 0 && c.getKey().startsWith("bookmaker@")) {
                            firstAddressCarried = at;
                        }
                    }
                }
                check(carried, "\"" + c.getKey() + "\" never came to the end of a line");
            }
            if (font == 1) {
                NavigationTests.goToPage(phone, 1);
                phone.screenshot(ReaderTests.screen(size, "numbers-page1"));
                NavigationTests.goToPage(phone, GoToTests.pageHolding(pageStarts, firstAddressCarried));
                phone.screenshot(ReaderTests.screen(size, "numbers-address"));
            }
        }
    }
}
