package javax.microedition.midlet;

import java.util.HashMap;
import java.util.Map;

/**
 * The test's application manager: starts, pauses and destroys a MIDlet as a phone's
 * would. Not part of MIDP; kept outside the MIDlet class so that nothing of it can clash
 * with the names of the reader's (obfuscated) methods.
 */
public final class MIDletAccess {
    static Map<String, String> properties = new HashMap<>();

    private MIDletAccess() {
    }

    public static void setProperties(Map<String, String> manifest) {
        properties = new HashMap<>(manifest);
    }

    public static void start(MIDlet m) throws MIDletStateChangeException {
        m.paused = false;
        m.startApp();
    }

    public static void pause(MIDlet m) {
        m.pauseApp();
        m.paused = true;
    }

    public static void destroy(MIDlet m) throws MIDletStateChangeException {
        m.destroyApp(true);
        m.destroyed = true;
    }

    /** Whether the MIDlet asked to end (notifyDestroyed) or was destroyed. */
    public static boolean isDestroyed(MIDlet m) {
        return m.destroyed;
    }
}
