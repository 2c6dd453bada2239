package javax.microedition.lcdui;

/** MIDP 1.0 API stub: signatures and the real constant values. */
public class TextField extends Item {
    public static final int ANY = 0;
    public static final int EMAILADDR = 1;
    public static final int NUMERIC = 2;
    public static final int PHONENUMBER = 3;
    public static final int URL = 4;
    public static final int PASSWORD = 0x10000;
    public static final int CONSTRAINT_MASK = 0xFFFF;

    public TextField(String label, String text, int maxSize, int constraints) { throw new RuntimeException(); }
    public String getString() { throw new RuntimeException(); }
    public void setString(String text) { throw new RuntimeException(); }
    public int getMaxSize() { throw new RuntimeException(); }
    public int size() { throw new RuntimeException(); }
    public int getConstraints() { throw new RuntimeException(); }
}
