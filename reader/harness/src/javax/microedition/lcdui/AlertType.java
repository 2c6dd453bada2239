package javax.microedition.lcdui;

/** Java SE stand-in for the MIDP 1.0 AlertType (silent). */
public class AlertType {
    public static final AlertType INFO = new AlertType("INFO");
    public static final AlertType WARNING = new AlertType("WARNING");
    public static final AlertType ERROR = new AlertType("ERROR");
    public static final AlertType ALARM = new AlertType("ALARM");
    public static final AlertType CONFIRMATION = new AlertType("CONFIRMATION");

    private final String name;

    protected AlertType() {
        this("custom");
    }

    private AlertType(String name) {
        this.name = name;
    }

    public boolean playSound(Display display) {
        return false;
    }

    public String toString() {
        return name;
    }
}
