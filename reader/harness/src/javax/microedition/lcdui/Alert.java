package javax.microedition.lcdui;

/** Java SE stand-in for the MIDP 1.0 Alert; the test dismisses it as a user would. */
public class Alert extends Screen {
    public static final int FOREVER = -2;

    private String text;
    private Image image;
    private AlertType type;
    private int timeout = getDefaultTimeout();

    public Alert(String title) {
        this(title, null, null, null);
    }

    public Alert(String title, String alertText, Image alertImage, AlertType alertType) {
        this.title = title;
        this.text = alertText;
        this.image = alertImage;
        this.type = alertType;
    }

    public int getDefaultTimeout() {
        return 2000;
    }

    public int getTimeout() {
        return timeout;
    }

    public void setTimeout(int time) {
        if (time <= 0 && time != FOREVER) {
            throw new IllegalArgumentException("illegal timeout " + time);
        }
        timeout = time;
    }

    public AlertType getType() {
        return type;
    }

    public void setType(AlertType type) {
        this.type = type;
    }

    public String getString() {
        return text;
    }

    public void setString(String str) {
        text = str;
    }

    public Image getImage() {
        return image;
    }

    public void setImage(Image img) {
        image = img;
    }

    public void addCommand(Command cmd) {
        throw new IllegalStateException("MIDP 1.0 alerts take no commands");
    }

    public void setCommandListener(CommandListener l) {
        throw new IllegalStateException("MIDP 1.0 alerts take no listener");
    }
}
