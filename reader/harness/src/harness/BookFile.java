package harness;

import java.io.IOException;
import java.nio.ByteBuffer;
import java.nio.charset.CharacterCodingException;
import java.nio.charset.CodingErrorAction;
import java.nio.charset.StandardCharsets;
import java.nio.file.Path;
import java.util.ArrayList;
import java.util.List;
import java.util.zip.ZipEntry;
import java.util.zip.ZipFile;

/**
 * What a book holds, read with Java SE's own zip and charset decoders, independently of
 * the reader: the index lines and, for each part, the text the reader is to show.
 */
final class BookFile {
    final String author;
    final String maker;
    final String name;
    final List<String> titles = new ArrayList<>();
    private final Path path;

    BookFile(Path path) throws IOException {
        this.path = path;
        byte[] index = entry("index.txt");
        if (index == null || index.length < 4 || (index[0] & 0xff) != 0xFF || (index[1] & 0xff) != 0xFE) {
            throw new IOException(path + " has no good index.txt");
        }
        String text = new String(index, 2, index.length - 2, StandardCharsets.UTF_16LE);
        int nul = text.indexOf('\0');
        if (nul < 2 || !text.startsWith("\r\n", nul - 2)) {
            throw new IOException(path + ": index.txt's titles do not end in CR LF NUL");
        }
        // After the NUL: the part lengths (a book of an older builder has none).
        String[] lines = text.substring(0, nul - 2).split("\r\n", -1);
        author = lines[0];
        maker = lines[1];
        name = lines[2];
        for (int i = 3; i < lines.length; i++) {
            titles.add(lines[i]);
        }
    }

    int parts() {
        return titles.size();
    }

    byte[] entry(String entryName) throws IOException {
        try (ZipFile z = new ZipFile(path.toFile())) {
            ZipEntry e = z.getEntry(entryName);
            return e == null ? null : z.getInputStream(e).readAllBytes();
        }
    }

    /** Whether the part's bytes decode as UTF-8 without a replacement. */
    boolean partIsValidUtf8(int part) throws IOException {
        try {
            StandardCharsets.UTF_8.newDecoder().onMalformedInput(CodingErrorAction.REPORT)
                    .decode(ByteBuffer.wrap(entry(part + ".txt")));
            return true;
        } catch (CharacterCodingException e) {
            return false;
        }
    }

    /** Well-formed UTF-8 (the Unicode standard's table 3-7): for each lead byte, the range
     *  of its second byte and the number of bytes after the lead. */
    private static int[] secondByteRange(int lead) {
        if (lead >= 0xC2 && lead <= 0xDF) {
            return new int[] { 0x80, 0xBF, 1 };
        }
        if (lead == 0xE0) {
            return new int[] { 0xA0, 0xBF, 2 };
        }
        if (lead == 0xED) {
            return new int[] { 0x80, 0x9F, 2 };
        }
        if (lead >= 0xE1 && lead <= 0xEF) {
            return new int[] { 0x80, 0xBF, 2 };
        }
        if (lead == 0xF0) {
            return new int[] { 0x90, 0xBF, 3 };
        }
        if (lead >= 0xF1 && lead <= 0xF3) {
            return new int[] { 0x80, 0xBF, 3 };
        }
        if (lead == 0xF4) {
            return new int[] { 0x80, 0x8F, 3 };
        }
        return null;
    }

    /**
     * Decodes UTF-8 replacing each maximal subpart of an ill-formed sequence by one U+FFFD,
     * the practice the Unicode standard recommends (and Python follows). Java SE's decoder
     * departs from it for encoded surrogates (ED A0 80 gives one replacement, not three).
     */
    static String decodeReplacing(byte[] data) {
        StringBuilder out = new StringBuilder();
        int i = 0;
        while (i < data.length) {
            int lead = data[i] & 0xff;
            if (lead < 0x80) {
                out.append((char) lead);
                i++;
                continue;
            }
            int[] range = secondByteRange(lead);
            if (range == null) {
                out.append('\ufffd');
                i++;
                continue;
            }
            int cp = lead & (0x3F >> range[2]);
            int j = i + 1;
            boolean complete = true;
            for (int k = 0; k < range[2]; k++, j++) {
                int lo = k == 0 ? range[0] : 0x80;
                int hi = k == 0 ? range[1] : 0xBF;
                if (j >= data.length || (data[j] & 0xff) < lo || (data[j] & 0xff) > hi) {
                    complete = false;
                    break;
                }
                cp = (cp << 6) | (data[j] & 0x3F);
            }
            if (complete) {
                out.appendCodePoint(cp);
            } else {
                out.append('\ufffd');
            }
            i = j;
        }
        return out.toString();
    }

    /**
     * The text of a part as the reader is to show it: the UTF-8 decoded with one
     * replacement per undecodable sequence, CR LF and lone CR as line ends, a tab as a space,
     * and '?' for what a phone cannot show (characters beyond 16 bits, control characters,
     * byte-order marks other than a leading one, replacement characters).
     */
    String expectedText(int part) throws IOException {
        byte[] data = entry(part + ".txt");
        String s = partIsValidUtf8(part) ? new String(data, StandardCharsets.UTF_8) : decodeReplacing(data);
        if (s.startsWith("\ufeff")) {
            s = s.substring(1);
        }
        return shown(s.replace("\r\n", "\n").replace('\r', '\n').replace('\t', ' '));
    }

    /** A text as the phone shows it: '?' for what it cannot show, line ends kept. */
    static String shown(String s) {
        StringBuilder out = new StringBuilder();
        for (int i = 0; i < s.length(); i++) {
            char c = s.charAt(i);
            if (Character.isHighSurrogate(c) && i + 1 < s.length() && Character.isLowSurrogate(s.charAt(i + 1))) {
                out.append('?');
                i++;
            } else if (c == '\n') {
                out.append(c);
            } else if (c < 0x20 || (c >= 0x7F && c < 0xA0) || Character.isSurrogate(c)
                    || c == '\ufeff' || c == '\ufffd' || c == '\ufffe' || c == '\uffff') {
                out.append('?');
            } else {
                out.append(c);
            }
        }
        return out.toString();
    }
}
