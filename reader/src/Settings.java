import java.io.ByteArrayInputStream;
import java.io.ByteArrayOutputStream;
import java.io.DataInputStream;
import java.io.DataOutputStream;
import java.io.IOException;
import javax.microedition.rms.RecordStore;
import javax.microedition.rms.RecordStoreException;

/**
 * What the reader keeps between runs: the part and the byte offset of the page last read,
 * and the font size. Kept as one record in the MIDlet suite's record store, so each book
 * (each suite) remembers its own.
 */
final class Settings {
    static final int SMALL = 0;
    static final int MEDIUM = 1;
    static final int LARGE = 2;

    private static final String STORE = "lumenread";
    private static final int FORMAT = 1;

    /** Part last read (1-based), 0 when nothing was read yet. */
    int part;
    /** Byte offset in that part of the first character on the page last shown. */
    int offset;
    int fontSize = MEDIUM;

    /** Loads what was kept; anything unreadable leaves the defaults. */
    static Settings load() {
        Settings s = new Settings();
        RecordStore store = null;
        try {
            store = RecordStore.openRecordStore(STORE, true);
            if (store.getNumRecords() > 0) {
                DataInputStream in = new DataInputStream(new ByteArrayInputStream(store.getRecord(1)));
                if (in.readInt() == FORMAT) {
                    int part = in.readInt();
                    int offset = in.readInt();
                    int fontSize = in.readInt();
                    if (part >= 0 && offset >= 0 && fontSize >= SMALL && fontSize <= LARGE) {
                        s.part = part;
                        s.offset = offset;
                        s.fontSize = fontSize;
                    }
                }
            }
        } catch (RecordStoreException e) {
            // No usable store: start from the defaults, as on the first run.
        } catch (IOException e) {
            // A record of another layout: start from the defaults.
        } finally {
            close(store);
        }
        return s;
    }

    /** Keeps the settings; returns false if the phone refused (store full or missing). */
    boolean save() {
        RecordStore store = null;
        try {
            ByteArrayOutputStream bytes = new ByteArrayOutputStream();
            DataOutputStream out = new DataOutputStream(bytes);
            out.writeInt(FORMAT);
            out.writeInt(part);
            out.writeInt(offset);
            out.writeInt(fontSize);
            out.close();
            byte[] data = bytes.toByteArray();
            store = RecordStore.openRecordStore(STORE, true);
            if (store.getNumRecords() == 0) {
                store.addRecord(data, 0, data.length);
            } else {
                store.setRecord(1, data, 0, data.length);
            }
            return true;
        } catch (RecordStoreException e) {
            return false;
        } catch (IOException e) {
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
