package java.util;

/** MIDP 1.0 API stub: signatures only; the phone supplies the real class. */
public abstract class TimerTask implements Runnable {
    protected TimerTask() { throw new RuntimeException(); }
    public abstract void run();
    public boolean cancel() { throw new RuntimeException(); }
    public long scheduledExecutionTime() { throw new RuntimeException(); }
}
