package javax.microedition.lcdui;

import java.awt.Graphics2D;
import java.awt.image.BufferedImage;
import java.util.ArrayList;
import java.util.Collections;
import javax.microedition.midlet.MIDlet;

/**
 * What the test does with the phone's screen and keys: set the screen size, press keys,
 * choose commands and list rows, dismiss alerts, and render the current screen into an
 * image. Not part of MIDP: it reaches the MIDP classes through package access, so the
 * MIDP classes themselves carry nothing a MIDlet could clash with.
 */
public final class Screens {
    /** Canvas pixels the MIDlet left unpainted keep this colour. */
    public static final int UNPAINTED = 0xFF00FF;
    private static final int BAND = 0x303030;
    private static final int TITLE = 0x1F5E3A;

    private Screens() {
    }

    /** One rendering of the current screen. */
    public static final class Frame {
        public final BufferedImage image;
        /** Texts the MIDlet drew on its Canvas, in drawing order (empty for other screens). */
        public final java.util.List<DrawnText> texts;
        /** Canvas pixels the MIDlet did not paint. */
        public final int unpainted;
        /** Drawn characters the phone's font has no glyph for. */
        public final String unshowable;

        Frame(BufferedImage image, java.util.List<DrawnText> texts, int unpainted, String unshowable) {
            this.image = image;
            this.texts = Collections.unmodifiableList(texts);
            this.unpainted = unpainted;
            this.unshowable = unshowable;
        }
    }

    public static void setScreenSize(int width, int height) {
        Device.width = width;
        Device.height = height;
    }

    /** The class loader of the MIDlet's jar, where Image.createImage(String) looks. */
    public static void setMidletLoader(ClassLoader loader) {
        Image.midletLoader = loader;
    }

    public static void forget(MIDlet m) {
        Display.forget(m);
    }

    private static Canvas canvas(Display d) {
        if (!(d.current instanceof Canvas)) {
            throw new IllegalStateException("keys go to a Canvas; the screen is " + describe(d.current));
        }
        return (Canvas) d.current;
    }

    public static void press(Display d, int keyCode) {
        Canvas c = canvas(d);
        d.event(() -> c.keyPressed(keyCode));
        d.event(() -> c.keyReleased(keyCode));
    }

    /** Holds back what the MIDlet gives callSerially, or lets it run. */
    public static void holdSerialCalls(Display d, boolean hold) {
        d.held = hold;
        d.runSerially();
    }

    /** A tap: the pointer goes down and up at one place of the canvas. */
    public static void tap(Display d, int x, int y) {
        swipe(d, x, y, x, y);
    }

    /** The pointer goes down at (x1, y1), is dragged in a few steps to (x2, y2), and goes up there. */
    public static void swipe(Display d, int x1, int y1, int x2, int y2) {
        Canvas c = canvas(d);
        d.event(() -> c.pointerPressed(x1, y1));
        for (int i = 1; i < 4 && (x1 != x2 || y1 != y2); i++) {
            int step = i;
            d.event(() -> c.pointerDragged(x1 + (x2 - x1) * step / 4, y1 + (y2 - y1) * step / 4));
        }
        d.event(() -> c.pointerReleased(x2, y2));
    }

    /** The pointer goes up without having gone down, as a runtime's stray event. */
    public static void release(Display d, int x, int y) {
        Canvas c = canvas(d);
        d.event(() -> c.pointerReleased(x, y));
    }

    /** The screen's width, for tests of what must fit it. */
    public static int screenWidth() {
        return Device.width;
    }

    /** A key goes down on the canvas shown (its release comes by {@link #keyUp}). */
    public static void keyDown(Display d, int keyCode) {
        Canvas c = canvas(d);
        d.event(() -> c.keyPressed(keyCode));
    }

    /** A key's release, to the screen shown now: a list or an alert takes it for itself. */
    public static void keyUp(Display d, int keyCode) {
        if (d.current instanceof Canvas) {
            Canvas c = (Canvas) d.current;
            d.event(() -> c.keyReleased(keyCode));
        }
    }

    public static void repeat(Display d, int keyCode) {
        Canvas c = canvas(d);
        d.event(() -> c.keyRepeated(keyCode));
    }

    /** Labels of the commands of the current screen. */
    public static java.util.List<String> commandLabels(Display d) {
        java.util.List<String> labels = new ArrayList<>();
        for (Command c : d.current.commands) {
            labels.add(c.getLabel());
        }
        return labels;
    }

    /** Chooses the command of the current screen with this label. */
    public static void command(Display d, String label) {
        Displayable s = d.current;
        for (Command c : s.commands) {
            if (c.getLabel().equals(label)) {
                if (s.listener == null) {
                    throw new IllegalStateException("command " + label + " has no listener");
                }
                d.event(() -> s.listener.commandAction(c, s));
                return;
            }
        }
        throw new IllegalStateException("no command " + label + " on " + describe(s)
                + "; there are " + commandLabels(d));
    }

    /** The user types {@code text} into the text box shown, in place of what it held. */
    public static void type(Display d, String text) {
        if (!(d.current instanceof TextBox)) {
            throw new IllegalStateException("text is typed into a TextBox; the screen is " + describe(d.current));
        }
        ((TextBox) d.current).setString(text);
    }

    /** Moves the selection of the current IMPLICIT list to a row and selects it. */
    public static void select(Display d, int row) {
        if (!(d.current instanceof List)) {
            throw new IllegalStateException("rows are chosen on a List; the screen is " + describe(d.current));
        }
        List l = (List) d.current;
        l.setSelectedIndex(row, true);
        if (l.listener == null) {
            throw new IllegalStateException("list has no listener");
        }
        d.event(() -> l.listener.commandAction(List.SELECT_COMMAND, l));
    }

    /** The user dismisses the alert shown: the screen given to follow it appears. */
    public static void dismissAlert(Display d) {
        if (!(d.current instanceof Alert)) {
            throw new IllegalStateException("no alert is shown; the screen is " + describe(d.current));
        }
        d.event(() -> d.show(d.afterAlert));
    }

    public static String describe(Displayable s) {
        if (s == null) {
            return "nothing";
        }
        String kind = s instanceof Canvas ? "Canvas" : s.getClass().getSimpleName();
        if (s instanceof Screen) {
            return kind + " \"" + ((Screen) s).getTitle() + "\"";
        }
        return kind;
    }

    /** Paints the current canvas as the phone would, without the test's checks: for timing. */
    public static void paintOnly(Display d) {
        Canvas c = canvas(d);
        BufferedImage image = new BufferedImage(Device.width, Device.height, BufferedImage.TYPE_INT_RGB);
        Graphics2D g2 = image.createGraphics();
        c.paint(new Graphics(g2, new ArrayList<>()));
        c.repaintPending = false;
        g2.dispose();
    }

    /** Renders the current screen as the phone would show it. */
    public static Frame render(Display d) {
        BufferedImage image = new BufferedImage(Device.width, Device.height, BufferedImage.TYPE_INT_RGB);
        Graphics2D g2 = image.createGraphics();
        Displayable s = d.current;
        boolean full = s instanceof Canvas && ((Canvas) s).fullScreen;
        int areaHeight = full ? Device.height : Device.height - Device.SOFT_KEYS;
        java.util.List<DrawnText> texts = new ArrayList<>();
        int unpainted = 0;
        StringBuilder unshowable = new StringBuilder();
        if (s instanceof Canvas) {
            g2.setColor(new java.awt.Color(UNPAINTED));
            g2.fillRect(0, 0, Device.width, areaHeight);
            Graphics2D area = (Graphics2D) g2.create();
            area.setClip(0, 0, Device.width, areaHeight);
            ((Canvas) s).paint(new Graphics(area, texts));
            ((Canvas) s).repaintPending = false;
            area.dispose();
            for (int y = 0; y < areaHeight; y++) {
                for (int x = 0; x < Device.width; x++) {
                    if ((image.getRGB(x, y) & 0xffffff) == UNPAINTED) {
                        unpainted++;
                    }
                }
            }
            for (DrawnText t : texts) {
                for (char c : t.text.toCharArray()) {
                    if (!t.font.canShow(c)) {
                        unshowable.append(c);
                    }
                }
            }
        } else {
            Graphics g = new Graphics(g2, null);
            g.setColor(0xFFFFFF);
            g.fillRect(0, 0, Device.width, areaHeight);
            if (s instanceof Screen) {
                paintScreen(g, (Screen) s, areaHeight);
            }
        }
        if (!full) {
            paintSoftKeys(new Graphics(g2, null), s, areaHeight);
        }
        g2.dispose();
        return new Frame(image, texts, unpainted, unshowable.toString());
    }

    private static int paintTitle(Graphics g, String title) {
        Font f = Font.getFont(Font.FACE_SYSTEM, Font.STYLE_BOLD, Font.SIZE_SMALL);
        int h = f.getHeight() + 4;
        g.setColor(TITLE);
        g.fillRect(0, 0, Device.width, h);
        g.setColor(0xFFFFFF);
        g.setFont(f);
        g.drawString(fit(f, title == null ? "" : title, Device.width - 4), 2, 2, Graphics.TOP | Graphics.LEFT);
        return h;
    }

    private static void paintScreen(Graphics g, Screen s, int areaHeight) {
        int top = paintTitle(g, s.getTitle());
        Font f = Font.getFont(Font.FACE_SYSTEM, Font.STYLE_PLAIN, Font.SIZE_SMALL);
        g.setFont(f);
        int rowH = f.getHeight() + 4;
        if (s instanceof List) {
            List l = (List) s;
            int rows = Math.max(1, (areaHeight - top) / rowH);
            int sel = Math.max(0, l.getSelectedIndex());
            int first = Math.max(0, Math.min(sel - rows / 2, l.size() - rows));
            for (int i = first; i < l.size() && i < first + rows; i++) {
                int y = top + (i - first) * rowH;
                if (i == sel) {
                    g.setColor(0xD8E8DC);
                    g.fillRect(0, y, Device.width, rowH);
                }
                g.setColor(0x000000);
                g.drawString(fit(f, l.getString(i), Device.width - 6), 3, y + 2, Graphics.TOP | Graphics.LEFT);
            }
        } else if (s instanceof TextBox) {
            TextBox box = (TextBox) s;
            int y = top + 4;
            g.setColor(0x808080);
            g.drawRect(2, y, Device.width - 5, rowH + 2);
            g.setColor(0x000000);
            g.drawString(box.getString() + "|", 5, y + 3, Graphics.TOP | Graphics.LEFT);
        } else {
            StringBuilder text = new StringBuilder();
            if (s instanceof Alert) {
                text.append(((Alert) s).getString() == null ? "" : ((Alert) s).getString());
            } else if (s instanceof Form) {
                for (Item i : ((Form) s).items) {
                    if (i.getLabel() != null) {
                        text.append(i.getLabel()).append('\n');
                    }
                    if (i instanceof StringItem && ((StringItem) i).getText() != null) {
                        text.append(((StringItem) i).getText()).append('\n');
                    }
                }
            }
            g.setColor(0x000000);
            int y = top + 3;
            for (String line : wrap(f, text.toString(), Device.width - 6)) {
                if (y + f.getHeight() > areaHeight) {
                    break;
                }
                g.drawString(line, 3, y, Graphics.TOP | Graphics.LEFT);
                y += f.getHeight() + 2;
            }
        }
    }

    private static void paintSoftKeys(Graphics g, Displayable s, int top) {
        g.setColor(BAND);
        g.fillRect(0, top, Device.width, Device.SOFT_KEYS);
        String left = "";
        String right = "";
        java.util.List<Command> others = new ArrayList<>();
        if (s != null) {
            for (Command c : s.commands) {
                int t = c.getCommandType();
                if (right.isEmpty() && (t == Command.BACK || t == Command.EXIT || t == Command.CANCEL)) {
                    right = c.getLabel();
                } else {
                    others.add(c);
                }
            }
        }
        if (s instanceof Alert) {
            right = "确定";
        } else if (others.size() == 1) {
            left = others.get(0).getLabel();
        } else if (others.size() > 1) {
            left = "菜单";
        } else if (s instanceof List) {
            left = "选择";
        }
        Font f = Font.getFont(Font.FACE_SYSTEM, Font.STYLE_PLAIN, Font.SIZE_SMALL);
        g.setFont(f);
        g.setColor(0xFFFFFF);
        int y = top + (Device.SOFT_KEYS - f.getHeight()) / 2;
        g.drawString(left, 3, y, Graphics.TOP | Graphics.LEFT);
        g.drawString(right, Device.width - 3, y, Graphics.TOP | Graphics.RIGHT);
    }

    private static String fit(Font f, String s, int width) {
        if (f.stringWidth(s) <= width) {
            return s;
        }
        int n = s.length();
        while (n > 0 && f.substringWidth(s, 0, n) + f.charWidth('…') > width) {
            n--;
        }
        return s.substring(0, n) + "…";
    }

    private static java.util.List<String> wrap(Font f, String text, int width) {
        java.util.List<String> lines = new ArrayList<>();
        for (String para : text.split("\n", -1)) {
            int start = 0;
            int w = 0;
            for (int i = 0; i < para.length(); i++) {
                int cw = f.charWidth(para.charAt(i));
                if (w + cw > width && i > start) {
                    lines.add(para.substring(start, i));
                    start = i;
                    w = 0;
                }
                w += cw;
            }
            lines.add(para.substring(start));
        }
        return lines;
    }
}
