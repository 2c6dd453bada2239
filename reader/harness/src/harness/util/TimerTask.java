package harness.util;

/** The test phone's java.util.TimerTask (MIDP 1.0), run by {@link Timer} on the {@link Clock}. */
public abstract class TimerTask implements Runnable {
    static final int VIRGIN = 0;
    static final int SCHEDULED = 1;
    static final int EXECUTED = 2;
    static final int CANCELLED = 3;

    int state = VIRGIN;
    Timer timer;
    long due;
    long period;
    long sequence;
    long lastRun;

    protected TimerTask() {
    }

    public abstract void run();

    /** Stops the task from running again; true if that prevented a run. */
    public boolean cancel() {
        boolean prevented = state == SCHEDULED;
        state = CANCELLED;
        Clock.unschedule(this);
        return prevented;
    }

    public long scheduledExecutionTime() {
        return lastRun;
    }
}
