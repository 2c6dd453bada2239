package javax.microedition.midlet;

/** MIDP 1.0 exception, as on the phones. */
public class MIDletStateChangeException extends Exception {
    public MIDletStateChangeException() {
    }

    public MIDletStateChangeException(String s) {
        super(s);
    }
}
