package javax.microedition.lcdui;

import javax.microedition.midlet.MIDlet;

/** MIDP 1.0 API stub: signatures only; the phone supplies the real class. */
public class Display {
    private Display() { }
    public static Display getDisplay(MIDlet m) { throw new RuntimeException(); }
    public boolean isColor() { throw new RuntimeException(); }
    public int numColors() { throw new RuntimeException(); }
    public Displayable getCurrent() { throw new RuntimeException(); }
    public void setCurrent(Displayable nextDisplayable) { throw new RuntimeException(); }
    public void setCurrent(Alert alert, Displayable nextDisplayable) { throw new RuntimeException(); }
    public void callSerially(Runnable r) { throw new RuntimeException(); }
}
