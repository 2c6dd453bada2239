package harness;

import java.nio.file.Paths;
import javax.microedition.rms.RecordStores;

/**
 * Times a book's first start (a benchmark, not a test): with no record store kept, the
 * reader starts, shows its contents and opens the first part, until that page is painted
 * with the percentage through the whole book in its status line. A reader that has to
 * measure the book first does so in its timer, which runs here as soon as it is due; the
 * time includes it. Run it under -Xint to stand in for a phone's interpreter. Each figure is
 * the median of ROUNDS runs, each on a new test phone; the first run warms the test phone's
 * own code.
 *
 * Usage: StartTiming ROUNDS BOOK.jar...   (each book timed in the same rounds)
 */
public final class StartTiming {
    private StartTiming() {
    }

    public static void main(String[] args) throws Exception {
        if (args.length < 2) {
            System.err.println("usage: StartTiming ROUNDS BOOK.jar...");
            System.exit(2);
        }
        int rounds = Integer.parseInt(args[0]);
        int books = args.length - 1;
        long[][] start = new long[books][rounds];
        for (int run = -1; run < rounds; run++) {
            for (int b = 0; b < books; b++) {
                RecordStores.clear();
                long t0 = System.nanoTime();
                try (Phone phone = new Phone(Paths.get(args[b + 1]), 240, 320)) {
                    phone.render(); // the contents
                    phone.select(0);
                    phone.advance(1); // what the reader's timer has due now
                    phone.paintOnly();
                    long t = System.nanoTime() - t0;
                    Pages.Page p = Pages.read(phone);
                    if (p.permille < 0 && p.percent < 0) {
                        throw new AssertionError(args[b + 1] + ": no percentage on the first page");
                    }
                    if (run >= 0) {
                        start[b][run] = t;
                    }
                }
            }
        }
        for (int b = 0; b < books; b++) {
            System.out.printf("%s: first start to the first page with its percentage: %.3f s (median of %d)%n",
                    Paths.get(args[b + 1]).getFileName(), median(start[b]), rounds);
        }
    }

    private static double median(long[] nanos) {
        long[] s = nanos.clone();
        java.util.Arrays.sort(s);
        return s[s.length / 2] / 1e9;
    }
}
