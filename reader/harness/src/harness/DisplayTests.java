package harness;

import static harness.ReaderTests.check;
import static harness.ReaderTests.equal;
import static harness.ReaderTests.test;
import static harness.SavingTests.luminance;

import java.nio.charset.StandardCharsets;
import java.nio.file.Files;
import java.nio.file.Path;
import javax.microedition.rms.RecordStores;
import java.util.ArrayList;
import java.util.List;

/** Night mode, line spacing and the progress through the whole book in the status line. */
final class DisplayTests {
    static final int[] SIZE = NavigationTests.SIZE;
    static final int LONG_PART = NavigationTests.LONG_PART;

    private DisplayTests() {
    }

    static void runNight() {
        for (int[] size : ReaderTests.SIZES) {
            test("夜间模式: light text on a dark background, 日间模式 back, kept at the next start, on "
                    + ReaderTests.sizeName(size), () -> {
                try (Phone phone = ReaderTests.open("novel", size)) {
                    NavigationTests.openPart(phone, 2);
                    checkDay(Pages.read(phone), "at the start");
                    check(!phone.commands().contains("日间模式"), "commands by day: " + phone.commands());
                    phone.command("夜间模式");
                    Pages.Page night = Pages.read(phone);
                    checkNight(night, "after 夜间模式");
                    check(phone.commands().contains("日间模式") && !phone.commands().contains("夜间模式"),
                            "commands at night: " + phone.commands());
                    phone.screenshot(ReaderTests.screen(size, "novel-night"));
                    phone.press(-2);
                    checkNight(Pages.read(phone), "on the next page");
                    phone.command("退出");
                }
                try (Phone phone = ReaderTests.open("novel", size)) {
                    phone.select(0);
                    checkNight(Pages.read(phone), "at the next start");
                    phone.command("日间模式");
                    checkDay(Pages.read(phone), "after 日间模式");
                    phone.command("退出");
                }
                try (Phone phone = ReaderTests.open("novel", size)) {
                    phone.select(0);
                    checkDay(Pages.read(phone), "at the start after 日间模式");
                }
            });
        }
    }

    private static void checkDay(Pages.Page p, String when) {
        check(luminance(p.background) > 200 && luminance(p.textColour) < 80
                && luminance(p.statusColour) < luminance(p.background) - 80,
                when + ": background " + Integer.toHexString(p.background) + ", text "
                + Integer.toHexString(p.textColour) + ", status " + Integer.toHexString(p.statusColour));
    }

    private static void checkNight(Pages.Page p, String when) {
        check(luminance(p.background) < 40 && luminance(p.textColour) > 140
                && luminance(p.statusColour) > luminance(p.background) + 60,
                when + ": background " + Integer.toHexString(p.background) + ", text "
                + Integer.toHexString(p.textColour) + ", status " + Integer.toHexString(p.statusColour));
    }

    static void runSpacing() {
        test("行距: more space between lines, fewer lines, the page's first character kept, kept at the next start", () -> {
            BookFile book = new BookFile(ReaderTests.book("novel"));
            String text = book.expectedText(LONG_PART);
            String[] labels = { "紧凑", "适中", "宽松" };
            int[] pitch = new int[3];
            int[] lines = new int[3];
            try (Phone phone = ReaderTests.open("novel", SIZE)) {
                NavigationTests.openPart(phone, LONG_PART);
                List<Pages.Page> pages = NavigationTests.allPages(phone);
                int[] starts = Pages.checkText("适中", text, pages);
                int page = pages.size() / 2;
                NavigationTests.goToPage(phone, page + 1);
                int anchor = starts[page];
                int selected = 1;
                for (int choice : new int[] { 2, 0, 1 }) {
                    phone.command("行距");
                    javax.microedition.lcdui.List list = phone.list();
                    equal(List.of(labels), rows(list), "rows of the spacing list");
                    equal(selected, list.getSelectedIndex(), "row selected");
                    phone.select(choice);
                    selected = choice;
                    Pages.Page now = Pages.read(phone);
                    pitch[choice] = now.tops.get(1) - now.tops.get(0);
                    List<Pages.Page> all = NavigationTests.allPages(phone);
                    int[] s = Pages.checkText(labels[choice], text, all);
                    lines[choice] = all.get(0).lines.size();
                    anchor = NavigationTests.checkHolds(labels[choice], text, s, now.page, anchor);
                    NavigationTests.goToPage(phone, now.page);
                }
                check(pitch[0] < pitch[1] && pitch[1] < pitch[2],
                        "line pitch 紧凑/适中/宽松: " + pitch[0] + "/" + pitch[1] + "/" + pitch[2]);
                check(lines[0] >= lines[1] && lines[1] >= lines[2] && lines[0] > lines[2],
                        "lines per page 紧凑/适中/宽松: " + lines[0] + "/" + lines[1] + "/" + lines[2]);
                phone.command("行距");
                phone.select(2);
                phone.command("退出");
            }
            try (Phone phone = ReaderTests.open("novel", SIZE)) {
                phone.select(0);
                Pages.Page p = Pages.read(phone);
                equal(pitch[2], p.tops.get(1) - p.tops.get(0), "line pitch at the next start");
                phone.command("行距");
                equal(2, phone.list().getSelectedIndex(), "row selected at the next start");
            }
        });
    }

    static List<String> rows(javax.microedition.lcdui.List list) {
        List<String> rows = new ArrayList<>();
        for (int i = 0; i < list.size(); i++) {
            rows.add(list.getString(i));
        }
        return rows;
    }

    /** A copy of {@code book} whose manifest ends with {@code line}. */
    static Path withManifestLine(Path book, String line, Path out) throws Exception {
        try (java.util.zip.ZipFile in = new java.util.zip.ZipFile(book.toFile());
                java.util.zip.ZipOutputStream zip = new java.util.zip.ZipOutputStream(Files.newOutputStream(out))) {
            for (java.util.zip.ZipEntry e : java.util.Collections.list(in.entries())) {
                byte[] data = in.getInputStream(e).readAllBytes();
                if (e.getName().equals("META-INF/MANIFEST.MF")) {
                    data = (new String(data, StandardCharsets.UTF_8) + line + "\r\n").getBytes(StandardCharsets.UTF_8);
                }
                zip.putNextEntry(new java.util.zip.ZipEntry(e.getName()));
                zip.write(data);
                zip.closeEntry();
            }
        }
        return out;
    }

    static void runVolumes() {
        test("a volume counts the bytes before it in the book-wide progress; a malformed place leaves it a whole book", () -> {
            BookFile book = new BookFile(ReaderTests.book("small"));
            long bytes = 0;
            for (int part = 1; part <= book.parts(); part++) {
                bytes += book.entry(part + ".txt").length;
            }
            long own = bytes;
            // { the attribute's value, bytes before, bytes of the whole book (0: taken as a whole book) }
            Object[][] cases = {
                { "1000 4000", 1000L, 4000L },
                { "0 100", 0L, 100L },
                { " 7 9000 ", 7L, 9000L },
                { "x y", 0L, 0L },
                { "1000", 0L, 0L },
                { "", 0L, 0L },
                { "-5 4000", 0L, 0L },
                { "5000 4000", 0L, 0L },
                { "99999999999999999999 1", 0L, 0L },
            };
            Path dir = Files.createTempDirectory("volume-place");
            try {
                for (Object[] c : cases) {
                    Path jar = withManifestLine(ReaderTests.book("small"), "Lumenread-Volume: " + c[0], dir.resolve("v.jar"));
                    long before = (Long) c[1];
                    long total = (Long) c[2] == 0 ? own : (Long) c[2];
                    RecordStores.clear();
                    try (Phone phone = new Phone(jar, SIZE[0], SIZE[1])) {
                        phone.advance(0);
                        phone.select(book.parts() - 1);
                        equal((int) (Math.min(before + own, total) * 1000 / total), Pages.read(phone).permille,
                                "progress at the end with \"" + c[0] + "\"");
                    }
                }
            } finally {
                Files.deleteIfExists(dir.resolve("v.jar"));
                Files.delete(dir);
            }
        });
    }

    static void runProgress() {
        test("the status line shows how far the page's end is through the whole book, by bytes", () -> {
            BookFile book = new BookFile(ReaderTests.book("novel"));
            long total = 0;
            long before = 0;
            for (int part = 1; part <= book.parts(); part++) {
                long size = book.entry(part + ".txt").length;
                total += size;
                if (part < LONG_PART) {
                    before += size;
                }
            }
            String text = book.expectedText(LONG_PART);
            // A book of an older builder, whose index gives no part lengths: the reader
            // measures the parts first.
            int measured;
            RecordStores.clear();
            try (Phone phone = ReaderTests.open("novel-older", SIZE)) {
                NavigationTests.openPart(phone, LONG_PART);
                equal(-1, Pages.read(phone).permille, "progress before the part sizes are measured");
                phone.advance(0);
                measured = Pages.read(phone).permille;
                check(measured > 0, "progress once the sizes are measured: " + measured);
            }
            RecordStores.clear();
            try (Phone phone = ReaderTests.open("novel", SIZE)) {
                NavigationTests.openPart(phone, LONG_PART);
                equal(measured, Pages.read(phone).permille, "progress at once: the index gives the part lengths");
                List<Pages.Page> pages = NavigationTests.allPages(phone);
                int[] starts = Pages.checkText("novel", text, pages);
                for (int i = 0; i < pages.size(); i++) {
                    int end = i + 1 < starts.length ? starts[i + 1] : text.length();
                    long bytes = before + text.substring(0, end).getBytes(StandardCharsets.UTF_8).length;
                    equal((int) (bytes * 1000 / total), pages.get(i).permille, "progress on page " + (i + 1));
                }
                phone.screenshot(ReaderTests.screen(SIZE, "novel-progress"));
                phone.press(-2);
                equal(1000, Pages.read(phone).permille, "progress on the last page of the book");
                phone.command("退出");
            }
            try (Phone phone = ReaderTests.open("novel", SIZE)) {
                phone.select(0);
                equal(1000, Pages.read(phone).permille, "progress at the next start, before any measuring");
            }
        });
    }
}
