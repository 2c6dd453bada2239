package harness;

import java.lang.reflect.Field;
import java.nio.file.Path;
import java.nio.file.Paths;
import java.util.ArrayList;
import java.util.HashMap;
import java.util.LinkedHashMap;
import java.util.List;
import java.util.Map;
import java.util.jar.Attributes;
import java.util.jar.JarFile;
import javax.microedition.rms.RecordStore;

/**
 * A book, or the volumes of one book, on the reader's test phone: each reads from its
 * contents to the last page of its last part showing exactly its text, and each keeps its
 * own reading position. A phone keeps a MIDlet suite's record stores under the suite's name and vendor;
 * the test phone keeps one set for everything, so this test gives each suite a set of its
 * own, as the phone's application manager would.
 *
 * Compiled against the harness classes into package harness (it uses the package's Phone,
 * Pages and BookTests), run with them on the class path:
 *   BookReading SCREENS_DIR WIDTH HEIGHT BOOK.jar...
 * Exit status 1 if any check fails.
 */
public final class BookReading {
    private static final Map<String, Map<String, Object>> SUITE_STORES = new HashMap<>();
    private static String currentSuite;  // whose record stores the test phone holds now
    private static int failures;

    public static void main(String[] args) throws Exception {
        Path screens = Paths.get(args[0]);
        int[] size = { Integer.parseInt(args[1]), Integer.parseInt(args[2]) };
        List<Path> volumes = new ArrayList<>();
        for (int i = 3; i < args.length; i++) {
            volumes.add(Paths.get(args[i]).toAbsolutePath());
        }
        // BookTests reads a book by name from ReaderTests' folders.
        setStatic(ReaderTests.class, "books", volumes.get(0).getParent());
        setStatic(ReaderTests.class, "screens", screens);

        run("every volume is a suite of its own", () -> {
            List<String> suites = new ArrayList<>();
            for (Path volume : volumes) {
                String suite = suiteOf(volume);
                check(!suites.contains(suite), volume + " shares its suite with another volume: " + suite);
                suites.add(suite);
            }
        });

        // Every volume to its last page, every page its text.
        for (Path volume : volumes) {
            String name = bookName(volume);
            run(name + ": the contents, then every part to the last page", () -> {
                installSuite(volume);
                BookTests.listShowsTitles(name, size);
                BookTests.readThrough(name, size);
            });
        }

        // A page kept in each volume: part and page differ from volume to volume.
        Map<Path, String> kept = new LinkedHashMap<>();
        Map<Path, String> keptTitle = new LinkedHashMap<>();
        for (int v = 0; v < volumes.size(); v++) {
            Path volume = volumes.get(v);
            int turns = v + 1;
            run(bookName(volume) + ": a page read and left", () -> {
                installSuite(volume);
                BookFile book = new BookFile(volume);
                int part = 1 + turns % book.parts();
                try (Phone phone = new Phone(volume, size[0], size[1])) {
                    phone.select(part - 1);
                    for (int i = 0; i < turns; i++) {
                        phone.press(ReaderTests.NEXT_KEYS[0]);
                    }
                    Pages.Page page = Pages.read(phone);
                    kept.put(volume, page.key());
                    keptTitle.put(volume, book.titles.get(page.part - 1));
                    phone.command("退出");
                }
            });
        }
        for (Path volume : volumes) {
            run(bookName(volume) + ": its own page offered again", () -> {
                installSuite(volume);
                try (Phone phone = new Phone(volume, size[0], size[1])) {
                    ReaderTests.checkResumeRow(keptTitle.get(volume), phone.list().getString(0), "first row");
                    phone.select(0);
                    equal(kept.get(volume), Pages.read(phone).key(), "page resumed");
                }
            });
        }

        // The progress through the whole book: each volume counts the parts of those before it.
        long[] before = new long[volumes.size() + 1];
        for (int v = 0; v < volumes.size(); v++) {
            BookFile book = new BookFile(volumes.get(v));
            before[v + 1] = before[v];
            for (int part = 1; part <= book.parts(); part++) {
                before[v + 1] += book.entry(part + ".txt").length;
            }
        }
        long total = before[volumes.size()];
        for (int v = 0; v < volumes.size(); v++) {
            Path volume = volumes.get(v);
            int index = v;
            run(bookName(volume) + ": % of the whole book, in the status line and by 跳转", () -> {
                installSuite(volume);
                BookFile book = new BookFile(volume);
                try (Phone phone = new Phone(volume, size[0], size[1])) {
                    phone.advance(0); // the part sizes measured
                    boolean resumeRow = phone.list().getString(0).endsWith("（继续阅读）");
                    phone.select(resumeRow ? book.parts() : book.parts() - 1);
                    phone.command("跳转");
                    phone.select(4); // the part's last page: the volume's end
                    equal((int) (before[index + 1] * 1000 / total), Pages.read(phone).permille, "progress at the volume's end");
                    // A percentage inside the volume goes there, one outside says where the volume lies.
                    int inside = (int) ((before[index] * 100 + total - 1) / total);
                    int outside = index == 0 ? 100 : 0;
                    phone.command("跳转");
                    phone.select(1);
                    typeNumber(phone, inside);
                    int shown = Pages.read(phone).permille;
                    check(shown >= inside * 10 - 1 && shown <= before[index + 1] * 1000 / total,
                            inside + "% of the book shows " + shown + "‰");
                    if (volumes.size() > 1) {
                        phone.command("跳转");
                        phone.select(1);
                        typeNumber(phone, outside);
                        String notice = Pages.read(phone).notice;
                        check(notice.contains("不在这一卷里"), outside + "%: " + notice);
                    }
                }
            });
        }
        System.out.printf("%d books, %d failed checks%n", volumes.size(), failures);
        System.exit(failures == 0 ? 0 : 1);
    }

    /** Types a number on the reader's own keypad (the number keys, then #). */
    static void typeNumber(Phone phone, int n) {
        for (char c : String.valueOf(n).toCharArray()) {
            phone.press(c);
        }
        phone.press('#');
    }

    interface Body {
        void run() throws Exception;
    }

    static void run(String name, Body body) {
        try {
            body.run();
            System.out.println("ok   " + name);
        } catch (Throwable e) {
            failures++;
            System.out.println("FAIL " + name + ": " + e);
        }
    }

    static void check(boolean ok, String what) {
        if (!ok) {
            throw new AssertionError(what);
        }
    }

    static void equal(Object expected, Object actual, String what) {
        check(expected.equals(actual), what + ": expected " + expected + ", got " + actual);
    }

    static String bookName(Path volume) {
        String file = volume.getFileName().toString();
        return file.substring(0, file.length() - ".jar".length());
    }

    /** The key a phone keeps a suite's record stores under: its name and vendor. */
    static String suiteOf(Path volume) throws Exception {
        try (JarFile jar = new JarFile(volume.toFile())) {
            Attributes a = jar.getManifest().getMainAttributes();
            return a.getValue("MIDlet-Name") + "\n" + a.getValue("MIDlet-Vendor");
        }
    }

    /** Puts the record stores of the volume's suite in place of those of the last one. */
    @SuppressWarnings("unchecked")
    static void installSuite(Path volume) throws Exception {
        Field field = RecordStore.class.getDeclaredField("STORES");
        field.setAccessible(true);
        Map<String, Object> stores = (Map<String, Object>) field.get(null);
        String suite = suiteOf(volume);
        if (currentSuite != null) {
            SUITE_STORES.put(currentSuite, new LinkedHashMap<>(stores));
        }
        stores.clear();
        Map<String, Object> own = SUITE_STORES.get(suite);
        if (own != null) {
            stores.putAll(own);
        }
        currentSuite = suite;
    }

    static void setStatic(Class<?> owner, String name, Object value) throws Exception {
        Field field = owner.getDeclaredField(name);
        field.setAccessible(true);
        field.set(null, value);
    }
}
