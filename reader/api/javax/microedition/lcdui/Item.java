package javax.microedition.lcdui;

/** MIDP 1.0 API stub: signatures only; the phone supplies the real class. */
public abstract class Item {
    Item() { }
    public void setLabel(String label) { throw new RuntimeException(); }
    public String getLabel() { throw new RuntimeException(); }
}
