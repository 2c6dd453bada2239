package javax.microedition.lcdui;

/** MIDP 1.0 API stub: signatures only; the phone supplies the real class. */
public abstract class Screen extends Displayable {
    Screen() { }
    public String getTitle() { throw new RuntimeException(); }
    public void setTitle(String s) { throw new RuntimeException(); }
    public Ticker getTicker() { throw new RuntimeException(); }
    public void setTicker(Ticker ticker) { throw new RuntimeException(); }
}
