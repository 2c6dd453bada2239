package javax.microedition.lcdui;

/** MIDP 1.0 API stub: signatures and the real constant values. */
public final class Font {
    public static final int STYLE_PLAIN = 0;
    public static final int STYLE_BOLD = 1;
    public static final int STYLE_ITALIC = 2;
    public static final int STYLE_UNDERLINED = 4;
    public static final int SIZE_SMALL = 8;
    public static final int SIZE_MEDIUM = 0;
    public static final int SIZE_LARGE = 16;
    public static final int FACE_SYSTEM = 0;
    public static final int FACE_MONOSPACE = 32;
    public static final int FACE_PROPORTIONAL = 64;

    private Font() { }
    public static Font getDefaultFont() { throw new RuntimeException(); }
    public static Font getFont(int face, int style, int size) { throw new RuntimeException(); }
    public int getStyle() { throw new RuntimeException(); }
    public int getSize() { throw new RuntimeException(); }
    public int getFace() { throw new RuntimeException(); }
    public boolean isPlain() { throw new RuntimeException(); }
    public boolean isBold() { throw new RuntimeException(); }
    public boolean isItalic() { throw new RuntimeException(); }
    public boolean isUnderlined() { throw new RuntimeException(); }
    public int getHeight() { throw new RuntimeException(); }
    public int getBaselinePosition() { throw new RuntimeException(); }
    public native int charWidth(char ch);
    public native int charsWidth(char[] ch, int offset, int length);
    public native int stringWidth(String str);
    public native int substringWidth(String str, int offset, int len);
}
