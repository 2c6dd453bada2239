import java.io.ByteArrayInputStream;
import java.io.ByteArrayOutputStream;
import java.io.DataInputStream;
import java.io.DataOutputStream;
import java.io.IOException;
import java.io.InputStream;

/**
 * The book's index: author, maker, book name and the titles of its parts, read from
 * /index.txt. The index is UTF-16LE with a byte-order mark, one item per line, lines ended
 * by CR LF, and one NUL code unit at the end.
 *
 * Also the size in bytes of each part, for the progress through the whole book: the index
 * gives them after its terminating NUL (one decimal line a part, then another NUL); an
 * index of an older builder does not, and they are then measured once by reading every
 * part to its end, and kept in the record store "lumensizes".
 */
final class Book {
    private static final String SIZES = "lumensizes";

    final String author;
    final String maker;
    final String name;
    /** titles[i] is the title of part i + 1, stored as /(i + 1).txt. */
    final String[] titles;
    /** sizes[i] is the size in bytes of part i + 1; null until known. */
    private int[] sizes;
    /**
     * For a volume of a set: the bytes of the parts in the volumes before it, and of all
     * parts of all volumes (-1: a whole book, or a volume made without them).
     */
    long bytesBefore;
    private long bookTotal = -1;

    private Book(String author, String maker, String name, String[] titles) {
        this.author = author;
        this.maker = maker;
        this.name = name;
        this.titles = titles;
    }

    int parts() {
        return titles.length;
    }

    /** The chapter number of each part's title (-1: none); null until first asked for. */
    private int[] chapters;
    /** The lowest and highest chapter numbers; 0 when too few titles are numbered. */
    int firstChapter;
    int lastChapter;

    /**
     * Numbers the parts by their titles ("第12章", "第一百零五回", "第3节"), when at least half of
     * them are numbered so; otherwise {@link #lastChapter} stays 0 and chapters are parts.
     */
    void numberChapters() {
        if (chapters != null) {
            return;
        }
        chapters = new int[titles.length];
        int numbered = 0;
        for (int i = 0; i < titles.length; i++) {
            int n = chapterNumber(titles[i]);
            chapters[i] = n;
            if (n >= 0) {
                numbered++;
                firstChapter = numbered == 1 ? n : Math.min(firstChapter, n);
                lastChapter = Math.max(lastChapter, n);
            }
        }
        if (2 * numbered < titles.length) {
            firstChapter = 0;
            lastChapter = 0;
        }
    }

    /**
     * The part titled as chapter {@code n}: the first whose number is the highest at most n
     * (the first numbered part below them all); needs {@link #numberChapters}.
     */
    int partOfChapter(int n) {
        int best = -1;
        for (int i = 0; i < chapters.length; i++) {
            int c = chapters[i];
            if (c >= 0 && (best < 0 || (chapters[best] > n ? c < chapters[best] : c <= n && c > chapters[best]))) {
                best = i;
            }
        }
        return best + 1;
    }

    /** The number N of the first "第N章", "第N回" or "第N节" in a title (Arabic or Chinese numerals); -1 when none. */
    static int chapterNumber(String title) {
        for (int at = title.indexOf('第'); at >= 0; at = title.indexOf('第', at + 1)) {
            int total = 0;
            int section = 0;
            int digit = 0;
            int positional = 0;
            boolean units = false;
            int i = at + 1;
            for (; i < title.length(); i++) {
                char c = title.charAt(i);
                int d = "0123456789".indexOf(c);
                if (d < 0) {
                    d = "０１２３４５６７８９".indexOf(c);
                }
                if (d < 0) {
                    d = "零一二三四五六七八九".indexOf(c);
                }
                if (d < 0) {
                    d = c == '〇' ? 0 : c == '两' ? 2 : -1;
                }
                int unit = c == '十' ? 10 : c == '百' ? 100 : c == '千' ? 1000 : c == '万' ? 10000 : 0;
                if (d >= 0) {
                    digit = d;
                    positional = positional * 10 + d;
                } else if (unit == 10000) {
                    total = (total + section + digit) * unit;
                    section = 0;
                    digit = 0;
                    units = true;
                } else if (unit > 0) {
                    section += (digit == 0 && section == 0 ? 1 : digit) * unit;
                    digit = 0;
                    units = true;
                } else {
                    break;
                }
                if (positional > 99999999) {
                    break;
                }
            }
            if (i > at + 1 && i < title.length() && "章回节".indexOf(title.charAt(i)) >= 0) {
                return units ? total + section + digit : positional;
            }
        }
        return -1;
    }

    /** Entry name of part number {@code part} (1-based). */
    static String partEntry(int part) {
        return "/" + part + ".txt";
    }

    /**
     * Takes the part sizes the index gives, or else those kept by an earlier run; false when
     * neither has them.
     */
    boolean loadSizes() {
        if (sizes != null) {
            return true;
        }
        byte[] record = Settings.read(SIZES);
        if (record == null || record.length != 4 * parts()) {
            return false;
        }
        int[] kept = new int[parts()];
        DataInputStream in = new DataInputStream(new ByteArrayInputStream(record));
        try {
            for (int i = 0; i < kept.length; i++) {
                kept[i] = in.readInt();
            }
        } catch (IOException e) {
            return false; // not thrown: the record has the length read
        }
        sizes = kept;
        return true;
    }

    /**
     * Reads every part to its end and returns their sizes (a missing or unreadable part
     * counts as empty). Takes as long as reading the whole book: not for the event thread.
     */
    int[] measure() {
        int[] measured = new int[parts()];
        byte[] buf = new byte[1024];
        for (int i = 0; i < measured.length; i++) {
            InputStream in = Resource.open(partEntry(i + 1));
            if (in == null) {
                continue;
            }
            try {
                int n;
                while ((n = in.read(buf, 0, buf.length)) >= 0) {
                    measured[i] += n;
                }
            } catch (IOException e) {
                measured[i] = 0;
            } finally {
                try {
                    in.close();
                } catch (IOException e) {
                    // The part is read; a failed close changes nothing.
                }
            }
        }
        return measured;
    }

    /**
     * Takes the volume's place in the whole book from the builder's attribute
     * "Lumenread-Volume: BEFORE TOTAL" (bytes of the parts in the volumes before this one,
     * and in all volumes); anything else leaves the book whole.
     */
    void setVolume(String attribute) {
        if (attribute == null) {
            return;
        }
        String a = attribute.trim();
        int space = a.indexOf(' ');
        try {
            long before = Long.parseLong(a.substring(0, space));
            long total = Long.parseLong(a.substring(space + 1).trim());
            if (before >= 0 && before < total) {
                bytesBefore = before;
                bookTotal = total;
            }
        } catch (RuntimeException e) {
            // No number, or no space: not an attribute of ours, the book counts alone.
        }
    }

    /**
     * Whether volumes of the set follow this one: 1 yes, 0 no (the last volume, or a whole
     * book), -1 not known while the part sizes are not.
     */
    int volumesFollow() {
        if (bookTotal < 0) {
            return 0;
        }
        if (sizes == null) {
            return -1;
        }
        return bytesBefore + bookBytesHere() < bookTotal ? 1 : 0;
    }

    private long bookBytesHere() {
        long total = 0;
        for (int i = 0; sizes != null && i < sizes.length; i++) {
            total += sizes[i];
        }
        return total;
    }

    boolean sizesKnown() {
        return sizes != null;
    }

    /** Size in bytes of part {@code part}; 0 while the sizes are not known. */
    int size(int part) {
        return sizes == null ? 0 : sizes[part - 1];
    }

    /** Bytes of the whole book: all volumes of a set, or the parts of this jar. */
    long bookBytes() {
        return bookTotal >= 0 ? bookTotal : bookBytesHere();
    }

    /**
     * The part and byte offset at {@code target} bytes from the start of this jar's parts
     * (the end of the last part at most), or null when the target lies outside them (in
     * another volume). Needs the sizes.
     */
    int[] locate(long target) {
        if (target < 0) {
            return null;
        }
        long before = 0;
        for (int i = 0; i < sizes.length; i++) {
            if (target < before + sizes[i] || (i + 1 == sizes.length && target == before + sizes[i])) {
                return new int[] { i + 1, (int) (target - before) };
            }
            before += sizes[i];
        }
        return null;
    }

    /** Takes part sizes (from {@link #measure}) and keeps them. */
    void setSizes(int[] measured) {
        sizes = measured;
        keepSizes();
    }

    /** The size of a part, as found when it was laid out: corrects a size kept before. */
    void sizeFound(int part, int size) {
        if (sizes != null && sizes[part - 1] != size) {
            sizes[part - 1] = size;
            keepSizes();
        }
    }

    private void keepSizes() {
        ByteArrayOutputStream bytes = new ByteArrayOutputStream();
        DataOutputStream out = new DataOutputStream(bytes);
        try {
            for (int i = 0; i < sizes.length; i++) {
                out.writeInt(sizes[i]);
            }
            out.close();
        } catch (IOException e) {
            return; // not thrown by a stream into memory
        }
        Settings.write(SIZES, bytes.toByteArray());
    }

    /**
     * How far byte {@code offset} of part {@code part} is through the whole book (the
     * volumes before this one counted), in tenths of a percent; -1 while the part sizes are
     * not known or the book holds no text.
     */
    int permille(int part, int offset) {
        if (sizes == null) {
            return -1;
        }
        long at = bytesBefore + offset;
        for (int i = 0; i + 1 < part; i++) {
            at += sizes[i];
        }
        long total = bookBytes();
        return total == 0 ? -1 : (int) (Math.min(at, total) * 1000 / total);
    }

    /** Reads /index.txt; a book that cannot be read throws with a message for the user. */
    static Book load() throws BookException {
        InputStream in = Resource.open("/index.txt");
        if (in == null) {
            throw new BookException("找不到目录文件 index.txt，这本书不完整。");
        }
        byte[] data;
        try {
            data = readAll(in);
        } catch (IOException e) {
            throw new BookException("读取目录文件 index.txt 时出错，这本书可能已损坏。");
        } finally {
            try {
                in.close();
            } catch (IOException e) {
                // The index is already read or the error above is reported.
            }
        }
        return parse(data);
    }

    private static byte[] readAll(InputStream in) throws IOException {
        ByteArrayOutputStream out = new ByteArrayOutputStream();
        byte[] buf = new byte[1024];
        int n;
        while ((n = in.read(buf, 0, buf.length)) >= 0) {
            out.write(buf, 0, n);
        }
        return out.toByteArray();
    }

    static Book parse(byte[] data) throws BookException {
        if (data.length < 2 || (data[0] & 0xff) != 0xFF || (data[1] & 0xff) != 0xFE
                || data.length % 2 != 0) {
            throw new BookException("目录文件 index.txt 格式不对（应为带标记的 UTF-16LE 文本），这本书已损坏。");
        }
        int units = (data.length - 2) / 2;
        char[] text = new char[units];
        int length = 0;
        int end = units;
        for (int i = 0; i < units; i++) {
            int c = (data[2 + 2 * i] & 0xff) | ((data[3 + 2 * i] & 0xff) << 8);
            if (c == 0) {
                end = i; // the terminating NUL
                break;
            }
            if (c >= 0xD800 && c <= 0xDBFF && i + 1 < units) {
                int low = (data[4 + 2 * i] & 0xff) | ((data[5 + 2 * i] & 0xff) << 8);
                if (low >= 0xDC00 && low <= 0xDFFF) {
                    i++; // a pair stands for one character beyond what the phone shows
                    text[length++] = '?';
                    continue;
                }
            }
            text[length++] = c == '\r' || c == '\n' ? (char) c : Utf8Source.visible(c);
        }
        String[] lines = splitLines(text, length);
        if (lines.length < 3) {
            throw new BookException("目录文件 index.txt 内容不完整，缺少作者、制作者或书名。");
        }
        if (lines.length == 3) {
            throw new BookException("这本书没有任何章节。");
        }
        String[] titles = new String[lines.length - 3];
        System.arraycopy(lines, 3, titles, 0, titles.length);
        Book book = new Book(lines[0], lines[1], lines[2], titles);
        book.sizes = lengths(data, 2 + 2 * (end + 1), titles.length);
        return book;
    }

    /**
     * The part sizes after the titles' NUL, from byte {@code at}: {@code parts} decimal
     * lines ended by CR LF, then a NUL; null when they are not there just so.
     */
    private static int[] lengths(byte[] data, int at, int parts) {
        int[] sizes = new int[parts];
        int n = 0;
        int value = 0;
        int digits = 0;
        for (; at + 1 < data.length; at += 2) {
            int c = (data[at] & 0xff) | ((data[at + 1] & 0xff) << 8);
            if (c >= '0' && c <= '9' && digits < 9) {
                value = value * 10 + c - '0';
                digits++;
            } else if (c == '\r' && digits > 0 && n < parts) {
                sizes[n++] = value;
                value = 0;
                digits = 0;
                at += 2; // the LF
                if (at + 1 >= data.length || data[at] != '\n' || data[at + 1] != 0) {
                    return null;
                }
            } else {
                return c == 0 && digits == 0 && n == parts ? sizes : null;
            }
        }
        return null;
    }

    /** Splits at CR LF (a lone LF or CR counts too); a final line end starts no new line. */
    private static String[] splitLines(char[] text, int length) {
        int lines = 0;
        for (int i = 0; i < length; i++) {
            if (text[i] == '\n' || (text[i] == '\r' && (i + 1 == length || text[i + 1] != '\n'))) {
                lines++;
            }
        }
        boolean open = length > 0 && text[length - 1] != '\n' && text[length - 1] != '\r';
        String[] result = new String[lines + (open ? 1 : 0)];
        int start = 0;
        int n = 0;
        for (int i = 0; i < length; i++) {
            if (text[i] == '\n' || text[i] == '\r') {
                result[n++] = new String(text, start, i - start);
                if (text[i] == '\r' && i + 1 < length && text[i + 1] == '\n') {
                    i++;
                }
                start = i + 1;
            }
        }
        if (open) {
            result[n] = new String(text, start, length - start);
        }
        return result;
    }
}
