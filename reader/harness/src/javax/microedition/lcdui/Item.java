package javax.microedition.lcdui;

/** Java SE stand-in for the MIDP 1.0 Item. */
public abstract class Item {
    String label;

    Item() {
    }

    public void setLabel(String label) {
        this.label = label;
    }

    public String getLabel() {
        return label;
    }
}
