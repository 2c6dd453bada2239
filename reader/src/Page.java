import java.io.IOException;

/**
 * The lines of one laid-out page: line i is chars[start[i] .. start[i] + length[i]). The
 * reading screen keeps two, the page shown and the one shown before it, and swaps them, so
 * that turning one page back and forth lays nothing out again.
 */
final class Page {
    /** The page's number in its part (0-based); -1 when it holds no whole page. */
    int number = -1;
    char[] chars = new char[0];
    int[] start = new int[0];
    int[] length = new int[0];
    int count;

    /**
     * Takes up to {@code lines} lines from {@code breaker} as page {@code n}. A read error
     * leaves the page numbered -1, so that no half-filled page is taken for a whole one.
     */
    void fill(LineBreaker breaker, int lines, int n) throws IOException {
        number = -1;
        int capacity = lines * LineBreaker.MAX_LINE;
        if (chars.length < capacity) {
            chars = new char[capacity];
        }
        if (start.length < lines) {
            start = new int[lines];
            length = new int[lines];
        }
        count = 0;
        int used = 0;
        while (count < lines && breaker.next()) {
            int l = breaker.lineLength();
            System.arraycopy(breaker.lineChars(), 0, chars, used, l);
            start[count] = used;
            length[count] = l;
            count++;
            used += l;
        }
        number = n;
    }

    /** The lines read as one text, as the page's words run on across its line breaks. */
    String text() {
        StringBuffer s = new StringBuffer();
        for (int i = 0; i < count; i++) {
            s.append(chars, start[i], length[i]);
        }
        return s.toString();
    }

    /**
     * The first characters, up to {@code max}, without leading spaces and with each run of
     * spaces as one: what names a bookmark. Lines are joined as they were cut: with a space
     * between two words, directly elsewhere.
     */
    String opening(int max) {
        StringBuffer s = new StringBuffer();
        char last = ' ';
        for (int i = 0; i < count; i++) {
            for (int j = 0; j < length[i] && s.length() < max; j++) {
                char c = chars[start[i] + j];
                if (c == '\u3000') {
                    c = ' ';
                }
                if (c == ' ' && last == ' ') {
                    continue;
                }
                if (j == 0 && LineBreaker.isWordChar(last) && LineBreaker.isWordChar(c)) {
                    s.append(' ');
                }
                s.append(c);
                last = c;
            }
        }
        return s.toString().trim();
    }
}
