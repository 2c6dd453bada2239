package javax.microedition.lcdui;

/** MIDP 1.0 API stub: signatures and the real constant values. */
public class Alert extends Screen {
    public static final int FOREVER = -2;

    public Alert(String title) { throw new RuntimeException(); }
    public Alert(String title, String alertText, Image alertImage, AlertType alertType) { throw new RuntimeException(); }
    public int getDefaultTimeout() { throw new RuntimeException(); }
    public int getTimeout() { throw new RuntimeException(); }
    public void setTimeout(int time) { throw new RuntimeException(); }
    public AlertType getType() { throw new RuntimeException(); }
    public void setType(AlertType type) { throw new RuntimeException(); }
    public String getString() { throw new RuntimeException(); }
    public void setString(String str) { throw new RuntimeException(); }
    public Image getImage() { throw new RuntimeException(); }
    public void setImage(Image img) { throw new RuntimeException(); }
    public void addCommand(Command cmd) { throw new RuntimeException(); }
    public void setCommandListener(CommandListener l) { throw new RuntimeException(); }
}
