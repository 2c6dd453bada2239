package harness;

import java.util.ArrayList;
import java.util.Comparator;
import java.util.List;
import java.util.regex.Matcher;
import java.util.regex.Pattern;
import javax.microedition.lcdui.Canvas;
import javax.microedition.lcdui.DrawnText;
import javax.microedition.lcdui.Screens;

/**
 * Reads the reader's pages off the rendered canvas and checks them against the book: the
 * body lines are the texts above the status line, the status line (the lowest texts) holds
 * "page/pages" at its left and at its right the part's title or "part/parts".
 */
final class Pages {
    /** The page and the page count, or "…" while the part is not laid out to its end. */
    private static final Pattern PAGE = Pattern.compile("(\\d+)/(\\d+|…)页?");
    private static final Pattern PART = Pattern.compile("第?(\\d+)/(\\d+)(?:部分)?");
    private static final Pattern PERCENT = Pattern.compile("(\\d+)(?:\\.(\\d))?%");
    /** Characters that must not begin a line where the line before could have broken elsewhere. */
    static final String CLOSING = "，。、！？；：」』）》〉】〕〗’”…—～·．,.!?;:)]}%％‰";
    static final String OPENING = "（《〈【〔〖「『‘“([{$¥￥£€";
    /** What the page of a part without text says. */
    static final String NO_TEXT = "（本部分没有文字）";
    /**
     * What a line must not be cut inside, unless it is too long for a line: numbers with a
     * decimal point, thousands separators or a colon (5.50, 1,000, 12:30), web addresses
     * (with a scheme, or starting www.) and e-mail addresses. A sentence's full stop after an
     * address is not part of it.
     */
    static final Pattern KEPT_WHOLE = Pattern.compile(
            "\\d+(?:[.,:]\\d+)+"
            + "|(?:[A-Za-z][A-Za-z0-9+.-]*://|[Ww]{3}\\.)[-A-Za-z0-9._~:/?#@$&+=%]*[-A-Za-z0-9_~/#@$&+=%]"
            + "|[A-Za-z0-9._%+-]+@[A-Za-z0-9-]+(?:\\.[A-Za-z0-9-]+)+");

    private Pages() {
    }

    /** One page as shown. */
    static final class Page {
        int page;
        /** The part's page count; -1 while the part is not laid out to its end. */
        int pages;
        int part;
        int parts;
        /** The part's title as the status line shows it, null where it shows the number. */
        String title;
        final List<String> lines = new ArrayList<>();
        final List<Integer> widths = new ArrayList<>();
        int fontSize;
        int canvasWidth;
        /** Progress through the whole book in tenths of a percent; -1 when not shown so. */
        int permille = -1;
        /** The same in whole percents, where the status line is too narrow for tenths. */
        int percent = -1;
        /** The notice drawn over the page (its lines joined); empty when none is. */
        String notice = "";
        /** Whether the status line says that pages turn by themselves. */
        boolean turning;
        /** Colours of the canvas background, of the body text and of the status line. */
        int background;
        int textColour;
        int statusColour;
        /** Top of each body line, in canvas pixels. */
        final List<Integer> tops = new ArrayList<>();

        String key() {
            return part + ":" + page + "/" + pages + " " + lines;
        }

        public String toString() {
            return "part " + part + "/" + parts + " page " + page + "/" + pages;
        }
    }

    /** Renders the canvas, checks what every frame must satisfy and reads the page. */
    static Page read(Phone phone) {
        if (!phone.showsCanvas()) {
            throw new AssertionError("expected the reading screen, the phone shows " + phone.describe());
        }
        Canvas canvas = (Canvas) phone.current();
        Screens.Frame f = phone.render();
        if (f.unpainted != 0) {
            throw new AssertionError(f.unpainted + " canvas pixels left unpainted");
        }
        if (!f.unshowable.isEmpty()) {
            throw new AssertionError("drew characters the font cannot show: " + escape(f.unshowable));
        }
        if (f.texts.isEmpty()) {
            throw new AssertionError("nothing drawn, not even the status line");
        }
        int statusY = f.texts.stream().mapToInt(t -> t.y).max().getAsInt();
        List<DrawnText> status = new ArrayList<>();
        Page p = new Page();
        // What is drawn after the status line lies over the page: a notice.
        int end = f.texts.size();
        while (f.texts.get(end - 1).y != statusY) {
            end--;
        }
        StringBuilder notice = new StringBuilder();
        for (DrawnText t : f.texts.subList(end, f.texts.size())) {
            notice.append(t.text);
        }
        p.notice = notice.toString();
        p.canvasWidth = canvas.getWidth();
        p.fontSize = -1;
        p.background = f.image.getRGB(0, 0) & 0xffffff;
        int lastY = Integer.MIN_VALUE;
        for (DrawnText t : f.texts) {
            if (t.x < 0 || t.x + t.width > canvas.getWidth()) {
                throw new AssertionError("text wider than the screen (" + canvas.getWidth() + "): " + t);
            }
        }
        for (DrawnText t : f.texts.subList(0, end)) {
            if (t.x < 0 || t.x + t.width > canvas.getWidth()) {
                throw new AssertionError("text wider than the screen (" + canvas.getWidth() + "): " + t);
            }
            if (t.y < 0 || t.y + t.height > canvas.getHeight()) {
                throw new AssertionError("text outside the screen's height: " + t);
            }
            if (t.y == statusY) {
                status.add(t);
                continue;
            }
            if (t.y + t.height > statusY) {
                throw new AssertionError("body line runs into the status line: " + t);
            }
            if (t.y <= lastY) {
                throw new AssertionError("body lines not drawn top to bottom: " + t);
            }
            lastY = t.y;
            p.lines.add(t.text);
            p.tops.add(t.y);
            p.textColour = t.colour;
            p.widths.add(t.width);
            p.fontSize = t.font.getSize();
        }
        status.sort(Comparator.comparingInt(t -> t.x));
        for (int i = 1; i < status.size(); i++) {
            DrawnText a = status.get(i - 1);
            DrawnText b = status.get(i);
            if (!a.text.isEmpty() && !b.text.isEmpty() && a.x + a.width > b.x) {
                throw new AssertionError("status texts overlap: " + a + " and " + b);
            }
        }
        StringBuilder s = new StringBuilder();
        for (DrawnText t : status) {
            s.append(t.text).append(' ');
            p.statusColour = t.colour;
        }
        Matcher percent = PERCENT.matcher(s);
        if (percent.find()) {
            p.percent = Integer.parseInt(percent.group(1));
            if (percent.group(2) != null) {
                p.permille = p.percent * 10 + Integer.parseInt(percent.group(2));
            }
        }
        p.turning = s.indexOf("自动") >= 0;
        String left = status.get(0).text;
        String right = status.get(status.size() - 1).text;
        Matcher m = PAGE.matcher(left);
        if (!m.matches()) {
            throw new AssertionError("no page n/N at the left of the status line \"" + s + "\"");
        }
        p.page = Integer.parseInt(m.group(1));
        p.pages = m.group(2).equals("…") ? -1 : Integer.parseInt(m.group(2));
        m = PART.matcher(right);
        if (m.matches()) {
            p.part = Integer.parseInt(m.group(1));
            p.parts = Integer.parseInt(m.group(2));
        } else {
            p.title = right;
            partOfTitle(phone, p);
        }
        return p;
    }

    /**
     * Finds the part whose title the status line shows, whole or cut short with "…" after at
     * least two characters. The test books give every part a title of its own, so a title
     * that matches no part or several is a fault.
     */
    private static void partOfTitle(Phone phone, Page p) {
        List<String> titles = phone.book().titles;
        boolean cut = p.title.endsWith("…");
        String start = cut ? p.title.substring(0, p.title.length() - 1) : p.title;
        if (cut && start.length() < 2) {
            throw new AssertionError("title cut to fewer than two characters: \"" + p.title + "\"");
        }
        List<Integer> found = new ArrayList<>();
        for (int i = 0; i < titles.size(); i++) {
            String title = BookFile.shown(titles.get(i));
            if (cut ? title.startsWith(start) && title.length() > start.length() : title.equals(start)) {
                found.add(i + 1);
            }
        }
        if (found.size() != 1) {
            throw new AssertionError("the status line's title \"" + p.title + "\" is that of parts " + found);
        }
        p.part = found.get(0);
        p.parts = titles.size();
    }

    static boolean isWordChar(char c) {
        return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')
                || c == '\'' || c == '-' || c == '_' || (c >= 0xC0 && c <= 0x24F && c != 0xD7 && c != 0xF7)
                || (c >= 0x370 && c <= 0x52F) || (c >= 0xFF10 && c <= 0xFF19);
    }

    private static boolean mayBreak(char before, char after) {
        return CLOSING.indexOf(after) < 0 && OPENING.indexOf(before) < 0
                && !(isWordChar(before) && isWordChar(after));
    }

    /** Whether text[from .. to) holds only spaces (an indent). */
    private static boolean blank(String text, int from, int to) {
        return text.substring(from, to).replace('\u3000', ' ').isBlank();
    }

    /**
     * Whether text[from .. to) has a place to break outside what is kept whole and after
     * something more than the spaces that indent it.
     */
    private static boolean hasBreak(String text, int from, int to, int[] keptFrom) {
        for (int i = from + 1; i < to; i++) {
            if (keptFrom[i] < 0 && mayBreak(text.charAt(i - 1), text.charAt(i)) && !blank(text, from, i)) {
                return true;
            }
        }
        return false;
    }

    /**
     * For each place i in the text (between characters i - 1 and i), where the span kept whole
     * around it starts, or -1 outside such spans; keptEnd[i] is where that span ends.
     */
    private static int[] keptWhole(String text, int[] keptEnd) {
        int[] from = new int[text.length() + 1];
        java.util.Arrays.fill(from, -1);
        Matcher m = KEPT_WHOLE.matcher(text);
        while (m.find()) {
            for (int i = m.start() + 1; i < m.end(); i++) {
                from[i] = m.start();
                keptEnd[i] = m.end();
            }
        }
        return from;
    }

    private static boolean isIdeograph(char c) {
        return c >= 0x4E00 && c <= 0x9FFF;
    }

    /**
     * Checks that the pages of one part show exactly {@code expected}: each line is the next
     * piece of the text, lines are separated in the text by a line end, a space dropped where
     * the line was cut, or nothing; nothing is left over. Where a line was cut, it must not
     * have cut a word or put closing punctuation first unless the line had no other place to
     * break, it must not have cut a number or an address ({@link #KEPT_WHOLE}) unless the
     * line started inside it and the rest of it was too wide for the line, and a cut between
     * two ideographs must come only when the next one did not fit.
     * Returns the character index in {@code expected} where each page starts.
     */
    static int[] checkText(String context, String expected, List<Page> pages) {
        return checkText(context, expected, pages, new ArrayList<>());
    }

    /** {@link #checkText}, adding to {@code lineStarts} the character index where each line starts. */
    static int[] checkText(String context, String expected, List<Page> pages, List<Integer> lineStarts) {
        int[] starts = new int[pages.size()];
        if (expected.replace('\u3000', ' ').isBlank()) {
            // Nothing to read: one page that says so.
            if (pages.size() != 1 || !pages.get(0).lines.equals(List.of(NO_TEXT))) {
                throw new AssertionError(context + ": a part without text shows " + pages.size()
                        + " pages, the first " + pages.get(0).lines);
            }
            lineStarts.add(0);
            return starts;
        }
        int[] keptEnd = new int[expected.length() + 1];
        int[] keptFrom = keptWhole(expected, keptEnd);
        int pos = 0;
        for (int pi = 0; pi < pages.size(); pi++) {
            Page p = pages.get(pi);
            starts[pi] = pos;
            javax.microedition.lcdui.Font font = p.fontSize < 0 ? null
                    : javax.microedition.lcdui.Font.getFont(0, 0, p.fontSize);
            for (int li = 0; li < p.lines.size(); li++) {
                String line = p.lines.get(li);
                String where = context + ", page " + p.page + " line " + (li + 1);
                int lineFrom = pos;
                lineStarts.add(pos);
                if (!expected.startsWith(line, pos)) {
                    throw new AssertionError(where + ": shows \"" + escape(line) + "\" where the text has \""
                            + escape(expected.substring(pos, Math.min(expected.length(), pos + line.length() + 8)))
                            + "\"");
                }
                pos += line.length();
                if (pos == expected.length()) {
                    continue;
                }
                char next = expected.charAt(pos);
                if (next == '\n') {
                    pos++;
                    continue;
                }
                if (next == ' ') {
                    pos++;
                    continue;
                }
                if (line.isEmpty()) {
                    throw new AssertionError(where + ": empty line inside a paragraph");
                }
                if (blank(line, 0, line.length()) && font != null
                        && p.widths.get(li) + font.charWidth(next) <= p.canvasWidth - 8) {
                    throw new AssertionError(where + ": a line of only spaces inside a paragraph");
                }
                char last = line.charAt(line.length() - 1);
                int kept = keptFrom[pos];
                if (kept >= 0) {
                    String whole = expected.substring(kept, keptEnd[pos]);
                    if ((kept > lineFrom && !blank(expected, lineFrom, kept)) || font == null
                            || font.stringWidth(expected.substring(lineFrom, keptEnd[pos])) <= p.canvasWidth - 8) {
                        throw new AssertionError(where + ": cut \"" + whole + "\" after \""
                                + expected.substring(kept, pos) + "\"");
                    }
                    continue;
                }
                if (!mayBreak(last, next) && hasBreak(expected, lineFrom, pos, keptFrom)) {
                    throw new AssertionError(where + ": cut between '" + last + "' and '" + next
                            + "' though \"" + line + "\" had a better place");
                }
                boolean pulledBack = pos + 1 < expected.length() && CLOSING.indexOf(expected.charAt(pos + 1)) >= 0;
                if (isIdeograph(last) && isIdeograph(next) && !pulledBack && font != null
                        && p.widths.get(li) + font.charWidth(next) <= p.canvasWidth - 8) {
                    throw new AssertionError(where + ": cut \"" + line + "\" though '" + next + "' fitted");
                }
            }
        }
        if (pos != expected.length()) {
            throw new AssertionError(context + ": text never shown from character " + pos + ": \""
                    + escape(expected.substring(pos, Math.min(expected.length(), pos + 20))) + "\"");
        }
        return starts;
    }

    static String escape(String s) {
        StringBuilder b = new StringBuilder();
        for (char c : s.toCharArray()) {
            if (c < 0x20 || (c >= 0x7F && c < 0xA0) || Character.isSurrogate(c) || c == '\ufeff') {
                b.append(String.format("\\u%04x", (int) c));
            } else {
                b.append(c);
            }
        }
        return b.toString();
    }
}
