package javax.microedition.lcdui;

/** MIDP 1.0 API stub. */
public interface CommandListener {
    void commandAction(Command c, Displayable d);
}
