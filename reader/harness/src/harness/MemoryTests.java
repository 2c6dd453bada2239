package harness;

import static harness.ReaderTests.check;
import static harness.ReaderTests.equal;
import static harness.ReaderTests.test;

import java.util.List;

/**
 * The reader in a small heap (ctest gives -Xmx16m). A part of 16 MB: the reader gets to its
 * last page only if it never holds the part whole, as it must not in a phone's heap of about
 * 1 MB. The text is not held by the test either; the last page must end with the part's last
 * paragraph. The contents of 3000 chapters: the heap they hold is measured against that of
 * a book of three parts.
 */
final class MemoryTests {
    static final int[] SIZE = { 240, 320 };

    private MemoryTests() {
    }

    /**
     * What the contents may hold for each chapter beyond a book of three parts: its title
     * (about ten characters here) and the list's row, not a second copy of the index.
     */
    static final long CONTENTS_PER_CHAPTER = 100;

    static void run() {
        test("the contents of 3000 chapters hold at most 100 bytes a chapter", () -> {
            heldByContents("chapters"); // fills the test phone's own caches
            long small = heldByContents("small");
            long chapters = heldByContents("chapters");
            long held = chapters - small;
            System.out.printf("     contents: %d bytes held for 3 parts, %d for 3000 chapters, %d more%n",
                    small, chapters, held);
            check(held <= 3000 * CONTENTS_PER_CHAPTER, "the contents of 3000 chapters hold " + held + " bytes more than of 3 parts");
        });
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

    /** The heap the reader holds showing the contents of a book, from its start. */
    private static long heldByContents(String name) throws Exception {
        Phone.measuringHeap = true;
        try (Phone phone = ReaderTests.open(name, SIZE)) {
            phone.render();
            return Phone.usedHeap() - phone.heapBeforeStart;
        } finally {
            Phone.measuringHeap = false;
        }
    }
}
