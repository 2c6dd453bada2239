package javax.microedition.lcdui;

/** MIDP 1.0 API stub: signatures only; the phone supplies the real class. */
public class AlertType {
    public static final AlertType INFO = null;
    public static final AlertType WARNING = null;
    public static final AlertType ERROR = null;
    public static final AlertType ALARM = null;
    public static final AlertType CONFIRMATION = null;

    protected AlertType() { throw new RuntimeException(); }
    public boolean playSound(Display display) { throw new RuntimeException(); }
}
