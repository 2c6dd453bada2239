package javax.microedition.lcdui;

/**
 * Java SE stand-in for the MIDP 1.0 TextBox: a title and text that the user edits (the test
 * types it with Screens.type), limited to a maximum size and by input constraints.
 */
public class TextBox extends Screen {
    private String text;
    private int maxSize;
    private int constraints;

    public TextBox(String title, String text, int maxSize, int constraints) {
        this.title = title;
        this.maxSize = TextField.checkedMaxSize(maxSize);
        this.constraints = TextField.checkedConstraints(constraints);
        setString(text);
    }

    public String getString() {
        return text;
    }

    public void setString(String text) {
        this.text = TextField.checkedText(text, maxSize, constraints);
    }

    public int getChars(char[] data) {
        text.getChars(0, text.length(), data, 0);
        return text.length();
    }

    public void setChars(char[] data, int offset, int length) {
        setString(data == null ? "" : new String(data, offset, length));
    }

    public void insert(String src, int position) {
        int p = Math.max(0, Math.min(position, text.length()));
        setString(text.substring(0, p) + src + text.substring(p));
    }

    public void delete(int offset, int length) {
        if (offset < 0 || length < 0 || offset + length > text.length()) {
            throw new StringIndexOutOfBoundsException();
        }
        setString(text.substring(0, offset) + text.substring(offset + length));
    }

    public int getMaxSize() {
        return maxSize;
    }

    public int setMaxSize(int maxSize) {
        int m = TextField.checkedMaxSize(maxSize);
        if (text.length() > m) {
            text = text.substring(0, m);
        }
        this.maxSize = m;
        return m;
    }

    public int size() {
        return text.length();
    }

    public int getCaretPosition() {
        return text.length();
    }

    public void setConstraints(int constraints) {
        this.constraints = TextField.checkedConstraints(constraints);
        try {
            TextField.checkedText(text, maxSize, this.constraints);
        } catch (IllegalArgumentException e) {
            text = "";
        }
    }

    public int getConstraints() {
        return constraints;
    }
}
