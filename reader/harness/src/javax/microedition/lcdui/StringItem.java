package javax.microedition.lcdui;

/** Java SE stand-in for the MIDP 1.0 StringItem. */
public class StringItem extends Item {
    private String text;

    public StringItem(String label, String text) {
        this.label = label;
        this.text = text;
    }

    public String getText() {
        return text;
    }

    public void setText(String text) {
        this.text = text;
    }
}
