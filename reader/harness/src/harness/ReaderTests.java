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
import java.util.List;
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
 *        ReaderTests --list
 * Runs the groups named, all of {@link #GROUPS} when none is. Screens are written as PNG under
 * SCREENS_DIR. Exit status 1 if any check fails, 2 for a group that does not exist.
 * --list prints each group's name and the JVM options it needs, a group a line: the build
 * registers one CTest test a group from it.
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

    /** A group of tests, run by name, in a JVM started with {@code jvmOptions}. */
    record Group(String name, String jvmOptions, Runnable body) {
    }

    /** Every group, in the order they run when none is named. */
    static final Group[] GROUPS = {
        new Group("template", "", ReaderTests::templateTests),
        new Group("constants", "", ReaderTests::constantTests),
        new Group("books", "", BookTests::run),
        new Group("navigation", "", NavigationTests::run),
        new Group("resume", "", NavigationTests::runResume),
        new Group("fonts", "", NavigationTests::runFonts),
        new Group("linebreaks", "", LineBreakTests::run),
        new Group("saving", "", SavingTests::run),
        new Group("night", "", DisplayTests::runNight),
        new Group("spacing", "", DisplayTests::runSpacing),
        new Group("progress", "", DisplayTests::runProgress),
        new Group("volumes", "", DisplayTests::runVolumes),
        new Group("goto", "", GoToTests::runGoTo),
        new Group("bookmarks", "", GoToTests::runBookmarks),
        new Group("autoturn", "", AutoTurnTests::run),
        new Group("damaged", "", DamagedTests::run),
        new Group("chapters", "", ChapterTests::run),
        new Group("chapternumbers", "", ChapterTests::runNumbers),
        new Group("keys", "", KeyTests::run),
        new Group("find", "", FindTests::run),
        new Group("layout", "", LayoutTests::run),
        // A part of 16 MB in a heap of 16 MB: passes only if the reader never holds a part whole.
        new Group("memory", "-Xmx16m", MemoryTests::run),
    };

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

    /**
     * The row shown is {@link #resumeRow} of the title, or where that is too wide for the
     * screen, the same with the title cut short with "…" (keeping its first character), so
     * that no runtime cuts the row elsewhere; either way it fits the screen.
     */
    static void checkResumeRow(String title, String shown, String what) {
        int width = javax.microedition.lcdui.Font.getDefaultFont().stringWidth(shown);
        check(width <= javax.microedition.lcdui.Screens.screenWidth(), what + ": \"" + shown + "\" is wider than the screen");
        if (shown.equals(resumeRow(title))) {
            return;
        }
        String cut = shown.startsWith("→ ") && shown.endsWith("…（继续阅读）")
                ? shown.substring(2, shown.length() - "…（继续阅读）".length()) : "";
        check(!cut.isEmpty() && title.startsWith(cut), what + ": expected " + resumeRow(title) + " or it cut short, got " + shown);
    }

    static Path book(String name) {
        return books.resolve(name + ".jar");
    }

    static Path screen(int[] size, String name) {
        return screens.resolve(size[0] + "x" + size[1]).resolve(name + ".png");
    }

    public static void main(String[] args) throws Exception {
        if (args.length == 1 && args[0].equals("--list")) {
            for (Group g : GROUPS) {
                System.out.println((g.name() + " " + g.jvmOptions()).trim());
            }
            return;
        }
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
        List<String> known = new ArrayList<>();
        for (Group g : GROUPS) {
            known.add(g.name());
        }
        for (String name : groups) {
            if (!known.contains(name)) {
                // Running nothing would pass: a misspelt group must not.
                System.err.println("no test group " + name + "; the groups are " + known);
                System.exit(2);
            }
        }
        for (Group g : GROUPS) {
            if (groups.isEmpty() || groups.contains(g.name())) {
                g.body().run();
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
        test("the template is at most 27 KB: small phones count every kilobyte", () -> {
            long size = Files.size(template);
            check(size <= 27 * 1024, "the template has " + size + " bytes");
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
