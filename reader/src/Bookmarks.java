import java.io.ByteArrayInputStream;
import java.io.ByteArrayOutputStream;
import java.io.DataInputStream;
import java.io.DataOutputStream;
import java.io.IOException;

/**
 * The book's bookmarks: each a part, the byte offset of a page's first character and a name
 * (the part's title, the page and its first characters), kept in the order they come in
 * the book. Kept as one
 * record in the record store "lumenmarks" of the MIDlet suite, so each book has its own.
 */
final class Bookmarks {
    static final int MAX = 100;
    /** A name holds at most this many characters of the part's title and of the page's text. */
    static final int TITLE_LENGTH = 8;
    static final int TEXT_LENGTH = 12;

    /** Results of {@link #add}. */
    static final int ADDED = 0;
    static final int EXISTS = 1;
    static final int FULL = 2;
    static final int NOT_KEPT = 3;

    private static final String STORE = "lumenmarks";
    private static final int FORMAT = 1;

    private final int[] parts = new int[MAX];
    private final int[] offsets = new int[MAX];
    private final String[] names = new String[MAX];
    private int count;

    /** Loads the bookmarks kept, leaving out any beyond the book's {@code partCount} parts. */
    static Bookmarks load(int partCount) {
        Bookmarks b = new Bookmarks();
        byte[] record = Settings.read(STORE);
        if (record == null) {
            return b;
        }
        DataInputStream in = new DataInputStream(new ByteArrayInputStream(record));
        try {
            if (in.readByte() != FORMAT) {
                return b;
            }
            for (int n = in.readShort(); n > 0; n--) {
                int part = in.readInt();
                int offset = in.readInt();
                String name = in.readUTF();
                if (part >= 1 && part <= partCount && offset >= 0) {
                    b.insert(part, offset, name);
                }
            }
        } catch (IOException e) {
            // A damaged record: the bookmarks read before the damage are kept.
        }
        return b;
    }

    int size() {
        return count;
    }

    int part(int i) {
        return parts[i];
    }

    int offset(int i) {
        return offsets[i];
    }

    String name(int i) {
        return names[i];
    }

    /** Adds a bookmark and keeps the list; one of ADDED, EXISTS, FULL, NOT_KEPT. */
    int add(int part, int offset, String name) {
        int at = position(part, offset);
        if (at < count && parts[at] == part && offsets[at] == offset) {
            return EXISTS;
        }
        if (count == MAX) {
            return FULL;
        }
        insert(part, offset, name);
        if (!save()) {
            remove(position(part, offset));
            return NOT_KEPT;
        }
        return ADDED;
    }

    /** Deletes bookmark {@code i} and keeps the list; false if the phone refused. */
    boolean delete(int i) {
        int part = parts[i];
        int offset = offsets[i];
        String name = names[i];
        remove(i);
        if (!save()) {
            insert(part, offset, name);
            return false;
        }
        return true;
    }

    /** Index of the first bookmark at or after the position; count when none is. */
    private int position(int part, int offset) {
        int i = 0;
        while (i < count && (parts[i] < part || (parts[i] == part && offsets[i] < offset))) {
            i++;
        }
        return i;
    }

    private void insert(int part, int offset, String name) {
        int at = position(part, offset);
        if (count == MAX || (at < count && parts[at] == part && offsets[at] == offset)) {
            return;
        }
        System.arraycopy(parts, at, parts, at + 1, count - at);
        System.arraycopy(offsets, at, offsets, at + 1, count - at);
        System.arraycopy(names, at, names, at + 1, count - at);
        parts[at] = part;
        offsets[at] = offset;
        names[at] = name;
        count++;
    }

    private void remove(int i) {
        count--;
        System.arraycopy(parts, i + 1, parts, i, count - i);
        System.arraycopy(offsets, i + 1, offsets, i, count - i);
        System.arraycopy(names, i + 1, names, i, count - i);
        names[count] = null;
    }

    private boolean save() {
        ByteArrayOutputStream bytes = new ByteArrayOutputStream();
        DataOutputStream out = new DataOutputStream(bytes);
        try {
            out.writeByte(FORMAT);
            out.writeShort(count);
            for (int i = 0; i < count; i++) {
                out.writeInt(parts[i]);
                out.writeInt(offsets[i]);
                out.writeUTF(names[i]);
            }
            out.close();
        } catch (IOException e) {
            return false; // not thrown by a stream into memory
        }
        return Settings.write(STORE, bytes.toByteArray());
    }
}
