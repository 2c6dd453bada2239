package javax.microedition.lcdui;

/** MIDP 1.0 API stub: signatures only; the phone supplies the real class. */
public class StringItem extends Item {
    public StringItem(String label, String text) { throw new RuntimeException(); }
    public String getText() { throw new RuntimeException(); }
    public void setText(String text) { throw new RuntimeException(); }
}
