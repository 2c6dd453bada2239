import java.io.IOException;
import javax.microedition.lcdui.Canvas;
import javax.microedition.lcdui.Font;
import javax.microedition.lcdui.Graphics;

/**
 * Shows one part of the book a page at a time. Opening a part lays it out once from start to
 * end and keeps only the byte offset where each page starts; a page is drawn by laying out
 * its lines again from that offset. The text itself is never held whole, so a part of
 * several hundred kilobytes fits in a small heap.
 *
 * Keys: down, right, fire, 8 and 5 turn to the next page; up, left and 2 to the previous
 * one; 4 and 6 go to the previous and next part. Turning past the last page of a part goes
 * on with the next part, turning back from the first page goes to the previous part's end.
 */
final class ReadingCanvas extends Canvas {
    private static final int MARGIN = 2;
    private static final int LINE_GAP = 2;
    private static final int BACKGROUND = 0xF7F3E8;
    private static final int TEXT = 0x202020;
    private static final int STATUS = 0x5A5A5A;
    private static final int RULE = 0xC8BFA8;

    /** Result of {@link #open}. */
    static final int OPENED = 0;
    static final int MISSING = 1;
    static final int UNREADABLE = 2;

    private final Lumenread app;
    private final Book book;
    private final Font statusFont = Font.getFont(Font.FACE_SYSTEM, Font.STYLE_PLAIN, Font.SIZE_SMALL);
    private Font font;

    /** The part shown (1-based) and where its pages start; laid out for layoutWidth/Height. */
    private int part;
    private int[] pageStarts = new int[1];
    private int pageCount;
    private int page;
    private int layoutWidth;
    private int layoutHeight;
    private int linesPerPage;
    /** Undecodable byte sequences found in the part when it was laid out. */
    private int badSequences;

    /** The lines of the page shown: pageChars[lineStart[i] .. + lineLength[i]). */
    private char[] pageChars = new char[0];
    private int[] lineStart = new int[0];
    private int[] lineLength = new int[0];
    private int lineCount;
    private int filledPage = -1;
    /** The page shown before, kept so that one page back needs no new layout. */
    private char[] otherChars = new char[0];
    private int[] otherStart = new int[0];
    private int[] otherLength = new int[0];
    private int otherCount;
    private int otherPage = -1;
    /** Lays out further from where the page shown ends, for turning forward cheaply. */
    private LineBreaker breaker;

    ReadingCanvas(Lumenread app, Book book, int fontSize) {
        this.app = app;
        this.book = book;
        this.font = fontFor(fontSize);
    }

    static Font fontFor(int fontSize) {
        int size = fontSize == Settings.SMALL ? Font.SIZE_SMALL
                : fontSize == Settings.LARGE ? Font.SIZE_LARGE : Font.SIZE_MEDIUM;
        return Font.getFont(Font.FACE_SYSTEM, Font.STYLE_PLAIN, size);
    }

    int part() {
        return part;
    }

    int badSequences() {
        return badSequences;
    }

    /** Byte offset of the first character of the page shown, what is kept to resume. */
    int offset() {
        return pageCount == 0 ? 0 : pageStarts[page];
    }

    /**
     * Opens part {@code number} at the page holding byte {@code offset}, or at its last page
     * when {@code offset} is negative. On failure the part shown before stays.
     */
    int open(int number, int offset) {
        int[] starts;
        int bad;
        int width;
        int height;
        int perPage;
        try {
            Utf8Source source = Utf8Source.open(Book.partEntry(number), 0);
            if (source == null) {
                return MISSING;
            }
            width = getWidth();
            height = getHeight();
            perPage = Math.max(1, (height - statusHeight()) / lineHeight());
            LineBreaker lines = new LineBreaker(source, font, textWidth(width));
            try {
                starts = paginate(lines, perPage);
            } finally {
                lines.close();
            }
            bad = source.badSequences();
        } catch (IOException e) {
            return UNREADABLE;
        }
        closeBreaker();
        layoutWidth = width;
        layoutHeight = height;
        linesPerPage = perPage;
        part = number;
        pageStarts = starts;
        pageCount = starts.length;
        badSequences = bad;
        page = offset < 0 ? pageCount - 1 : pageHolding(offset);
        filledPage = -1;
        otherPage = -1;
        repaint();
        return OPENED;
    }

    /** Lays the part out again for a new font or screen size, keeping the page's text. */
    void setFont(Font newFont) {
        font = newFont;
        relayout();
    }

    private void relayout() {
        if (part == 0) {
            return;
        }
        if (open(part, offset()) != OPENED) {
            app.partUnreadable(part);
        }
    }

    private static int textWidth(int width) {
        return Math.max(1, width - 2 * MARGIN);
    }

    private int lineHeight() {
        return font.getHeight() + LINE_GAP;
    }

    private int statusHeight() {
        return statusFont.getHeight() + 3;
    }

    private static int[] paginate(LineBreaker lines, int linesPerPage) throws IOException {
        int[] starts = new int[16];
        int count = 1;
        starts[0] = 0;
        int n = 0;
        while (lines.next()) {
            if (n == linesPerPage) {
                if (count == starts.length) {
                    int[] grown = new int[count * 2];
                    System.arraycopy(starts, 0, grown, 0, count);
                    starts = grown;
                }
                starts[count++] = lines.lineOffset();
                n = 0;
            }
            n++;
        }
        int[] exact = new int[count];
        System.arraycopy(starts, 0, exact, 0, count);
        return exact;
    }

    private int pageHolding(int offset) {
        int p = 0;
        while (p + 1 < pageCount && pageStarts[p + 1] <= offset) {
            p++;
        }
        return p;
    }

    private void closeBreaker() {
        if (breaker != null) {
            breaker.close();
            breaker = null;
        }
    }

    /** Swaps the lines of the page shown with those of the page shown before. */
    private void swapPages() {
        char[] chars = pageChars;
        pageChars = otherChars;
        otherChars = chars;
        int[] starts = lineStart;
        lineStart = otherStart;
        otherStart = starts;
        int[] lengths = lineLength;
        lineLength = otherLength;
        otherLength = lengths;
        int count = lineCount;
        lineCount = otherCount;
        otherCount = count;
        int shown = filledPage;
        filledPage = otherPage;
        otherPage = shown;
    }

    /**
     * Lays out the lines of the page shown, going on from the last page when it can; the
     * page shown before is kept, so that turning one page back and forth costs nothing.
     */
    private void fillPage() throws IOException {
        swapPages();
        if (filledPage == page) {
            return;
        }
        int start = pageStarts[page];
        if (breaker == null || breaker.nextOffset() != start) {
            closeBreaker();
            Utf8Source source = Utf8Source.open(Book.partEntry(part), start);
            if (source == null) {
                throw new IOException();
            }
            breaker = new LineBreaker(source, font, textWidth(layoutWidth));
        }
        int capacity = linesPerPage * LineBreaker.MAX_LINE;
        if (pageChars.length < capacity) {
            pageChars = new char[capacity];
        }
        if (lineStart.length < linesPerPage) {
            lineStart = new int[linesPerPage];
            lineLength = new int[linesPerPage];
        }
        lineCount = 0;
        int used = 0;
        while (lineCount < linesPerPage && breaker.next()) {
            int length = breaker.lineLength();
            System.arraycopy(breaker.lineChars(), 0, pageChars, used, length);
            lineStart[lineCount] = used;
            lineLength[lineCount] = length;
            lineCount++;
            used += length;
        }
        filledPage = page;
    }

    protected void showNotify() {
        if (part != 0 && (getWidth() != layoutWidth || getHeight() != layoutHeight)) {
            relayout();
        }
    }

    protected void paint(Graphics g) {
        int width = getWidth();
        int height = getHeight();
        if (part != 0 && (width != layoutWidth || height != layoutHeight)) {
            relayout();
        }
        g.setColor(BACKGROUND);
        g.fillRect(0, 0, width, height);
        if (part == 0) {
            return;
        }
        if (filledPage != page) {
            try {
                fillPage();
            } catch (IOException e) {
                lineCount = 0;
                filledPage = -1;
                otherPage = -1;
                closeBreaker();
                app.partUnreadable(part);
                return;
            }
        }
        g.setFont(font);
        g.setColor(TEXT);
        int lineH = lineHeight();
        for (int i = 0; i < lineCount; i++) {
            g.drawChars(pageChars, lineStart[i], lineLength[i], MARGIN, i * lineH + LINE_GAP / 2,
                    Graphics.TOP | Graphics.LEFT);
        }
        drawStatus(g, width, height);
    }

    private void drawStatus(Graphics g, int width, int height) {
        int top = height - statusHeight();
        g.setColor(RULE);
        g.drawLine(MARGIN, top + 1, width - MARGIN - 1, top + 1);
        g.setColor(STATUS);
        g.setFont(statusFont);
        String pages = (page + 1) + "/" + pageCount;
        String parts = part + "/" + book.parts();
        String left = pages + "页";
        String right = "第" + parts + "部分";
        int room = width - 2 * MARGIN - statusFont.charWidth(' ');
        if (statusFont.stringWidth(left) + statusFont.stringWidth(right) > room) {
            left = pages;
            right = parts;
        }
        int y = top + 3;
        g.drawString(left, MARGIN, y, Graphics.TOP | Graphics.LEFT);
        g.drawString(right, width - MARGIN, y, Graphics.TOP | Graphics.RIGHT);
    }

    protected void keyPressed(int keyCode) {
        handleKey(keyCode, false);
    }

    protected void keyRepeated(int keyCode) {
        handleKey(keyCode, true);
    }

    private void handleKey(int keyCode, boolean repeated) {
        if (part == 0) {
            return;
        }
        // Number keys first: phones also map 2/4/6/8 to game actions.
        switch (keyCode) {
        case KEY_NUM2:
            previousPage();
            return;
        case KEY_NUM8:
        case KEY_NUM5:
            nextPage();
            return;
        case KEY_NUM4:
            if (!repeated && part > 1) {
                app.showPart(part - 1, 0);
            }
            return;
        case KEY_NUM6:
            if (!repeated && part < book.parts()) {
                app.showPart(part + 1, 0);
            }
            return;
        default:
            break;
        }
        int action;
        try {
            action = getGameAction(keyCode);
        } catch (IllegalArgumentException e) {
            return; // a key that is no key of the phone's keypad (some send soft keys here)
        }
        if (action == UP || action == LEFT) {
            previousPage();
        } else if (action == DOWN || action == RIGHT || action == FIRE) {
            nextPage();
        }
    }

    private void nextPage() {
        if (page + 1 < pageCount) {
            page++;
            repaint();
        } else if (part < book.parts()) {
            app.showPart(part + 1, 0);
        }
    }

    private void previousPage() {
        if (page > 0) {
            page--;
            repaint();
        } else if (part > 1) {
            app.showPart(part - 1, -1);
        }
    }
}
