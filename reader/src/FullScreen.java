import javax.microedition.lcdui.Canvas;

/**
 * Makes the reading screen full-screen. Uses the MIDP 2.0 API, so it is loaded by name and
 * only where that API exists: MIDP 1.0 phones never load it.
 */
public final class FullScreen implements Runnable {
    /** Public: some phones' Class.newInstance refuses a class or constructor that is not. */
    public FullScreen() {
    }

    public void run() {
        ((Canvas) ReadingCanvas.current).setFullScreenMode(true);
    }
}
