package harness;

import static harness.ReaderTests.check;
import static harness.ReaderTests.equal;
import static harness.ReaderTests.test;

import java.io.ByteArrayInputStream;
import java.io.ByteArrayOutputStream;
import java.io.DataInputStream;
import java.io.DataOutputStream;
import java.nio.charset.StandardCharsets;
import java.util.List;
import javax.microedition.lcdui.Canvas;
import javax.microedition.lcdui.Font;
import javax.microedition.rms.RecordStore;
import javax.microedition.rms.RecordStores;

/**
 * The position is kept soon after pages stop turning, without a record-store write per key,
 * so a phone that stops the reader without warning (no destroyApp) resumes at the page shown;
 * and the records of earlier readers still load.
 */
final class SavingTests {
    static final int[] SIZE = NavigationTests.SIZE;
    static final int LONG_PART = NavigationTests.LONG_PART;
    private static final String STORE = "lumenread";

    private SavingTests() {
    }

    static void run() {
        test("pages turned, then a pause: one write, and a phone stopping without warning resumes there", () -> {
            BookFile book = new BookFile(ReaderTests.book("novel"));
            String shown;
            try (Phone phone = ReaderTests.open("novel", SIZE)) {
                NavigationTests.openPart(phone, LONG_PART);
                int writes = RecordStores.writes(STORE);
                int[] keys = { -2, Canvas.KEY_NUM8, -4, Canvas.KEY_NUM5, -5, Canvas.KEY_NUM2, -2, -2 };
                for (int key : keys) {
                    phone.press(key);
                    phone.advance(700);
                }
                equal(writes, RecordStores.writes(STORE), "writes while turning a page every 0.7 s");
                shown = Pages.read(phone).key();
                equal(7, Pages.read(phone).page, "page after the keys");
                phone.advance(2000);
                equal(writes + 1, RecordStores.writes(STORE), "writes 2 s after the last turn");
                phone.advance(60000);
                equal(writes + 1, RecordStores.writes(STORE), "writes a minute later");
            } // closed without destroyApp, as when the battery is pulled
            try (Phone phone = ReaderTests.open("novel", SIZE)) {
                ReaderTests.checkResumeRow(book.titles.get(LONG_PART - 1), phone.list().getString(0), "first row");
                phone.select(0);
                equal(shown, Pages.read(phone).key(), "page resumed");
            }
        });
        test("a jump with 跳转 is kept the same way", () -> {
            String shown;
            try (Phone phone = ReaderTests.open("novel", SIZE)) {
                NavigationTests.openPart(phone, LONG_PART);
                phone.command("跳转");
                phone.select(3);
                shown = Pages.read(phone).key();
                phone.advance(2000);
            }
            try (Phone phone = ReaderTests.open("novel", SIZE)) {
                phone.select(0);
                equal(shown, Pages.read(phone).key(), "page resumed");
            }
        });
        test("records of earlier readers load; what they lack takes its default", () -> {
            BookFile book = new BookFile(ReaderTests.book("novel"));
            String text = book.expectedText(LONG_PART);
            int charIndex = text.length() / 2;
            int offset = text.substring(0, charIndex).getBytes(StandardCharsets.UTF_8).length;
            // { record, part resumed (0: none), font size, night }
            Object[][] cases = {
                { ints(1, LONG_PART, offset, 2), LONG_PART, Font.SIZE_LARGE, false },
                { bytes(ints(1, LONG_PART, offset, 0), 1, 2, 3), LONG_PART, Font.SIZE_SMALL, true },
                { bytes(ints(1, LONG_PART, offset, 0), 1), LONG_PART, Font.SIZE_SMALL, false },
                { ints(1, 0, 0, 2), 0, Font.SIZE_LARGE, false },
                { ints(2, LONG_PART, offset, 2), 0, Font.SIZE_MEDIUM, false },
                { ints(1, LONG_PART, -5, 2), 0, Font.SIZE_MEDIUM, false },
                { new byte[] { 0, 0, 0 }, 0, Font.SIZE_MEDIUM, false },
                { new byte[0], 0, Font.SIZE_MEDIUM, false },
            };
            for (Object[] c : cases) {
                RecordStores.clear();
                byte[] record = (byte[]) c[0];
                String name = "record of " + record.length + " bytes";
                RecordStore store = RecordStore.openRecordStore(STORE, true);
                store.addRecord(record, 0, record.length);
                store.closeRecordStore();
                try (Phone phone = ReaderTests.open("novel", SIZE)) {
                    int part = (Integer) c[1];
                    if (part == 0) {
                        equal(book.titles.get(0), phone.list().getString(0), name + ": first row");
                        phone.select(0);
                    } else {
                        ReaderTests.checkResumeRow(book.titles.get(part - 1), phone.list().getString(0), name + ": first row");
                        phone.select(0);
                        int resumed = Pages.read(phone).page;
                        int[] starts = Pages.checkText(name, text, NavigationTests.allPages(phone));
                        equal(GoToTests.pageHolding(starts, charIndex), resumed, name + ": page resumed");
                    }
                    Pages.Page p = Pages.read(phone);
                    equal(c[2], p.fontSize, name + ": font size");
                    equal(c[3], luminance(p.background) < 128, name + ": night");
                    phone.command("退出");
                }
                byte[] kept = readRecord(STORE);
                DataInputStream in = new DataInputStream(new ByteArrayInputStream(kept));
                equal(1, in.readInt(), name + ": format written, as the first reader reads it");
                check(in.readInt() >= 1, name + ": part written");
            }
        });
    }

    static int luminance(int rgb) {
        return (((rgb >> 16) & 0xff) * 299 + ((rgb >> 8) & 0xff) * 587 + (rgb & 0xff) * 114) / 1000;
    }

    static byte[] readRecord(String name) throws Exception {
        RecordStore store = RecordStore.openRecordStore(name, false);
        try {
            return store.getRecord(1);
        } finally {
            store.closeRecordStore();
        }
    }

    private static byte[] ints(int... values) throws Exception {
        ByteArrayOutputStream b = new ByteArrayOutputStream();
        DataOutputStream out = new DataOutputStream(b);
        for (int v : values) {
            out.writeInt(v);
        }
        return b.toByteArray();
    }

    private static byte[] bytes(byte[] head, int... tail) {
        byte[] all = java.util.Arrays.copyOf(head, head.length + tail.length);
        for (int i = 0; i < tail.length; i++) {
            all[head.length + i] = (byte) tail[i];
        }
        return all;
    }
}
