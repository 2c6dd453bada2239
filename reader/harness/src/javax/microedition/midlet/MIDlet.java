package javax.microedition.midlet;

/**
 * Java SE stand-in for the MIDP 1.0 MIDlet: the life-cycle calls come from the test's
 * application manager through {@link MIDletAccess}; notifyDestroyed is recorded.
 */
public abstract class MIDlet {
    boolean destroyed;
    boolean paused;

    protected MIDlet() {
    }

    protected abstract void startApp() throws MIDletStateChangeException;

    protected abstract void pauseApp();

    protected abstract void destroyApp(boolean unconditional) throws MIDletStateChangeException;

    public final void notifyDestroyed() {
        destroyed = true;
    }

    public final void notifyPaused() {
        paused = true;
    }

    public final String getAppProperty(String key) {
        return MIDletAccess.properties.get(key);
    }

    public final void resumeRequest() {
    }
}
