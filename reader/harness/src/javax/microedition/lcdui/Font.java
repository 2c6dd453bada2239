package javax.microedition.lcdui;

import java.awt.FontFormatException;
import java.awt.FontMetrics;
import java.awt.image.BufferedImage;
import java.io.File;
import java.io.IOException;
import java.util.HashMap;
import java.util.Map;

/**
 * Java SE stand-in for the MIDP 1.0 Font, backed by WenQuanYi Micro Hei (a CJK font; AWT
 * would silently draw boxes with a font that lacks the glyphs). Widths are whole pixels per
 * character, as with a phone's bitmap fonts: a string is as wide as the sum of its
 * characters, and {@link Graphics} draws it character by character at those advances.
 */
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

    static final String FONT_FILE = System.getProperty("harness.font",
            "/usr/share/fonts/truetype/wqy/wqy-microhei.ttc");
    private static java.awt.Font base;
    private static final Map<Integer, Font> FONTS = new HashMap<>();

    private final int face;
    private final int style;
    private final int size;
    final java.awt.Font awt;
    private final FontMetrics metrics;
    private final int[] asciiWidths = new int[128];

    private Font(int face, int style, int size) {
        this.face = face;
        this.style = style;
        this.size = size;
        int pixels = size == SIZE_SMALL ? 12 : size == SIZE_LARGE ? 20 : 16;
        int awtStyle = ((style & STYLE_BOLD) != 0 ? java.awt.Font.BOLD : 0)
                | ((style & STYLE_ITALIC) != 0 ? java.awt.Font.ITALIC : 0);
        awt = base().deriveFont(awtStyle, (float) pixels);
        BufferedImage scratch = new BufferedImage(1, 1, BufferedImage.TYPE_INT_RGB);
        metrics = scratch.createGraphics().getFontMetrics(awt);
        for (char c = 0; c < 128; c++) {
            asciiWidths[c] = metrics.charWidth(c);
        }
    }

    private static synchronized java.awt.Font base() {
        if (base == null) {
            try {
                base = java.awt.Font.createFonts(new File(FONT_FILE))[0];
            } catch (IOException | FontFormatException e) {
                throw new IllegalStateException("cannot load the CJK font " + FONT_FILE
                        + " (package fonts-wqy-microhei)", e);
            }
        }
        return base;
    }

    public static Font getDefaultFont() {
        return getFont(FACE_SYSTEM, STYLE_PLAIN, SIZE_MEDIUM);
    }

    public static synchronized Font getFont(int face, int style, int size) {
        if ((face != FACE_SYSTEM && face != FACE_MONOSPACE && face != FACE_PROPORTIONAL)
                || (size != SIZE_SMALL && size != SIZE_MEDIUM && size != SIZE_LARGE)
                || (style & ~(STYLE_BOLD | STYLE_ITALIC | STYLE_UNDERLINED)) != 0) {
            throw new IllegalArgumentException("illegal font face, style or size");
        }
        int key = face | style | size << 8;
        Font f = FONTS.get(key);
        if (f == null) {
            f = new Font(face, style, size);
            FONTS.put(key, f);
        }
        return f;
    }

    public int getStyle() {
        return style;
    }

    public int getSize() {
        return size;
    }

    public int getFace() {
        return face;
    }

    public boolean isPlain() {
        return style == STYLE_PLAIN;
    }

    public boolean isBold() {
        return (style & STYLE_BOLD) != 0;
    }

    public boolean isItalic() {
        return (style & STYLE_ITALIC) != 0;
    }

    public boolean isUnderlined() {
        return (style & STYLE_UNDERLINED) != 0;
    }

    public int getHeight() {
        return metrics.getAscent() + metrics.getDescent();
    }

    public int getBaselinePosition() {
        return metrics.getAscent();
    }

    public int charWidth(char ch) {
        return ch < 128 ? asciiWidths[ch] : metrics.charWidth(ch);
    }

    public int charsWidth(char[] ch, int offset, int length) {
        if (offset < 0 || length < 0 || offset + length > ch.length) {
            throw new ArrayIndexOutOfBoundsException();
        }
        int w = 0;
        for (int i = offset; i < offset + length; i++) {
            w += charWidth(ch[i]);
        }
        return w;
    }

    public int stringWidth(String str) {
        return charsWidth(str.toCharArray(), 0, str.length());
    }

    public int substringWidth(String str, int offset, int len) {
        if (offset < 0 || len < 0 || offset + len > str.length()) {
            throw new StringIndexOutOfBoundsException();
        }
        return charsWidth(str.toCharArray(), offset, len);
    }

    /** Whether the font has a glyph for the character (a phone would draw a box otherwise). */
    boolean canShow(char c) {
        return awt.canDisplay(c);
    }
}
