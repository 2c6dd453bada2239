package javax.microedition.lcdui;

/** Java SE stand-in for the MIDP 1.0 Ticker (shown still, not scrolling). */
public class Ticker {
    private String text;

    public Ticker(String str) {
        setString(str);
    }

    public void setString(String str) {
        if (str == null) {
            throw new NullPointerException();
        }
        text = str;
    }

    public String getString() {
        return text;
    }
}
