package javax.microedition.lcdui;

import java.util.IdentityHashMap;
import java.util.Map;
import javax.microedition.midlet.MIDlet;

/**
 * Java SE stand-in for the MIDP 1.0 Display: one per MIDlet, it keeps the current screen
 * and, while an alert is shown, the screen that follows it. Canvases are told when they
 * are shown and hidden. As on phones, what callSerially is given runs on the event thread
 * after the event being handled: the test phone runs it when the event (a key, a command,
 * a timer's task) is done, before the test goes on, unless the test holds it back.
 */
public class Display {
    private static final Map<MIDlet, Display> DISPLAYS = new IdentityHashMap<>();

    Displayable current;
    /** What callSerially was given and has not run yet; how deep in events the phone is. */
    private final java.util.ArrayDeque<Runnable> serial = new java.util.ArrayDeque<>();
    private int events;
    /** Whether the test holds back what callSerially was given. */
    boolean held;
    /** Shown when the current alert is dismissed. */
    Displayable afterAlert;

    private Display() {
    }

    public static synchronized Display getDisplay(MIDlet m) {
        if (m == null) {
            throw new NullPointerException();
        }
        return DISPLAYS.computeIfAbsent(m, k -> new Display());
    }

    static synchronized void forget(MIDlet m) {
        DISPLAYS.remove(m);
    }

    public boolean isColor() {
        return true;
    }

    public int numColors() {
        return 65536;
    }

    public Displayable getCurrent() {
        return current;
    }

    public void setCurrent(Displayable nextDisplayable) {
        if (nextDisplayable instanceof Alert) {
            setCurrent((Alert) nextDisplayable, current);
            return;
        }
        show(nextDisplayable);
    }

    public void setCurrent(Alert alert, Displayable nextDisplayable) {
        if (alert == null || nextDisplayable == null) {
            throw new NullPointerException();
        }
        if (nextDisplayable instanceof Alert) {
            throw new IllegalArgumentException("an alert cannot follow an alert");
        }
        afterAlert = nextDisplayable;
        show(alert);
    }

    void show(Displayable next) {
        if (next == null || next == current) {
            return;
        }
        Displayable old = current;
        current = next;
        next.shownOn = this;
        if (old instanceof Canvas) {
            ((Canvas) old).hideNotify();
        }
        if (next instanceof Canvas) {
            ((Canvas) next).repaintPending = true;
            ((Canvas) next).showNotify();
        }
    }

    public void callSerially(Runnable r) {
        serial.add(r);
        if (events == 0) {
            runSerially();
        }
    }

    /** Runs an event of the test phone, then what callSerially was given meanwhile. */
    void event(Runnable action) {
        events++;
        try {
            action.run();
        } finally {
            events--;
        }
        if (events == 0) {
            runSerially();
        }
    }

    void runSerially() {
        while (!held && events == 0 && !serial.isEmpty()) {
            event(serial.poll());
        }
    }
}
