package javax.microedition.lcdui;

/** MIDP 1.0 API stub: signatures only; the phone supplies the real class. */
public class TextBox extends Screen {
    public TextBox(String title, String text, int maxSize, int constraints) { throw new RuntimeException(); }
    public String getString() { throw new RuntimeException(); }
    public void setString(String text) { throw new RuntimeException(); }
    public int getChars(char[] data) { throw new RuntimeException(); }
    public void setChars(char[] data, int offset, int length) { throw new RuntimeException(); }
    public void insert(String src, int position) { throw new RuntimeException(); }
    public void delete(int offset, int length) { throw new RuntimeException(); }
    public int getMaxSize() { throw new RuntimeException(); }
    public int setMaxSize(int maxSize) { throw new RuntimeException(); }
    public int size() { throw new RuntimeException(); }
    public int getCaretPosition() { throw new RuntimeException(); }
    public void setConstraints(int constraints) { throw new RuntimeException(); }
    public int getConstraints() { throw new RuntimeException(); }
}
