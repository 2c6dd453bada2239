package harness;

import java.io.IOException;
import java.lang.reflect.Field;
import java.lang.reflect.Modifier;
import java.net.URL;
import java.net.URLClassLoader;
import java.nio.file.Files;
import java.nio.file.Path;
import java.nio.file.Paths;
import java.util.ArrayList;
import java.util.Enumeration;
import java.util.LinkedHashMap;
import java.util.List;
import java.util.Map;
import java.util.jar.JarEntry;
import java.util.jar.JarFile;
import java.awt.image.BufferedImage;
import javax.imageio.ImageIO;
import javax.microedition.lcdui.Canvas;
import javax.microedition.lcdui.Font;
import javax.microedition.rms.RecordStores;

/**
 * Runs the reader on books on a test phone and checks what it shows.
 *
 * Usage: ReaderTests TEMPLATE STUBS.jar BOOKS_DIR SCREENS_DIR [GROUP ...]
 * Groups: template, constants, books, navigation, resume, fonts, linebreaks, saving, night,
 * spacing, progress, volumes, goto, bookmarks, autoturn, damaged, chapters, keys, find, layout, memory (all by default; memory means
 * something only with a small heap, -Xmx16m).
 * Screens are written as PNG under SCREENS_DIR. Exit status 1 if any check fails.
 */
public final class ReaderTests {
    static final int[][] SIZES = { { 128, 128 }, { 176, 208 }, { 240, 320 } };
    /** Keys that turn to the next page, used in turn while paging through a book. */
    static final int[] NEXT_KEYS = { -2, -4, -5, Canvas.KEY_NUM8, Canvas.KEY_NUM5 };
    static final int[] PREVIOUS_KEYS = { -1, -3, Canvas.KEY_NUM2 };

    private static Path template;
    private static Path stubs;
    private static Path books;
    private static Path screens;
    private static int failures;
    private static int passed;

    interface Body {
        void run() throws Exception;
    }

    static void test(String name, Body body) {
        RecordStores.clear();
        harness.util.Clock.reset();
        long t0 = System.nanoTime();
        try {
            body.run();
            passed++;
            System.out.printf("ok   %s (%d ms)%n", name, (System.nanoTime() - t0) / 1000000);
        } catch (Throwable e) {
            failures++;
            System.out.println("FAIL " + name + ": " + e);
            for (StackTraceElement s : e.getStackTrace()) {
                System.out.println("        at " + s);
            }
        }
    }

    static void check(boolean ok, String what) {
        if (!ok) {
            throw new AssertionError(what);
        }
    }

    static void equal(Object expected, Object actual, String what) {
        if (!expected.equals(actual)) {
            throw new AssertionError(what + ": expected " + expected + ", got " + actual);
        }
    }

    /** The contents' first row when a page is kept: the part's title first, where runtimes that cut rows keep it. */
    static String resumeRow(String title) {
        return "→ " + title + "（继续阅读）";
    }

    static Path book(String name) {
        return books.resolve(name + ".jar");
    }

    static Path screen(int[] size, String name) {
        return screens.resolve(size[0] + "x" + size[1]).resolve(name + ".png");
    }

    public static void main(String[] args) throws Exception {
        if (args.length < 4) {
            System.err.println("usage: ReaderTests TEMPLATE STUBS.jar BOOKS_DIR SCREENS_DIR [GROUP ...]");
            System.exit(2);
        }
        template = Paths.get(args[0]);
        stubs = Paths.get(args[1]);
        books = Paths.get(args[2]);
        screens = Paths.get(args[3]);
        List<String> groups = new ArrayList<>();
        for (int i = 4; i < args.length; i++) {
            groups.add(args[i]);
        }
        Map<String, Runnable> all = new LinkedHashMap<>();
        all.put("template", ReaderTests::templateTests);
        all.put("constants", ReaderTests::constantTests);
        all.put("books", BookTests::run);
        all.put("navigation", NavigationTests::run);
        all.put("resume", NavigationTests::runResume);
        all.put("fonts", NavigationTests::runFonts);
        all.put("linebreaks", LineBreakTests::run);
        all.put("saving", SavingTests::run);
        all.put("night", DisplayTests::runNight);
        all.put("spacing", DisplayTests::runSpacing);
        all.put("progress", DisplayTests::runProgress);
        all.put("volumes", DisplayTests::runVolumes);
        all.put("goto", GoToTests::runGoTo);
        all.put("bookmarks", GoToTests::runBookmarks);
        all.put("autoturn", AutoTurnTests::run);
        all.put("damaged", DamagedTests::run);
        all.put("chapters", ChapterTests::run);
        all.put("keys", KeyTests::run);
        all.put("find", FindTests::run);
        all.put("layout", LayoutTests::run);
        all.put("memory", MemoryTests::run);
        for (Map.Entry<String, Runnable> e : all.entrySet()) {
            if (groups.isEmpty() || groups.contains(e.getKey())) {
                e.getValue().run();
            }
        }
        System.out.printf("%d passed, %d failed%n", passed, failures);
        System.exit(failures == 0 ? 0 : 1);
    }

    /** The template holds the reader and its icon, and none of the entries the tool adds. */
    static void templateTests() {
        test("template holds Lumenread and a small PNG icon, and no book entries", () -> {
            try (JarFile jar = new JarFile(template.toFile())) {
                check(jar.getEntry("Lumenread.class") != null, "no Lumenread.class");
                JarEntry icon = jar.getJarEntry("rd.PNG");
                check(icon != null, "no rd.PNG");
                BufferedImage image = ImageIO.read(jar.getInputStream(icon));
                check(image != null, "rd.PNG is not a PNG image");
                check((image.getWidth() == 16 && image.getHeight() == 16)
                        || (image.getWidth() == 24 && image.getHeight() == 24),
                        "icon is " + image.getWidth() + "x" + image.getHeight());
                for (Enumeration<JarEntry> en = jar.entries(); en.hasMoreElements();) {
                    String name = en.nextElement().getName();
                    check(!name.equalsIgnoreCase("META-INF/MANIFEST.MF") && !name.equals("index.txt")
                            && !name.matches("\\d+\\.txt"), "template holds " + name);
                }
            }
        });
        test("the template is at most 23 KB: small phones count every kilobyte", () -> {
            long size = Files.size(template);
            check(size <= 23 * 1024, "the template has " + size + " bytes");
        });
        test("the book's manifest names the template's class and icon", () -> {
            try (Phone phone = new Phone(book("small"), 176, 208);
                    JarFile jar = new JarFile(phone.jar.toFile())) {
                check(jar.getEntry(phone.iconPath.substring(1)) != null, "no icon " + phone.iconPath);
            }
        });
    }

    /**
     * The constants of the API stubs (inlined into the reader at compile time) and of the
     * test phone's classes are the same values.
     */
    static void constantTests() {
        test("API stub constants equal the test phone's", () -> {
            int compared = 0;
            try (JarFile jar = new JarFile(stubs.toFile());
                    URLClassLoader stubLoader = new URLClassLoader(new URL[] { stubs.toUri().toURL() }, null) {
                        protected Class<?> loadClass(String name, boolean resolve) throws ClassNotFoundException {
                            if (name.startsWith("javax.microedition.")) {
                                synchronized (getClassLoadingLock(name)) {
                                    Class<?> c = findLoadedClass(name);
                                    return c != null ? c : findClass(name);
                                }
                            }
                            return super.loadClass(name, resolve);
                        }
                    }) {
                for (Enumeration<JarEntry> en = jar.entries(); en.hasMoreElements();) {
                    String entry = en.nextElement().getName();
                    if (!entry.startsWith("javax/microedition/") || !entry.endsWith(".class")) {
                        continue;
                    }
                    String name = entry.substring(0, entry.length() - 6).replace('/', '.');
                    Class<?> stub = stubLoader.loadClass(name);
                    Class<?> phone = Class.forName(name);
                    for (Field f : stub.getDeclaredFields()) {
                        int m = f.getModifiers();
                        if (!Modifier.isPublic(m) || !Modifier.isStatic(m) || !Modifier.isFinal(m)
                                || !f.getType().isPrimitive()) {
                            continue;
                        }
                        Object expected = f.get(null);
                        Object actual = phone.getField(f.getName()).get(null);
                        equal(expected, actual, name + "." + f.getName());
                        compared++;
                    }
                }
            }
            check(compared >= 50, "only " + compared + " constants compared");
        });
    }

    static Phone open(String bookName, int[] size) throws Exception {
        return new Phone(book(bookName), size[0], size[1]);
    }

    static String sizeName(int[] size) {
        return size[0] + "x" + size[1];
    }
}
