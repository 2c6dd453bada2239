import java.io.IOException;

/**
 * Finds a word in the book's text, streaming the parts as {@link Utf8Source} decodes them:
 * no part is held whole. Characters compare as the reader shows them (a tab as a space, a
 * line end as '\n'), so a word is found only within a line of the text.
 */
final class Search {
    private Search() {
    }

    /**
     * The first hit of {@code word} at or after byte {@code from} of part {@code part},
     * going on through the later parts and then from the book's start back to where the
     * search began. Returns { part, byte offset of the hit, byte offset of its second
     * character (where a search for the next hit starts) }, or null when the book does not
     * hold the word. A missing part is passed over.
     */
    static int[] find(int parts, String word, int part, int from) throws IOException {
        char[] w = word.toCharArray();
        for (int i = 0; i <= parts; i++) {
            int p = (part - 1 + i) % parts + 1;
            // The part searched first is searched again last, from its start, for hits before 'from'.
            int start = i == 0 ? from : 0;
            int[] hit = findIn(p, w, start);
            if (hit != null && (i < parts || hit[1] < from)) {
                return hit;
            }
        }
        return null;
    }

    private static int[] findIn(int part, char[] w, int from) throws IOException {
        Utf8Source source = Utf8Source.open(Book.partEntry(part), from);
        if (source == null) {
            return null;
        }
        try {
            // The last w.length characters read and the byte offset where each starts, in a ring.
            int n = w.length;
            char[] chars = new char[n];
            int[] offsets = new int[n];
            int count = 0;
            while (true) {
                int at = source.offset();
                int c = source.read();
                if (c < 0) {
                    return null;
                }
                chars[count % n] = (char) c;
                offsets[count % n] = at;
                count++;
                if (count >= n && c == w[n - 1] && matches(chars, count, w)) {
                    int first = (count - n) % n;
                    int next = n > 1 ? offsets[(count - n + 1) % n] : source.offset();
                    return new int[] { part, offsets[first], next };
                }
            }
        } finally {
            source.close();
        }
    }

    /** Whether the ring {@code chars}, after {@code count} characters, ends with {@code w}. */
    private static boolean matches(char[] chars, int count, char[] w) {
        int n = w.length;
        for (int k = 0; k < n; k++) {
            if (chars[(count - n + k) % n] != w[k]) {
                return false;
            }
        }
        return true;
    }
}
