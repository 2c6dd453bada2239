package javax.microedition.lcdui.game;

import javax.microedition.lcdui.Canvas;
import javax.microedition.lcdui.Graphics;

/**
 * A class only MIDP 2.0 has: a MIDlet looks for it to learn whether the MIDP 2.0 API is
 * there. The test phone hides it unless it plays a MIDP 2.0 phone (see Phone.midp2).
 */
public abstract class GameCanvas extends Canvas {
    protected GameCanvas(boolean suppressKeyEvents) {
    }

    public void paint(Graphics g) {
    }
}
