import java.io.IOException;
import javax.microedition.lcdui.Canvas;
import javax.microedition.lcdui.Font;
import javax.microedition.lcdui.Graphics;

/**
 * Shows one part of the book a page at a time. Opening a part lays it out from its start
 * only as far as the page to show (and the next page's start), shows that page, and lays out
 * the rest a slice at a time on the event thread ({@link #layMore}), as the eager layout
 * would: the page count shows once it is known. Only the byte offset where each page starts
 * is kept; a page is drawn by laying out its lines again from that offset. The text itself
 * is never held whole, so a part of several hundred kilobytes fits in a small heap.
 *
 * Keys: down, right, fire, 8 and 5 turn to the next page; up, left and 2 to the previous
 * one; 4 and 6 go to the previous and next part; the other number keys, * and # run the
 * commands of {@link Lumenread#MENU_KEYS}, 0 opens the reader's own menu, so that every
 * command is reachable where the runtime's soft keys are not. Turning past the last page
 * of a part goes on with the next part, turning back from the first page goes to the
 * previous part's end. While pages turn by themselves, any key or tap only stops them.
 *
 * Touch: a tap on the left third of the page, or on the top of its middle third, turns
 * back; on the right third or the bottom of the middle, forward; in the middle, the menu.
 * A swipe to the left or upwards turns forward, to the right or downwards back.
 *
 * On MIDP 2.0 phones the screen is full-screen (by the helper {@code FullScreen}, loaded
 * only there): more lines, and no runtime paints its command bar over the status line;
 * the soft keys then open the menu.
 *
 * The status line shows the page in the part, how far the page's end is through the whole
 * book (once the part sizes are known) and the part's title, cut short where the line is
 * narrow; a part without a title, or one whose title has no room, shows its number.
 */
final class ReadingCanvas extends Canvas {
    private static final int MARGIN = 2;
    /** Background, text, status line and rule: by day, and at night light on dark. */
    private static final int[] DAY = { 0xF7F3E8, 0x202020, 0x5A5A5A, 0xC8BFA8, 0xF2D675 };
    private static final int[] NIGHT = { 0x151618, 0xA9A79F, 0x76746E, 0x3A3A38, 0x5C4A12 };
    /** Shown on the page of a part without any text. */
    static final String NO_TEXT = "（本部分没有文字）";

    /** The reading screen, for the MIDP 2.0 helper that makes it full-screen. */
    static ReadingCanvas current;

    /** Result of {@link #open}. */
    static final int OPENED = 0;
    static final int MISSING = 1;
    static final int UNREADABLE = 2;

    private final Lumenread app;
    private final Book book;
    private final Font statusFont = Font.getFont(Font.FACE_SYSTEM, Font.STYLE_PLAIN, Font.SIZE_SMALL);
    private Font font;
    private int spacing;
    private int[] colours = DAY;
    /** Whether pages turn by themselves, shown in the status line. */
    private boolean turning;
    /** Whether the screen is full-screen (MIDP 2.0): the soft keys come here. */
    private boolean fullScreen;
    /** The key pressed here and not released since (0: none): its repeats are a hold. */
    private int heldKey;
    /** Where a touch went down; pressX < 0 when none is down. */
    private int pressX = -1;
    private int pressY;
    /** A notice drawn over the page until the next key or tap (which still acts); null when none. */
    private String notice;
    /** A number being typed for 跳转, drawn over the page; null when none is. */
    private NumberPad pad;
    /** The word found by 查找, marked on the page shown until the page changes. */
    private String mark;

    /** Lines laid out per slice of the layout after the page shown. */
    private static final int SLICE_LINES = 400;

    /**
     * The part shown (1-based) and where its pages start, as far as laid out (all of them once
     * {@link #pager} is null); laid out for layoutWidth/Height.
     */
    private int part;
    private int[] pageStarts = new int[1];
    private int pageCount;
    /** Lays the part out further; null once it is laid out to its end. */
    private LineBreaker pager;
    private Utf8Source pagerSource;
    /**
     * Lines of the last page laid out so far; pages up to the last one with a line of text
     * (trailing blank lines make no page of their own: the count drops to this at the end).
     */
    private int linesOnPage;
    private int textPages;
    /** Whether the layout met a read error (the part is then laid out as far as it got). */
    private boolean failed;
    /** Whether {@link #open} is laying out: it reports a read error itself. */
    private boolean opening;
    private int page;
    private int layoutWidth;
    private int layoutHeight;
    private int linesPerPage;
    /** Size of the part in bytes. */
    private int partSize;
    /** Undecodable byte sequences found in the part when it was laid out to its end. */
    private int badSequences;
    /** Whether the part has nothing but spaces and line ends. */
    private boolean blank;

    /** The lines of the page shown, and of the page shown before it (one page back needs no layout). */
    private Page shown = new Page();
    private Page other = new Page();
    /** Lays out further from where the page shown ends, for turning forward cheaply. */
    private LineBreaker breaker;

    ReadingCanvas(Lumenread app, Book book, Settings settings) {
        this.app = app;
        this.book = book;
        this.font = fontFor(settings.fontSize);
        this.spacing = settings.spacing;
        setNight(settings.night);
        current = this;
        try {
            Class.forName("javax.microedition.lcdui.game.GameCanvas"); // MIDP 2.0 only
            ((Runnable) Class.forName("FullScreen").newInstance()).run();
            fullScreen = true;
        } catch (Throwable e) {
            // MIDP 1.0 (no such class), or a runtime that cannot load the helper: the
            // runtime keeps its own soft-key band below the canvas.
        }
    }

    static Font fontFor(int fontSize) {
        int size = fontSize == Settings.SMALL ? Font.SIZE_SMALL
                : fontSize == Settings.LARGE ? Font.SIZE_LARGE : Font.SIZE_MEDIUM;
        return Font.getFont(Font.FACE_SYSTEM, Font.STYLE_PLAIN, size);
    }

    int part() {
        return part;
    }

    /** The pages of the part: lays the part out to its end first. */
    int pages() {
        layOut(Integer.MAX_VALUE - 1, Integer.MAX_VALUE, -1);
        return pageCount;
    }

    /** The page shown, 0-based. */
    int page() {
        return page;
    }

    /** Whether the page shown holds byte {@code offset} of the part. */
    boolean holds(int offset) {
        return part != 0 && pageHolding(offset) == page;
    }

    /** Asks for a number over the page; the answer goes to {@link Lumenread#numberEntered}. */
    void enterNumber(NumberPad asked) {
        pad = asked;
        repaint();
    }

    /**
     * Shows {@code text} over the page until the next key or tap: a notice that needs no
     * answer and takes no key for itself (runtimes keep a timed alert until OK, and its OK
     * eats a key).
     */
    void notice(String text) {
        notice = text;
        repaint();
    }

    /** Closes the number being typed, if any. */
    void closePad() {
        if (pad != null) {
            pad = null;
            repaint();
        }
    }

    private void closeNotice() {
        if (notice != null) {
            notice = null;
            repaint();
        }
    }

    private void padResult(int result) {
        NumberPad asked = pad;
        if (result != NumberPad.TYPING) {
            pad = null;
        }
        repaint();
        if (result == NumberPad.DONE) {
            app.numberEntered(asked.what, asked.value());
        }
    }

    /** Marks {@code word} on the page shown. */
    void mark(String word) {
        mark = word;
        repaint();
    }

    int partSize() {
        return partSize;
    }

    int badSequences() {
        return badSequences;
    }

    /** Byte offset of the first character of the page shown, what is kept to resume. */
    int offset() {
        return part == 0 ? 0 : pageStarts[page];
    }

    /**
     * Opens part {@code number} at the page holding byte {@code offset}, or at its last page
     * when {@code offset} is negative; the rest of the part is laid out afterwards
     * ({@link Lumenread#layoutPending}). A missing part leaves the part shown before.
     */
    int open(int number, int offset) {
        Utf8Source source;
        try {
            source = Utf8Source.open(Book.partEntry(number), 0);
        } catch (IOException e) {
            return UNREADABLE;
        }
        if (source == null) {
            return MISSING;
        }
        closeBreaker();
        closePager();
        layoutWidth = getWidth();
        layoutHeight = getHeight();
        linesPerPage = Math.max(1, (layoutHeight - statusHeight()) / lineHeight());
        pagerSource = source;
        pager = new LineBreaker(source, font, textWidth(layoutWidth));
        part = number;
        pageStarts = new int[16];
        pageCount = 1;
        linesOnPage = 0;
        textPages = 0;
        blank = false;
        failed = false;
        badSequences = 0;
        shown.number = -1;
        other.number = -1;
        mark = null;
        opening = true;
        layOut(0, offset < 0 ? Integer.MAX_VALUE : offset, -1);
        page = offset < 0 ? pageCount - 1 : pageHolding(offset);
        layOut(page, -1, -1);
        page = Math.min(page, pageCount - 1); // a resumed page of trailing blank lines
        opening = false;
        if (failed) {
            part = 0;
            return UNREADABLE;
        }
        app.layoutPending();
        repaint();
        return OPENED;
    }

    /**
     * Lays the part out further, until text follows the start of page {@code index + 1} (so
     * that page is no page of trailing blank lines) and a page starts after byte
     * {@code offset}, or to the part's end; at most {@code lines} lines (negative: no
     * limit). A read error ends the layout where it got and tells the reader, except while
     * the part is being opened.
     */
    private void layOut(int index, int offset, int lines) {
        try {
            while (pager != null && (textPages <= index + 1 || pageStarts[pageCount - 1] <= offset) && lines-- != 0) {
                if (!pager.next()) {
                    partSize = pager.nextOffset();
                    badSequences = pagerSource.badSequences();
                    blank = textPages == 0;
                    pageCount = Math.max(1, textPages);
                    closePager();
                    book.sizeFound(part, partSize);
                    break;
                }
                if (linesOnPage == linesPerPage) {
                    if (pageCount == pageStarts.length) {
                        int[] grown = new int[pageCount * 2];
                        System.arraycopy(pageStarts, 0, grown, 0, pageCount);
                        pageStarts = grown;
                    }
                    pageStarts[pageCount++] = pager.lineOffset();
                    linesOnPage = 0;
                }
                linesOnPage++;
                char[] chars = pager.lineChars();
                for (int i = pager.lineLength() - 1; i >= 0; i--) {
                    if (chars[i] != ' ' && chars[i] != '\u3000') {
                        textPages = pageCount;
                        break;
                    }
                }
            }
        } catch (IOException e) {
            closePager();
            failed = true;
            if (!opening) {
                app.partUnreadable(part);
            }
        }
    }

    /**
     * One slice of the layout after the page shown, for the event thread between keys;
     * true when more is left to lay out.
     */
    boolean layMore() {
        layOut(Integer.MAX_VALUE - 1, Integer.MAX_VALUE, SLICE_LINES);
        if (pager == null) {
            repaint(); // the page count is known now
        }
        return pager != null;
    }

    private void closePager() {
        if (pager != null) {
            pager.close();
            pager = null;
        }
    }

    /** Lays the part out again for a new font or screen size, keeping the page's text. */
    void setFont(Font newFont) {
        font = newFont;
        relayout();
    }

    /** Lays the part out again with more or less space between lines, keeping the page's text. */
    void setSpacing(int newSpacing) {
        spacing = newSpacing;
        relayout();
    }

    void setNight(boolean night) {
        colours = night ? NIGHT : DAY;
        repaint();
    }

    void setTurning(boolean on) {
        turning = on;
        repaint();
    }

    /** Shows page {@code index} (0-based) of the part, or the nearest one there is. */
    void goToPage(int index) {
        if (part != 0) {
            layOut(index, -1, -1);
            page = Math.max(0, Math.min(index, pageCount - 1));
            layOut(page, -1, -1);
            turned();
        }
    }

    /** Shows the page holding byte {@code offset} of the part. */
    void goToOffset(int offset) {
        layOut(0, offset, -1);
        goToPage(pageHolding(offset));
    }

    private void turned() {
        mark = null;
        repaint();
        app.pageTurned();
    }

    /** The first characters of the page shown, up to {@code max}: what names a bookmark. */
    String pageStart(int max) throws IOException {
        if (shown.number != page) {
            fillPage();
        }
        return shown.opening(max);
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

    private int lineGap() {
        return Math.max(1, font.getHeight() * Settings.SPACING_EIGHTHS[spacing] / 8);
    }

    private int lineHeight() {
        return font.getHeight() + lineGap();
    }

    private int statusHeight() {
        return statusFont.getHeight() + 3;
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

    /**
     * Lays out the lines of the page shown, going on from the last page when it can; the
     * page shown before is kept, so that turning one page back and forth costs nothing.
     */
    private void fillPage() throws IOException {
        Page before = shown;
        shown = other;
        other = before;
        if (shown.number == page) {
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
        shown.fill(breaker, linesPerPage, page);
    }

    protected void showNotify() {
        if (part != 0 && (getWidth() != layoutWidth || getHeight() != layoutHeight)) {
            relayout();
        }
    }

    /** Another screen (a menu, a list, an alert, a call) stops pages turning by themselves. */
    protected void hideNotify() {
        heldKey = 0; // the release goes to the screen shown now
        app.stopTurning();
    }

    protected void paint(Graphics g) {
        int width = getWidth();
        int height = getHeight();
        if (part != 0 && (width != layoutWidth || height != layoutHeight)) {
            relayout();
        }
        g.setColor(colours[0]);
        g.fillRect(0, 0, width, height);
        if (part == 0) {
            return;
        }
        if (shown.number != page) {
            try {
                fillPage();
            } catch (IOException e) {
                shown.count = 0;
                shown.number = -1;
                other.number = -1;
                closeBreaker();
                app.partUnreadable(part);
                return;
            }
        }
        g.setFont(font);
        int lineH = lineHeight();
        int top = lineGap() / 2;
        if (blank) {
            g.setColor(colours[2]);
            g.setFont(statusFont);
            g.drawString(NO_TEXT, width / 2, top, Graphics.TOP | Graphics.HCENTER);
        }
        if (mark != null) {
            markWord(g, top, lineH);
        }
        g.setColor(colours[1]);
        for (int i = 0; i < shown.count && !blank; i++) {
            g.drawChars(shown.chars, shown.start[i], shown.length[i], MARGIN, top + i * lineH, Graphics.TOP | Graphics.LEFT);
        }
        drawStatus(g, width, height);
        if (pad != null) {
            pad.paint(g, width, height, statusFont, colours);
        }
        if (notice != null) {
            drawNotice(g, width);
        }
    }

    /** The notice in a box at the top, wrapped to the screen's width. */
    private void drawNotice(Graphics g, int width) {
        int room = width - 4 * MARGIN - 4;
        int line = statusFont.getHeight() + 2;
        int lines = 1;
        for (int at = 0, w = 0; at < notice.length(); at++) {
            w += statusFont.charWidth(notice.charAt(at));
            if (w > room) {
                lines++;
                w = statusFont.charWidth(notice.charAt(at));
            }
        }
        g.setFont(statusFont);
        g.setColor(colours[4]);
        g.fillRect(MARGIN, MARGIN, width - 2 * MARGIN, lines * line + 4);
        g.setColor(colours[3]);
        g.drawRect(MARGIN, MARGIN, width - 2 * MARGIN - 1, lines * line + 3);
        g.setColor(colours[1]);
        int from = 0;
        int y = MARGIN + 2;
        for (int at = 0, w = 0; at <= notice.length(); at++) {
            int cw = at < notice.length() ? statusFont.charWidth(notice.charAt(at)) : 0;
            if (at == notice.length() || w + cw > room) {
                g.drawSubstring(notice, from, at - from, 2 * MARGIN + 2, y, Graphics.TOP | Graphics.LEFT);
                from = at;
                y += line;
                w = 0;
            }
            w += cw;
        }
    }

    /**
     * Paints the mark behind each place of the page that holds the word found, also where a
     * line break cuts it (the page's lines read as one text), and behind its start where
     * the page ends inside it.
     */
    private void markWord(Graphics g, int top, int lineH) {
        String text = shown.text();
        g.setColor(colours[4]);
        for (int at = text.indexOf(mark); at >= 0; at = text.indexOf(mark, at + 1)) {
            markRange(g, at, at + mark.length(), top, lineH);
        }
        for (int k = mark.length() - 1; k > 0; k--) {
            if (text.endsWith(mark.substring(0, k))) {
                markRange(g, text.length() - k, text.length(), top, lineH);
                break;
            }
        }
    }

    /** Paints the mark behind characters [at, end) of the page's lines read as one text. */
    private void markRange(Graphics g, int at, int end, int top, int lineH) {
        Page p = shown;
        int from = 0;
        for (int i = 0; i < p.count; i++) {
            int a = Math.max(at, from);
            int z = Math.min(end, from + p.length[i]);
            if (a < z) {
                g.fillRect(MARGIN + font.charsWidth(p.chars, p.start[i], a - from), top + i * lineH,
                        font.charsWidth(p.chars, p.start[i] + a - from, z - a), font.getHeight());
            }
            from += p.length[i];
        }
    }

    private void drawStatus(Graphics g, int width, int height) {
        int top = height - statusHeight();
        g.setColor(colours[3]);
        g.drawLine(MARGIN, top + 1, width - MARGIN - 1, top + 1);
        g.setColor(colours[2]);
        g.setFont(statusFont);
        String pages = (page + 1) + "/" + (pager == null ? String.valueOf(pageCount) : "…");
        String parts = part + "/" + book.parts();
        String title = book.titles[part - 1];
        String left = pages + "页";
        String right = title.length() > 0 ? title : "第" + parts + "部分";
        int permille = book.permille(part, page + 1 < pageCount ? pageStarts[page + 1] : partSize);
        if (page + 1 == pageCount && pager != null) {
            permille = -1; // the page's end is not laid out yet
        }
        String flag = turning ? "自动 " : "";
        String middle = permille < 0 ? flag : flag + permille / 10 + "." + permille % 10 + "%";
        // Narrower forms while the three do not fit: whole percents, no words, the title cut
        // short, the part's number instead of its title, no middle.
        int room = width - 2 * MARGIN - 2 * statusFont.charWidth(' ');
        if (statusWidth(left, middle, right) > room) {
            middle = permille < 0 ? flag : flag + permille / 10 + "%";
        }
        if (statusWidth(left, middle, right) > room) {
            left = pages;
        }
        if (statusWidth(left, middle, right) > room && title.length() > 0) {
            right = cut(title, room - statusFont.stringWidth(left) - statusFont.stringWidth(middle));
        }
        if (statusWidth(left, middle, right) > room) {
            right = parts;
        }
        if (statusWidth(left, middle, right) > room) {
            middle = flag.trim(); // a reader must see that pages turn by themselves
        }
        int y = top + 3;
        g.drawString(left, MARGIN, y, Graphics.TOP | Graphics.LEFT);
        g.drawString(right, width - MARGIN, y, Graphics.TOP | Graphics.RIGHT);
        int leftEnd = MARGIN + statusFont.stringWidth(left);
        int rightStart = width - MARGIN - statusFont.stringWidth(right);
        g.drawString(middle, (leftEnd + rightStart) / 2, y, Graphics.TOP | Graphics.HCENTER);
    }

    /**
     * The longest start of {@code text} that fits {@code room} pixels with "…" after it, if it
     * keeps at least two characters; otherwise {@code text} as it is.
     */
    private String cut(String text, int room) {
        String best = text;
        for (int n = 2; n < text.length(); n++) {
            String s = text.substring(0, n) + "…";
            if (statusFont.stringWidth(s) > room) {
                break;
            }
            best = s;
        }
        return best;
    }

    private int statusWidth(String left, String middle, String right) {
        return statusFont.stringWidth(left) + statusFont.stringWidth(middle) + statusFont.stringWidth(right);
    }

    protected void keyPressed(int keyCode) {
        heldKey = keyCode;
        handleKey(keyCode, false);
    }

    /**
     * A repeat of the key held since its press here; any other repeat is a press. Runtimes
     * send a press as a repeat when they missed the key's release: it went to a list shown
     * meanwhile (KEmulator), or came with another code (MicroEmulator's # and *).
     */
    protected void keyRepeated(int keyCode) {
        boolean repeated = keyCode == heldKey;
        heldKey = keyCode;
        handleKey(keyCode, repeated);
    }

    /** Any release ends the hold: the code a runtime sends with it may not be the press's. */
    protected void keyReleased(int keyCode) {
        heldKey = 0;
    }

    private void handleKey(int keyCode, boolean repeated) {
        closeNotice();
        if (part == 0 || app.stopTurning()) {
            return;
        }
        if (pad != null) {
            if (!repeated) {
                padResult(pad.key(keyCode, actionOf(keyCode)));
            }
            return;
        }
        // Soft keys of Nokia, Sony Ericsson, Samsung (-6, -7) and Motorola (-21, -22):
        // they come here only on a full screen, where no command is shown on them.
        if (fullScreen && !repeated && (keyCode == -6 || keyCode == -7 || keyCode == -21 || keyCode == -22)) {
            app.showMenu();
            return;
        }
        // Number keys first: phones also map 2/4/6/8 to game actions.
        switch (keyCode) {
        case KEY_NUM2:
            previousPage();
            return;
        case KEY_NUM8:
        case KEY_NUM5:
            forward();
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
            if (!repeated && app.shortcut(keyCode)) {
                return;
            }
            break;
        }
        int action = actionOf(keyCode);
        if (action == UP || action == LEFT) {
            previousPage();
        } else if (action == DOWN || action == RIGHT || action == FIRE) {
            forward();
        }
    }

    /** The key's game action; 0 for a key that is no key of the phone's keypad (some send soft keys here). */
    private int actionOf(int keyCode) {
        try {
            return getGameAction(keyCode);
        } catch (IllegalArgumentException e) {
            return 0;
        }
    }

    protected void pointerPressed(int x, int y) {
        pressX = x;
        pressY = y;
    }

    /** A tap on a zone of the page or a swipe; see the class comment. */
    protected void pointerReleased(int x, int y) {
        int dx = x - pressX;
        int dy = y - pressY;
        boolean down = pressX >= 0;
        pressX = -1;
        closeNotice();
        if (!down || part == 0 || app.stopTurning()) {
            return;
        }
        if (pad != null) {
            padResult(pad.tap(x, y, getWidth(), getHeight(), statusFont));
            return;
        }
        int w = getWidth();
        int h = getHeight();
        int adx = Math.abs(dx);
        int ady = Math.abs(dy);
        if (Math.max(adx, ady) >= Math.max(12, Math.min(w, h) / 10)) {
            if (adx > ady ? dx < 0 : dy < 0) {
                forward();
            } else {
                previousPage();
            }
        } else if (x < w / 3 || (x < w - w / 3 && y < h / 3)) {
            previousPage();
        } else if (x >= w - w / 3 || y >= h - h / 3) {
            forward();
        } else {
            app.showMenu();
        }
    }

    /** The next page by a key or tap: at the end of the book (or volume), a notice says so. */
    private void forward() {
        if (!nextPage()) {
            app.bookEnds();
        }
    }

    /** Turns to the next page, or the next part's first; false at the end of the book. */
    boolean nextPage() {
        layOut(page + 1, -1, -1);
        if (page + 1 < pageCount) {
            page++;
            turned();
        } else if (part < book.parts()) {
            app.showPart(part + 1, 0);
        } else {
            return false;
        }
        return true;
    }

    private void previousPage() {
        if (page > 0) {
            page--;
            turned();
        } else if (part > 1) {
            app.showPart(part - 1, -1);
        }
    }
}
