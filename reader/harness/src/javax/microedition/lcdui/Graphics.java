package javax.microedition.lcdui;

import java.awt.BasicStroke;
import java.awt.Color;
import java.awt.Graphics2D;
import java.awt.Rectangle;
import java.awt.RenderingHints;
import java.util.List;

/**
 * Java SE stand-in for the MIDP 1.0 Graphics, drawing into an AWT image. Text is drawn
 * character by character at the Font's whole-pixel advances, and every piece of text is
 * also recorded as a {@link DrawnText} for the tests. Anchors are checked as a phone checks
 * them: an illegal combination throws IllegalArgumentException.
 */
public class Graphics {
    public static final int HCENTER = 1;
    public static final int VCENTER = 2;
    public static final int LEFT = 4;
    public static final int RIGHT = 8;
    public static final int TOP = 16;
    public static final int BOTTOM = 32;
    public static final int BASELINE = 64;
    public static final int SOLID = 0;
    public static final int DOTTED = 1;

    private final Graphics2D g;
    private final List<DrawnText> record;
    private int tx;
    private int ty;
    private int rgb;
    private int stroke = SOLID;
    private Font font = Font.getDefaultFont();

    Graphics(Graphics2D g, List<DrawnText> record) {
        this.g = g;
        this.record = record;
        g.setRenderingHint(RenderingHints.KEY_TEXT_ANTIALIASING, RenderingHints.VALUE_TEXT_ANTIALIAS_ON);
        g.setColor(Color.BLACK);
    }

    public void translate(int x, int y) {
        tx += x;
        ty += y;
        g.translate(x, y);
    }

    public int getTranslateX() {
        return tx;
    }

    public int getTranslateY() {
        return ty;
    }

    public int getColor() {
        return rgb;
    }

    public int getRedComponent() {
        return (rgb >> 16) & 0xff;
    }

    public int getGreenComponent() {
        return (rgb >> 8) & 0xff;
    }

    public int getBlueComponent() {
        return rgb & 0xff;
    }

    public int getGrayScale() {
        return (getRedComponent() + getGreenComponent() + getBlueComponent()) / 3;
    }

    public void setColor(int red, int green, int blue) {
        if ((red | green | blue) < 0 || red > 255 || green > 255 || blue > 255) {
            throw new IllegalArgumentException("colour component out of range");
        }
        setColor((red << 16) | (green << 8) | blue);
    }

    public void setColor(int rgb) {
        this.rgb = rgb & 0xffffff;
        g.setColor(new Color(this.rgb));
    }

    public void setGrayScale(int value) {
        setColor(value, value, value);
    }

    public Font getFont() {
        return font;
    }

    public void setStrokeStyle(int style) {
        if (style != SOLID && style != DOTTED) {
            throw new IllegalArgumentException("illegal stroke style");
        }
        stroke = style;
        g.setStroke(style == SOLID ? new BasicStroke(1)
                : new BasicStroke(1, BasicStroke.CAP_BUTT, BasicStroke.JOIN_MITER, 1, new float[] { 1, 1 }, 0));
    }

    public int getStrokeStyle() {
        return stroke;
    }

    public void setFont(Font font) {
        this.font = font == null ? Font.getDefaultFont() : font;
    }

    public int getClipX() {
        Rectangle r = g.getClipBounds();
        return r.x;
    }

    public int getClipY() {
        return g.getClipBounds().y;
    }

    public int getClipWidth() {
        return g.getClipBounds().width;
    }

    public int getClipHeight() {
        return g.getClipBounds().height;
    }

    public void clipRect(int x, int y, int width, int height) {
        g.clipRect(x, y, width, height);
    }

    public void setClip(int x, int y, int width, int height) {
        g.setClip(x, y, width, height);
    }

    public void drawLine(int x1, int y1, int x2, int y2) {
        g.drawLine(x1, y1, x2, y2);
    }

    public void fillRect(int x, int y, int width, int height) {
        if (width > 0 && height > 0) {
            g.fillRect(x, y, width, height);
        }
    }

    public void drawRect(int x, int y, int width, int height) {
        if (width >= 0 && height >= 0) {
            g.drawRect(x, y, width, height);
        }
    }

    public void drawRoundRect(int x, int y, int width, int height, int arcWidth, int arcHeight) {
        g.drawRoundRect(x, y, width, height, arcWidth, arcHeight);
    }

    public void fillRoundRect(int x, int y, int width, int height, int arcWidth, int arcHeight) {
        g.fillRoundRect(x, y, width, height, arcWidth, arcHeight);
    }

    public void fillArc(int x, int y, int width, int height, int startAngle, int arcAngle) {
        g.fillArc(x, y, width, height, startAngle, arcAngle);
    }

    public void drawArc(int x, int y, int width, int height, int startAngle, int arcAngle) {
        g.drawArc(x, y, width, height, startAngle, arcAngle);
    }

    public void drawString(String str, int x, int y, int anchor) {
        drawChars(str.toCharArray(), 0, str.length(), x, y, anchor);
    }

    public void drawSubstring(String str, int offset, int len, int x, int y, int anchor) {
        if (offset < 0 || len < 0 || offset + len > str.length()) {
            throw new StringIndexOutOfBoundsException();
        }
        drawChars(str.toCharArray(), offset, len, x, y, anchor);
    }

    public void drawChar(char character, int x, int y, int anchor) {
        drawChars(new char[] { character }, 0, 1, x, y, anchor);
    }

    public void drawChars(char[] data, int offset, int length, int x, int y, int anchor) {
        if (offset < 0 || length < 0 || offset + length > data.length) {
            throw new ArrayIndexOutOfBoundsException();
        }
        if (anchor == 0) {
            anchor = TOP | LEFT;
        }
        int h = anchor & (LEFT | RIGHT | HCENTER);
        int v = anchor & (TOP | BOTTOM | BASELINE);
        if (Integer.bitCount(h) != 1 || Integer.bitCount(v) != 1 || (anchor & VCENTER) != 0
                || (anchor & ~(LEFT | RIGHT | HCENTER | TOP | BOTTOM | BASELINE)) != 0) {
            throw new IllegalArgumentException("illegal text anchor " + anchor);
        }
        int width = font.charsWidth(data, offset, length);
        int left = h == LEFT ? x : h == RIGHT ? x - width : x - width / 2;
        int baseline = v == BASELINE ? y : v == TOP ? y + font.getBaselinePosition()
                : y - font.getHeight() + font.getBaselinePosition();
        g.setFont(font.awt);
        int pen = left;
        for (int i = offset; i < offset + length; i++) {
            g.drawString(String.valueOf(data[i]), pen, baseline);
            pen += font.charWidth(data[i]);
        }
        if (font.isUnderlined()) {
            g.drawLine(left, baseline + 1, left + width - 1, baseline + 1);
        }
        if (record != null) {
            record.add(new DrawnText(new String(data, offset, length), left + tx,
                    baseline - font.getBaselinePosition() + ty, width, font.getHeight(), font, rgb));
        }
    }

    public void drawImage(Image img, int x, int y, int anchor) {
        if (anchor == 0) {
            anchor = TOP | LEFT;
        }
        int h = anchor & (LEFT | RIGHT | HCENTER);
        int v = anchor & (TOP | BOTTOM | VCENTER);
        if (Integer.bitCount(h) != 1 || Integer.bitCount(v) != 1 || (anchor & BASELINE) != 0) {
            throw new IllegalArgumentException("illegal image anchor " + anchor);
        }
        int left = h == LEFT ? x : h == RIGHT ? x - img.getWidth() : x - img.getWidth() / 2;
        int top = v == TOP ? y : v == BOTTOM ? y - img.getHeight() : y - img.getHeight() / 2;
        g.drawImage(img.image, left, top, null);
    }

    /** Whether the font in use has a glyph for every character of the text. */
    static boolean showable(Font font, String text) {
        for (int i = 0; i < text.length(); i++) {
            if (!font.canShow(text.charAt(i))) {
                return false;
            }
        }
        return true;
    }
}
