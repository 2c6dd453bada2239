package javax.microedition.lcdui;

/**
 * Java SE stand-in for the MIDP 1.0 TextField, and the check of input constraints that it
 * shares with {@link TextBox}: as on phones, text a constraint does not allow is refused with
 * IllegalArgumentException.
 */
public class TextField extends Item {
    public static final int ANY = 0;
    public static final int EMAILADDR = 1;
    public static final int NUMERIC = 2;
    public static final int PHONENUMBER = 3;
    public static final int URL = 4;
    public static final int PASSWORD = 0x10000;
    public static final int CONSTRAINT_MASK = 0xFFFF;

    private String text;
    private final int maxSize;
    private final int constraints;

    public TextField(String label, String text, int maxSize, int constraints) {
        this.label = label;
        this.maxSize = checkedMaxSize(maxSize);
        this.constraints = checkedConstraints(constraints);
        setString(text);
    }

    public String getString() {
        return text;
    }

    public void setString(String text) {
        this.text = checkedText(text, maxSize, constraints);
    }

    public int getMaxSize() {
        return maxSize;
    }

    public int size() {
        return text.length();
    }

    public int getConstraints() {
        return constraints;
    }

    static int checkedMaxSize(int maxSize) {
        if (maxSize <= 0) {
            throw new IllegalArgumentException("maxSize " + maxSize);
        }
        return maxSize;
    }

    static int checkedConstraints(int constraints) {
        int kind = constraints & CONSTRAINT_MASK;
        if (kind > URL || (constraints & ~(CONSTRAINT_MASK | PASSWORD)) != 0) {
            throw new IllegalArgumentException("constraints " + constraints);
        }
        return constraints;
    }

    /** The text if it fits and the constraints allow it (null counts as empty). */
    static String checkedText(String text, int maxSize, int constraints) {
        String t = text == null ? "" : text;
        if (t.length() > maxSize) {
            throw new IllegalArgumentException("\"" + t + "\" is longer than " + maxSize);
        }
        if ((constraints & CONSTRAINT_MASK) == NUMERIC && !t.matches("-?[0-9]*")) {
            throw new IllegalArgumentException("\"" + t + "\" is not a number");
        }
        return t;
    }
}
