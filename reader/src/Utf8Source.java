import java.io.IOException;
import java.io.InputStream;

/**
 * Reads one part of the book as characters, decoding UTF-8 from the jar entry as it goes,
 * and tells the byte offset of every character. Page starts are kept as byte offsets, so a
 * page can be found again by opening the entry and skipping to its offset; decoding from any
 * offset this class has handed out gives the same characters as decoding from the start.
 *
 * What the phone cannot show is replaced: characters outside the 16-bit range, control
 * characters and undecodable bytes become '?'; a tab becomes a space; CR LF and a lone CR
 * become LF; a byte-order mark at the very start is skipped. Undecodable byte sequences
 * (a truncated or malformed sequence) are counted, so that the reader can warn about them.
 */
final class Utf8Source {
    private static final int BUFFER_SIZE = 2048;

    private final InputStream in;
    private final byte[] buf = new byte[BUFFER_SIZE];
    private int bufPos;
    private int bufLen;
    private boolean eof;
    /** Byte offset of buf[bufPos] in the entry. */
    private int offset;
    private int badSequences;

    /** Opens over a stream whose next byte is at the given offset of the entry. */
    Utf8Source(InputStream in, int offset) {
        this.in = in;
        this.offset = offset;
    }

    /** Opens resource {@code name} and positions it at byte {@code offset}; null if absent. */
    static Utf8Source open(String name, int offset) throws IOException {
        InputStream in = Resource.open(name);
        if (in == null) {
            return null;
        }
        skipFully(in, offset);
        return new Utf8Source(in, offset);
    }

    private static void skipFully(InputStream in, int count) throws IOException {
        byte[] scratch = null;
        while (count > 0) {
            long skipped = in.skip(count);
            if (skipped <= 0) {
                // Some phones' jar streams skip nothing; read and drop instead.
                if (scratch == null) {
                    scratch = new byte[Math.min(count, BUFFER_SIZE)];
                }
                int n = in.read(scratch, 0, Math.min(count, scratch.length));
                if (n < 0) {
                    return;
                }
                skipped = n;
            }
            count -= (int) skipped;
        }
    }

    /** Byte offset of the next character to be read. */
    int offset() {
        return offset;
    }

    /** Number of undecodable byte sequences met so far. */
    int badSequences() {
        return badSequences;
    }

    void close() {
        try {
            in.close();
        } catch (IOException e) {
            // Nothing more is read from this stream; a failed close changes nothing.
        }
    }

    private boolean fill() throws IOException {
        if (eof) {
            return false;
        }
        bufPos = 0;
        bufLen = 0;
        while (bufLen == 0) {
            int n = in.read(buf, 0, buf.length);
            if (n < 0) {
                eof = true;
                return false;
            }
            bufLen = n;
        }
        return true;
    }

    private int peekByte() throws IOException {
        if (bufPos == bufLen && !fill()) {
            return -1;
        }
        return buf[bufPos] & 0xff;
    }

    private void skipByte() {
        bufPos++;
        offset++;
    }

    /** Next character, or -1 at the end of the entry. */
    int read() throws IOException {
        while (true) {
            int start = offset;
            int b0 = peekByte();
            if (b0 < 0) {
                return -1;
            }
            skipByte();
            int c;
            if (b0 < 0x80) {
                if (b0 == '\r') {
                    if (peekByte() == '\n') {
                        skipByte();
                    }
                    return '\n';
                }
                c = b0;
            } else {
                c = decodeMultiByte(b0);
            }
            if (c == 0xFEFF && start == 0) {
                continue;
            }
            return visible(c);
        }
    }

    /** Decodes the rest of a sequence led by b0; returns -2 for a malformed one. */
    private int decodeMultiByte(int b0) throws IOException {
        int need;
        int min = 0x80;
        int max = 0xBF;
        int c;
        if (b0 >= 0xC2 && b0 <= 0xDF) {
            need = 1;
            c = b0 & 0x1F;
        } else if (b0 >= 0xE0 && b0 <= 0xEF) {
            need = 2;
            c = b0 & 0x0F;
            if (b0 == 0xE0) {
                min = 0xA0;
            } else if (b0 == 0xED) {
                max = 0x9F;
            }
        } else if (b0 >= 0xF0 && b0 <= 0xF4) {
            need = 3;
            c = b0 & 0x07;
            if (b0 == 0xF0) {
                min = 0x90;
            } else if (b0 == 0xF4) {
                max = 0x8F;
            }
        } else {
            badSequences++;
            return -2;
        }
        for (int i = 0; i < need; i++) {
            int b = peekByte();
            if (b < min || b > max) {
                // Truncated or malformed: the bytes taken so far count as one bad sequence,
                // and the offending byte starts the next character.
                badSequences++;
                return -2;
            }
            skipByte();
            c = (c << 6) | (b & 0x3F);
            min = 0x80;
            max = 0xBF;
        }
        return c;
    }

    /** Maps a decoded code point to what the reader draws. */
    static char visible(int c) {
        if (c == '\n') {
            return '\n';
        }
        if (c == '\t') {
            return ' ';
        }
        if (c < 0x20 || (c >= 0x7F && c < 0xA0) || c > 0xFFFF
                || (c >= 0xD800 && c <= 0xDFFF) || c == 0xFEFF || c == 0xFFFD
                || c == 0xFFFE || c == 0xFFFF) {
            return '?';
        }
        return (char) c;
    }
}
