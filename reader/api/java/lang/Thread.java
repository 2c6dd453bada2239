package java.lang;

/** CLDC 1.0 API stub: signatures only; the phone supplies the real class. */
public class Thread implements Runnable {
    public static final int MIN_PRIORITY = 1;
    public static final int NORM_PRIORITY = 5;
    public static final int MAX_PRIORITY = 10;
    public Thread() { throw new RuntimeException(); }
    public Thread(Runnable target) { throw new RuntimeException(); }
    public static native Thread currentThread();
    public static native void yield();
    public static native void sleep(long millis) throws InterruptedException;
    public synchronized void start() { throw new RuntimeException(); }
    public void run() { throw new RuntimeException(); }
    public final boolean isAlive() { throw new RuntimeException(); }
    public final void setPriority(int newPriority) { throw new RuntimeException(); }
    public final int getPriority() { throw new RuntimeException(); }
    public static int activeCount() { throw new RuntimeException(); }
    public final void join() throws InterruptedException { throw new RuntimeException(); }
    public String toString() { throw new RuntimeException(); }
}
