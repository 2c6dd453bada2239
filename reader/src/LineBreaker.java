import java.io.IOException;
import javax.microedition.lcdui.Font;

/**
 * Cuts the characters of a {@link Utf8Source} into lines no wider than a given width, by the
 * measured width of each character in the font. A line ends at a newline or where the next
 * character would not fit; there the break moves back to the last place where a line may
 * end: not inside a Latin word, not before closing punctuation such as ，。！？」%, not after
 * opening punctuation such as （「 or a currency sign, not inside a number such as 5.50,
 * 1,000 or 12:30, not inside a web or e-mail address, not right after the spaces that
 * indent a line. A space where a line is cut is dropped. Where no such place exists in the
 * whole line (a very long word or address), the line is cut where it is full.
 *
 * Where a line breaks depends only on the text from the line's start onwards, so laying out
 * from a page's first byte gives the same lines as laying out the whole part.
 */
final class LineBreaker {
    /** Longest line in characters, a bound for characters that measure zero. */
    static final int MAX_LINE = 200;
    private static final int WINDOW = MAX_LINE + 2;

    private static final String NO_LINE_START =
            "，。、！？；：」』）》〉】〕〗’”…—～·．,.!?;:)]}%％‰";
    private static final String NO_LINE_END = "（《〈【〔〖「『‘“([{$¥￥£€";
    /** Characters of web and e-mail addresses besides ASCII letters and digits. */
    private static final String ADDRESS_MARKS = "-._~:/?#@$&+=%";

    /** CJK ideographs measured to see whether the font gives them one width. */
    private static final String IDEOGRAPHS = "一丁中国龍鬱齉龥";

    /**
     * The widths of the font last laid out, measured once: ASCII, and all CJK ideographs
     * (U+4E00 to U+9FA5) when the font gives the same width to a spread of them (0: ask the
     * font for each). Layout asks the font for every character otherwise, which is what
     * makes it slow on phones. Only the event thread lays out.
     */
    private static Font widthsOf;
    private static final int[] ASCII_WIDTHS = new int[128];
    private static int ideographWidth;

    private final Utf8Source source;
    private final Font font;
    private final int maxWidth;

    /** Decoded characters not yet handed out as lines, and the byte offset of each. */
    private final char[] window = new char[WINDOW];
    private final int[] offsets = new int[WINDOW + 1];
    private int count;
    private boolean sourceDone;

    /** The last line: window[0 .. lineLength), starting at byte lineOffset. */
    private int lineLength;
    private int lineOffset;
    /** Characters of the window that the last line used, its dropped break included. */
    private int consumed;

    LineBreaker(Utf8Source source, Font font, int maxWidth) {
        this.source = source;
        this.font = font;
        this.maxWidth = maxWidth;
        offsets[0] = source.offset();
        if (widthsOf != font) {
            for (char c = 0; c < 128; c++) {
                ASCII_WIDTHS[c] = font.charWidth(c);
            }
            ideographWidth = font.charWidth(IDEOGRAPHS.charAt(0));
            for (int i = 1; i < IDEOGRAPHS.length(); i++) {
                if (font.charWidth(IDEOGRAPHS.charAt(i)) != ideographWidth) {
                    ideographWidth = 0;
                }
            }
            widthsOf = font;
        }
    }

    /** Width of {@code c} in the font, from the widths measured once where they tell it. */
    private int width(char c) {
        if (c < 128) {
            return ASCII_WIDTHS[c];
        }
        if (ideographWidth > 0 && c >= 0x4E00 && c <= 0x9FA5) {
            return ideographWidth;
        }
        return font.charWidth(c);
    }

    /** Makes window[index] available; false when the text ends before it. */
    private boolean ensure(int index) throws IOException {
        while (count <= index) {
            if (sourceDone) {
                return false;
            }
            int c = source.read();
            if (c < 0) {
                sourceDone = true;
                offsets[count] = source.offset();
                return false;
            }
            window[count] = (char) c;
            count++;
            offsets[count] = source.offset();
        }
        return true;
    }

    /** Byte offset where the next line starts (the end of the text after the last line). */
    int nextOffset() throws IOException {
        dropConsumed();
        ensure(0);
        return offsets[0];
    }

    private void dropConsumed() {
        if (consumed > 0) {
            System.arraycopy(window, consumed, window, 0, count - consumed);
            System.arraycopy(offsets, consumed, offsets, 0, count - consumed + 1);
            count -= consumed;
            consumed = 0;
        }
    }

    /**
     * Lays out the next line; false at the end of the text. The line is then
     * {@link #lineChars()}[0 .. {@link #lineLength()}).
     */
    boolean next() throws IOException {
        dropConsumed();
        if (!ensure(0)) {
            return false;
        }
        lineOffset = offsets[0];
        int width = 0;
        int i = 0;
        while (true) {
            if (!ensure(i)) {
                end(i, i);
                return true;
            }
            char c = window[i];
            if (c == '\n') {
                end(i, i + 1);
                return true;
            }
            if (i == MAX_LINE) {
                end(i, i);
                return true;
            }
            int w = width(c);
            if (width + w > maxWidth && i > 0) {
                if (c == ' ') {
                    end(i, i + 1);
                    return true;
                }
                // A line holds more than the spaces that indent it.
                int blanks = 0;
                while (blanks < i && (window[blanks] == ' ' || window[blanks] == '\u3000')) {
                    blanks++;
                }
                int b = i;
                while (b > blanks && !mayBreakBefore(b)) {
                    b--;
                }
                if (b <= blanks) {
                    b = i;
                }
                end(b, window[b] == ' ' ? b + 1 : b);
                return true;
            }
            width += w;
            i++;
        }
    }

    private void end(int length, int used) {
        lineLength = length;
        consumed = used;
    }

    /** Whether a line may end between window[index - 1] and window[index]. */
    private boolean mayBreakBefore(int index) throws IOException {
        char before = window[index - 1];
        char after = window[index];
        if (NO_LINE_START.indexOf(after) >= 0 || NO_LINE_END.indexOf(before) >= 0
                || (isWordChar(before) && isWordChar(after))) {
            return false;
        }
        if ((before == '.' || before == ',' || before == ':') && isDigit(after) && index >= 2
                && isDigit(window[index - 2])) {
            return false; // 5.50, 1,000, 12:30
        }
        return !(isAddressChar(before) && isAddressChar(after) && inAddress(index));
    }

    private static boolean isDigit(char c) {
        return c >= '0' && c <= '9';
    }

    private static boolean isAddressChar(char c) {
        return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || isDigit(c)
                || ADDRESS_MARKS.indexOf(c) >= 0;
    }

    /**
     * Whether window[index - 1] and window[index] are inside one web or e-mail address: a
     * run of address characters, from the line's start at the earliest, that holds "://",
     * starts with "www." or holds a name, '@' and a dotted domain.
     */
    private boolean inAddress(int index) throws IOException {
        int start = index - 1;
        while (start > 0 && isAddressChar(window[start - 1])) {
            start--;
        }
        int end = index + 1;
        while (end < WINDOW && ensure(end) && isAddressChar(window[end])) {
            end++;
        }
        if (end - start > 4 && (window[start] == 'w' || window[start] == 'W')
                && (window[start + 1] == 'w' || window[start + 1] == 'W')
                && (window[start + 2] == 'w' || window[start + 2] == 'W') && window[start + 3] == '.') {
            return true;
        }
        int at = -1;
        for (int i = start; i < end; i++) {
            char c = window[i];
            if (c == ':' && i > start && i + 2 < end && window[i + 1] == '/' && window[i + 2] == '/') {
                return true;
            }
            if (c == '@' && at < 0 && i > start) {
                at = i;
            } else if (c == '.' && at >= 0 && i > at + 1 && i + 1 < end) {
                return true;
            }
        }
        return false;
    }

    /** Letters and digits of alphabetic scripts, and full-width digits: kept together as words. */
    static boolean isWordChar(char c) {
        return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')
                || c == '\'' || c == '-' || c == '_'
                || (c >= 0xC0 && c <= 0x24F && c != 0xD7 && c != 0xF7)
                || (c >= 0x370 && c <= 0x52F) || (c >= 0xFF10 && c <= 0xFF19);
    }

    char[] lineChars() {
        return window;
    }

    int lineLength() {
        return lineLength;
    }

    int lineOffset() {
        return lineOffset;
    }

    void close() {
        source.close();
    }
}
