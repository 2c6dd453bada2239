package harness;

import java.lang.management.ManagementFactory;
import java.nio.file.Paths;

/**
 * Measures what the reader needs to open a part: starts the reader on a book (176×208), opens
 * the part after part {@code PART} and turns back to PART's last page, which lays PART out
 * whole. Prints the heap the reader then holds beyond what it held on the contents list, and
 * the bytes it allocates (garbage included) laying PART out once more, when its code has run
 * before. Not a test: numbers to compare between builds, for example on a book made with
 * another build's template.
 *
 * Usage: HeapProbe BOOK.jar PART
 */
public final class HeapProbe {
    private HeapProbe() {
    }

    public static void main(String[] args) throws Exception {
        if (args.length != 2) {
            System.err.println("usage: HeapProbe BOOK.jar PART");
            System.exit(2);
        }
        int part = Integer.parseInt(args[1]);
        com.sun.management.ThreadMXBean threads =
                (com.sun.management.ThreadMXBean) ManagementFactory.getThreadMXBean();
        long thread = Thread.currentThread().getId();
        String result = null;
        for (int run = 0; run < 2; run++) { // the first run fills the test phone's own caches
            javax.microedition.rms.RecordStores.clear();
            try (Phone phone = new Phone(Paths.get(args[0]), 176, 208)) {
                phone.render();
                long held = Phone.usedHeap();
                phone.select(part); // the part after PART: the list has no "continue" row yet
                phone.press(-1);
                Pages.Page p = Pages.read(phone);
                held = Phone.usedHeap() - held;
                if (p.part != part || p.page != p.pages) {
                    throw new IllegalStateException("opened " + p + ", not the last page of part " + part);
                }
                phone.press(-2);
                Pages.read(phone);
                long allocated = threads.getThreadAllocatedBytes(thread);
                phone.press(-1);
                allocated = threads.getThreadAllocatedBytes(thread) - allocated;
                result = String.format("part %d: %d pages; held with it open: %d bytes; "
                        + "allocated laying it out again: %d bytes", part, p.pages, held, allocated);
            }
        }
        System.out.println(result);
    }
}
