package harness.util;

/**
 * The test phone's java.util.Timer (MIDP 1.0). Java SE keeps java.util for itself, so the
 * test phone links the MIDlet's uses of java.util.Timer and java.util.TimerTask to this class
 * and {@link TimerTask} when it loads the MIDlet (see harness.Phone). Its tasks run as
 * {@link Clock} lets time pass; arguments are checked as the real class checks them.
 */
public class Timer {
    private boolean cancelled;

    public Timer() {
    }

    public void schedule(TimerTask task, long delay) {
        if (delay < 0) {
            throw new IllegalArgumentException("negative delay");
        }
        start(task, delay, 0);
    }

    public void schedule(TimerTask task, long delay, long period) {
        if (delay < 0 || period <= 0) {
            throw new IllegalArgumentException("negative delay or period not positive");
        }
        start(task, delay, period);
    }

    /** The same as schedule here: tasks take no time on the virtual clock, so none run late. */
    public void scheduleAtFixedRate(TimerTask task, long delay, long period) {
        schedule(task, delay, period);
    }

    public void cancel() {
        cancelled = true;
        Clock.unscheduleAll(this);
    }

    private void start(TimerTask task, long delay, long period) {
        if (task == null) {
            throw new NullPointerException();
        }
        if (cancelled) {
            throw new IllegalStateException("timer cancelled");
        }
        if (task.state != TimerTask.VIRGIN) {
            throw new IllegalStateException("task already scheduled or cancelled");
        }
        task.timer = this;
        Clock.schedule(task, delay, period);
    }
}
