package javax.microedition.lcdui;

/** MIDP 1.0 API stub: signatures and the real constant values. */
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

    Graphics() { }
    public void translate(int x, int y) { throw new RuntimeException(); }
    public int getTranslateX() { throw new RuntimeException(); }
    public int getTranslateY() { throw new RuntimeException(); }
    public int getColor() { throw new RuntimeException(); }
    public int getRedComponent() { throw new RuntimeException(); }
    public int getGreenComponent() { throw new RuntimeException(); }
    public int getBlueComponent() { throw new RuntimeException(); }
    public int getGrayScale() { throw new RuntimeException(); }
    public void setColor(int red, int green, int blue) { throw new RuntimeException(); }
    public void setColor(int rgb) { throw new RuntimeException(); }
    public void setGrayScale(int value) { throw new RuntimeException(); }
    public Font getFont() { throw new RuntimeException(); }
    public void setStrokeStyle(int style) { throw new RuntimeException(); }
    public int getStrokeStyle() { throw new RuntimeException(); }
    public void setFont(Font font) { throw new RuntimeException(); }
    public int getClipX() { throw new RuntimeException(); }
    public int getClipY() { throw new RuntimeException(); }
    public int getClipWidth() { throw new RuntimeException(); }
    public int getClipHeight() { throw new RuntimeException(); }
    public void clipRect(int x, int y, int width, int height) { throw new RuntimeException(); }
    public void setClip(int x, int y, int width, int height) { throw new RuntimeException(); }
    public void drawLine(int x1, int y1, int x2, int y2) { throw new RuntimeException(); }
    public void fillRect(int x, int y, int width, int height) { throw new RuntimeException(); }
    public void drawRect(int x, int y, int width, int height) { throw new RuntimeException(); }
    public void drawRoundRect(int x, int y, int width, int height, int arcWidth, int arcHeight) { throw new RuntimeException(); }
    public void fillRoundRect(int x, int y, int width, int height, int arcWidth, int arcHeight) { throw new RuntimeException(); }
    public void fillArc(int x, int y, int width, int height, int startAngle, int arcAngle) { throw new RuntimeException(); }
    public void drawArc(int x, int y, int width, int height, int startAngle, int arcAngle) { throw new RuntimeException(); }
    public void drawString(String str, int x, int y, int anchor) { throw new RuntimeException(); }
    public void drawSubstring(String str, int offset, int len, int x, int y, int anchor) { throw new RuntimeException(); }
    public void drawChar(char character, int x, int y, int anchor) { throw new RuntimeException(); }
    public void drawChars(char[] data, int offset, int length, int x, int y, int anchor) { throw new RuntimeException(); }
    public void drawImage(Image img, int x, int y, int anchor) { throw new RuntimeException(); }
}
