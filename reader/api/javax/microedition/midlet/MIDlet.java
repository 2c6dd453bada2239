package javax.microedition.midlet;

/** MIDP 1.0 API stub: signatures only; the phone supplies the real class. */
public abstract class MIDlet {
    protected MIDlet() { throw new RuntimeException(); }
    protected abstract void startApp() throws MIDletStateChangeException;
    protected abstract void pauseApp();
    protected abstract void destroyApp(boolean unconditional) throws MIDletStateChangeException;
    public final void notifyDestroyed() { throw new RuntimeException(); }
    public final void notifyPaused() { throw new RuntimeException(); }
    public final String getAppProperty(String key) { throw new RuntimeException(); }
    public final void resumeRequest() { throw new RuntimeException(); }
}
