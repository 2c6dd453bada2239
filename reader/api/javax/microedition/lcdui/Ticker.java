package javax.microedition.lcdui;

/** MIDP 1.0 API stub: signatures only; the phone supplies the real class. */
public class Ticker {
    public Ticker(String str) { throw new RuntimeException(); }
    public void setString(String str) { throw new RuntimeException(); }
    public String getString() { throw new RuntimeException(); }
}
