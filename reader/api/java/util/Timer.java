package java.util;

/** MIDP 1.0 API stub: signatures only; the phone supplies the real class. */
public class Timer {
    public Timer() { throw new RuntimeException(); }
    public void schedule(TimerTask task, long delay) { throw new RuntimeException(); }
    public void schedule(TimerTask task, long delay, long period) { throw new RuntimeException(); }
    public void scheduleAtFixedRate(TimerTask task, long delay, long period) { throw new RuntimeException(); }
    public void cancel() { throw new RuntimeException(); }
}
