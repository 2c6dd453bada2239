package harness;

import java.io.InputStreamReader;
import java.io.Reader;
import java.nio.charset.StandardCharsets;
import java.nio.file.Paths;
import java.util.jar.JarFile;
import javax.microedition.lcdui.Canvas;

/**
 * Times what a reader waits for on a part (a benchmark, not a test): reading the part's
 * bytes once through InputStreamReader (the floor); opening it from the contents until its
 * first page is painted; right after that, before the rest of the part is laid out, going
 * to its last page with 跳转 (the farthest jump: it lays the whole part out); a page turn.
 * Each until the canvas is painted (into an image, without the test phone's checks). What
 * the reader leaves for later (callSerially) is held back until the page turns, as on a
 * phone busy painting.
 * Run it under -Xint to stand in for a phone's interpreter. Each figure is the median of
 * ROUNDS runs, each on a new test phone; the first run warms the test phone's own code.
 *
 * Usage: PageTiming BOOK.jar PART [ROUNDS]   (PART counts from 1; the book is opened fresh)
 */
public final class PageTiming {
    private PageTiming() {
    }

    public static void main(String[] args) throws Exception {
        if (args.length < 2) {
            System.err.println("usage: PageTiming BOOK.jar PART [ROUNDS]");
            System.exit(2);
        }
        int part = Integer.parseInt(args[1]);
        int rounds = args.length > 2 ? Integer.parseInt(args[2]) : 5;
        long[] read = new long[rounds];
        long[] open = new long[rounds];
        long[] turn = new long[rounds];
        long[] far = new long[rounds];
        int pages = 0;
        int chars = 0;
        for (int run = -1; run < rounds; run++) {
            long t0 = System.nanoTime();
            try (JarFile jar = new JarFile(args[0]);
                    Reader in = new InputStreamReader(jar.getInputStream(jar.getEntry(part + ".txt")), StandardCharsets.UTF_8)) {
                char[] buf = new char[4096];
                chars = 0;
                for (int n; (n = in.read(buf)) > 0;) {
                    chars += n;
                }
            }
            long tRead = System.nanoTime() - t0;
            javax.microedition.rms.RecordStores.clear();
            try (Phone phone = new Phone(Paths.get(args[0]), 240, 320)) {
                phone.render();
                phone.holdSerialCalls(true);
                t0 = System.nanoTime();
                phone.select(part - 1);
                phone.paintOnly();
                long tOpen = System.nanoTime() - t0;
                t0 = System.nanoTime();
                phone.command("跳转");
                phone.select(phone.list().size() - 1); // 本部分最后一页
                phone.paintOnly();
                long tFar = System.nanoTime() - t0;
                phone.holdSerialCalls(false);
                pages = Pages.read(phone).pages;
                phone.command("跳转");
                phone.select(phone.list().size() - 2); // 本部分第一页
                int turns = Math.min(20, pages - 1);
                t0 = System.nanoTime();
                for (int i = 0; i < turns; i++) {
                    phone.press(Canvas.KEY_NUM8);
                    phone.paintOnly();
                }
                long tTurn = (System.nanoTime() - t0) / Math.max(1, turns);
                if (run >= 0) {
                    read[run] = tRead;
                    open[run] = tOpen;
                    turn[run] = tTurn;
                    far[run] = tFar;
                }
            }
        }
        System.out.printf("part %d: %d characters, %d pages at 240x320%n", part, chars, pages);
        System.out.printf("read once through InputStreamReader: %.3f s%n", median(read));
        System.out.printf("first page: %.3f s (%.1f x the read)%n", median(open), median(open) / median(read));
        System.out.printf("page turn: %.1f ms%n", median(turn) * 1000);
        System.out.printf("to the last page with 跳转 right after opening: %.3f s%n", median(far));
    }

    private static double median(long[] nanos) {
        long[] s = nanos.clone();
        java.util.Arrays.sort(s);
        return s[s.length / 2] / 1e9;
    }
}
