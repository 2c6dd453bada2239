import java.io.ByteArrayInputStream;
import java.io.ByteArrayOutputStream;
import java.io.DataInputStream;
import java.io.DataOutputStream;
import java.io.IOException;
import javax.microedition.rms.RecordStore;
import javax.microedition.rms.RecordStoreException;

/**
 * What the reader keeps between runs: the part and the byte offset of the page last read,
 * the font size, night mode, the line spacing and the speed of automatic page turning. Kept
 * as one record in the MIDlet suite's record store, so each book (each suite) remembers its
 * own.
 *
 * The record starts with the four numbers the first reader wrote (format 1, part, offset,
 * font size); what came later is appended after them. A reader reads what it knows and
 * ignores the rest, so records of older and newer readers both load.
 */
final class Settings {
    /** Font sizes. */
    static final int SMALL = 0;
    static final int MEDIUM = 1;
    static final int LARGE = 2;
    /** Space between lines for each line spacing, in eighths of the font's height: 紧凑, 适中, 宽松. */
    static final int[] SPACING_EIGHTHS = { 1, 2, 4 };
    /** Seconds per page for each speed of automatic page turning. */
    static final int[] TURN_SECONDS = { 5, 10, 20, 30, 60 };

    private static final String STORE = "lumenread";
    private static final int FORMAT = 1;

    /** Part last read (1-based), 0 when nothing was read yet. */
    int part;
    /** Byte offset in that part of the first character on the page last shown. */
    int offset;
    int fontSize = MEDIUM;
    boolean night;
    /** Index into {@link #SPACING_EIGHTHS}. */
    int spacing = 1;
    /** Index into {@link #TURN_SECONDS}. */
    int turnSpeed = 1;
    /** The record as last read or written: an unchanged record is not written again. */
    private byte[] kept;

    /** Loads what was kept; anything unreadable leaves the defaults. */
    static Settings load() {
        Settings s = new Settings();
        byte[] record = read(STORE);
        if (record == null) {
            return s;
        }
        s.kept = record;
        DataInputStream in = new DataInputStream(new ByteArrayInputStream(record));
        try {
            if (in.readInt() != FORMAT) {
                return s;
            }
            int part = in.readInt();
            int offset = in.readInt();
            int fontSize = in.readInt();
            if (part < 0 || offset < 0 || fontSize < SMALL || fontSize > LARGE) {
                return s;
            }
            s.part = part;
            s.offset = offset;
            s.fontSize = fontSize;
            boolean night = in.readBoolean();
            int spacing = in.readByte();
            int turnSpeed = in.readByte();
            if (spacing >= 0 && spacing < SPACING_EIGHTHS.length
                    && turnSpeed >= 0 && turnSpeed < TURN_SECONDS.length) {
                s.night = night;
                s.spacing = spacing;
                s.turnSpeed = turnSpeed;
            }
        } catch (IOException e) {
            // A shorter record (an earlier reader's) keeps the defaults for what it lacks.
        }
        return s;
    }

    /** Keeps the settings; returns false if the phone refused (store full or missing). */
    boolean save() {
        ByteArrayOutputStream bytes = new ByteArrayOutputStream();
        DataOutputStream out = new DataOutputStream(bytes);
        try {
            out.writeInt(FORMAT);
            out.writeInt(part);
            out.writeInt(offset);
            out.writeInt(fontSize);
            out.writeBoolean(night);
            out.writeByte(spacing);
            out.writeByte(turnSpeed);
            out.close();
        } catch (IOException e) {
            return false; // not thrown by a stream into memory
        }
        byte[] data = bytes.toByteArray();
        if (same(data, kept)) {
            return true;
        }
        if (!write(STORE, data)) {
            return false;
        }
        kept = data;
        return true;
    }

    private static boolean same(byte[] a, byte[] b) {
        if (b == null || a.length != b.length) {
            return false;
        }
        for (int i = 0; i < a.length; i++) {
            if (a[i] != b[i]) {
                return false;
            }
        }
        return true;
    }

    /** The first record of the record store {@code name}; null when there is none. */
    static byte[] read(String name) {
        RecordStore store = null;
        try {
            store = RecordStore.openRecordStore(name, true);
            return store.getNumRecords() > 0 ? store.getRecord(1) : null;
        } catch (RecordStoreException e) {
            return null; // no usable store: as on the first run
        } finally {
            close(store);
        }
    }

    /** Makes {@code data} the first record of {@code name}; false if the phone refused. */
    static boolean write(String name, byte[] data) {
        RecordStore store = null;
        try {
            store = RecordStore.openRecordStore(name, true);
            if (store.getNumRecords() == 0) {
                store.addRecord(data, 0, data.length);
            } else {
                store.setRecord(1, data, 0, data.length);
            }
            return true;
        } catch (RecordStoreException e) {
            return false;
        } finally {
            close(store);
        }
    }

    private static void close(RecordStore store) {
        if (store != null) {
            try {
                store.closeRecordStore();
            } catch (RecordStoreException e) {
                // Closing only ends our use of the store; its contents are already written.
            }
        }
    }
}
