package javax.microedition.lcdui;

/**
 * One piece of text drawn on a Canvas, as the test sees it: the characters, the box they
 * occupy (left, top, width, height in canvas pixels, after anchoring and translation) and
 * the font they were drawn in. Not part of MIDP.
 */
public final class DrawnText {
    public final String text;
    public final int x;
    public final int y;
    public final int width;
    public final int height;
    public final Font font;
    /** The colour it was drawn in, 0xRRGGBB. */
    public final int colour;

    DrawnText(String text, int x, int y, int width, int height, Font font, int colour) {
        this.text = text;
        this.x = x;
        this.y = y;
        this.width = width;
        this.height = height;
        this.font = font;
        this.colour = colour;
    }

    public String toString() {
        return "\"" + text + "\" at " + x + "," + y + " width " + width;
    }
}
