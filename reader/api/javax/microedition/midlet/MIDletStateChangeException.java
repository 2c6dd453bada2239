package javax.microedition.midlet;

/** MIDP 1.0 API stub. */
public class MIDletStateChangeException extends Exception {
    public MIDletStateChangeException() { }
    public MIDletStateChangeException(String s) { super(s); }
}
