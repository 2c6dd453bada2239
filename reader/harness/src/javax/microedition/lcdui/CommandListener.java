package javax.microedition.lcdui;

/** MIDP 1.0 interface, as on the phones. */
public interface CommandListener {
    void commandAction(Command c, Displayable d);
}
