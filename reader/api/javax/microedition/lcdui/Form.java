package javax.microedition.lcdui;

/** MIDP 1.0 API stub: signatures only; the phone supplies the real class. */
public class Form extends Screen {
    public Form(String title) { throw new RuntimeException(); }
    public Form(String title, Item[] items) { throw new RuntimeException(); }
    public int append(Item item) { throw new RuntimeException(); }
    public int append(String str) { throw new RuntimeException(); }
    public int append(Image img) { throw new RuntimeException(); }
    public void insert(int itemNum, Item item) { throw new RuntimeException(); }
    public void delete(int itemNum) { throw new RuntimeException(); }
    public void set(int itemNum, Item item) { throw new RuntimeException(); }
    public Item get(int itemNum) { throw new RuntimeException(); }
    public int size() { throw new RuntimeException(); }
}
