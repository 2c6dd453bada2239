package harness;

import static harness.ReaderTests.check;
import static harness.ReaderTests.equal;
import static harness.ReaderTests.test;

import java.util.List;

/**
 * A part of 16 MB, run in a JVM whose heap is as small (ctest gives -Xmx16m): the reader
 * gets to its last page only if it never holds the part whole, as it must not in a phone's
 * heap of about 1 MB. The text is not held by the test either; the last page must end with
 * the part's last paragraph.
 */
final class MemoryTests {
    static final int[] SIZE = { 240, 320 };

    private MemoryTests() {
    }

    static void run() {
        test("a 16 MB part opens at its last page within a 16 MB heap", () -> {
            long max = Runtime.getRuntime().maxMemory();
            check(max <= 24L * 1024 * 1024, "heap of " + (max >> 20) + " MB is too large for this test to mean anything");
            try (Phone phone = ReaderTests.open("huge", SIZE)) {
                phone.select(1);
                equal(2, Pages.read(phone).part, "part opened");
                phone.press(-1);
                Pages.Page last = Pages.read(phone);
                equal(1, last.part, "part before part 2");
                check(last.pages > 10000, "only " + last.pages + " pages");
                equal(last.pages, last.page, "page shown");
                List<String> lines = last.lines;
                equal("全书完。", lines.get(lines.size() - 1), "last line of the part");
                phone.screenshot(ReaderTests.screen(SIZE, "huge-last-page"));
            }
        });
    }
}
