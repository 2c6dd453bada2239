import javax.microedition.lcdui.Canvas;
import javax.microedition.lcdui.Font;
import javax.microedition.lcdui.Graphics;

/**
 * A number typed on the reading screen itself, drawn over the page: the question, the
 * field, and a keypad that is also tapped on touch screens. The number keys type, * (or
 * the clear key) deletes, # or fire goes, a soft key or 取消 cancels. Runtimes whose text
 * boxes take no typing (FreeJ2ME-plus) still get every number this way.
 */
final class NumberPad {
    /** The keypad's labels, row by row; the keys they stand for. */
    private static final String[] LABELS = { "1", "2", "3", "4", "5", "6", "7", "8", "9", "*删", "0", "#确定" };
    private static final String KEYS = "123456789*0#";
    /** What {@link #key} and {@link #tap} return. */
    static final int TYPING = 0;
    static final int DONE = 1;
    static final int CANCELLED = 2;

    final int what;
    private final String title;
    private final int maxDigits;
    private final StringBuffer typed = new StringBuffer();
    /**
     * The keypad's top, the height of a row (five: twelve keys and 取消), and the lines above
     * it (the question, the field, the keys' meaning); on a screen too short for all, 取消 and
     * the keys' meaning go (the soft keys still cancel). See {@link #layOut}.
     */
    private int padTop;
    private int rowHeight;
    private int rows;
    private int lines;

    NumberPad(int what, String title, int maxDigits) {
        this.what = what;
        this.title = title;
        this.maxDigits = maxDigits;
    }

    /** The number typed; -1 when nothing is. */
    int value() {
        return typed.length() == 0 ? -1 : Integer.parseInt(typed.toString());
    }

    /** A key of the phone; {@code action} is its game action (0: none). */
    int key(int keyCode, int action) {
        if (keyCode == -6 || keyCode == -7 || keyCode == -21 || keyCode == -22) {
            return CANCELLED;
        }
        if (keyCode == '#' || (action == Canvas.FIRE && (keyCode < '0' || keyCode > '9'))) {
            return DONE;
        }
        return type(keyCode == -8 || action == Canvas.LEFT ? '*' : keyCode);
    }

    private int type(int c) {
        if (c >= '0' && c <= '9' && typed.length() < maxDigits) {
            typed.append((char) c);
        } else if (c == '*' && typed.length() > 0) {
            typed.setLength(typed.length() - 1);
        }
        return TYPING;
    }

    /** Places the keypad at the bottom of a screen {@code height} high, in rows for {@code font}. */
    private void layOut(int height, Font font) {
        int line = font.getHeight() + 4;
        boolean roomy = height >= 8 * line;
        rows = roomy ? 5 : 4;
        lines = roomy ? 3 : 2;
        rowHeight = Math.max(font.getHeight() + 2, Math.min(2 * line, (height - lines * line) / rows));
        padTop = height - rows * rowHeight;
    }

    /** A tap at (x, y): a key of the keypad, 取消 below it, or nothing. */
    int tap(int x, int y, int width, int height, Font font) {
        layOut(height, font);
        if (y < padTop) {
            return TYPING;
        }
        int row = (y - padTop) / rowHeight;
        if (row >= 4) {
            return CANCELLED;
        }
        char c = KEYS.charAt(row * 3 + Math.min(2, x * 3 / width));
        return c == '#' ? DONE : type(c);
    }

    /** Draws the question, the field and the keypad over the lower part of the screen. */
    void paint(Graphics g, int width, int height, Font font, int[] colours) {
        int line = font.getHeight() + 4;
        layOut(height, font);
        int top = Math.max(0, padTop - lines * line);
        g.setFont(font);
        g.setColor(colours[0]);
        g.fillRect(0, top, width, height - top);
        g.setColor(colours[3]);
        g.drawLine(0, top, width, top);
        g.setColor(colours[1]);
        g.drawString(title, 2, top + 2, Graphics.TOP | Graphics.LEFT);
        g.drawRect(2, top + line + 1, width - 5, line - 2);
        g.drawString(typed.toString() + "_", 5, top + line + 3, Graphics.TOP | Graphics.LEFT);
        if (lines == 3) {
            g.setColor(colours[2]);
            g.drawString("*删除 #确定 软键取消", 2, top + 2 * line + 2, Graphics.TOP | Graphics.LEFT);
        }
        for (int i = 0; i < LABELS.length + rows - 4; i++) {
            int x = i < LABELS.length ? i % 3 * width / 3 : 0;
            int w = i < LABELS.length ? (i % 3 + 1) * width / 3 - x : width;
            int y = padTop + i / 3 * rowHeight;
            g.setColor(colours[3]);
            g.drawRect(x, y, w - 1, rowHeight - 1);
            g.setColor(colours[1]);
            g.drawString(i < LABELS.length ? LABELS[i] : "取消", x + w / 2, y + (rowHeight - font.getHeight()) / 2,
                    Graphics.TOP | Graphics.HCENTER);
        }
    }
}
