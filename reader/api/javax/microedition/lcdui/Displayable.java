package javax.microedition.lcdui;

/** MIDP 1.0 API stub: signatures only; the phone supplies the real class. */
public abstract class Displayable {
    Displayable() { }
    public boolean isShown() { throw new RuntimeException(); }
    public void addCommand(Command cmd) { throw new RuntimeException(); }
    public void removeCommand(Command cmd) { throw new RuntimeException(); }
    public void setCommandListener(CommandListener l) { throw new RuntimeException(); }
}
