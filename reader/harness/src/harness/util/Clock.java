package harness.util;

import java.util.ArrayList;
import java.util.List;

/**
 * The test phone's time, as its timers see it: it stands still until a test lets time pass,
 * and then the tasks due run on the test's own thread, in order of time (tasks due at the
 * same moment in the order they were scheduled). So a test of something that waits waits
 * for nothing and always sees the same order of events.
 */
public final class Clock {
    private static long now;
    private static long sequence;
    private static final List<TimerTask> SCHEDULED = new ArrayList<>();

    private Clock() {
    }

    /** Back to time 0 with nothing scheduled: a phone switched on afresh. */
    public static synchronized void reset() {
        for (TimerTask t : SCHEDULED) {
            t.state = TimerTask.CANCELLED;
        }
        SCHEDULED.clear();
        now = 0;
    }

    public static synchronized long now() {
        return now;
    }

    /** Lets {@code millis} pass, running every task that comes due meanwhile. */
    public static void advance(long millis) {
        if (millis < 0) {
            throw new IllegalArgumentException("time runs forward");
        }
        long end;
        synchronized (Clock.class) {
            end = now + millis;
        }
        while (true) {
            TimerTask next;
            synchronized (Clock.class) {
                next = null;
                for (TimerTask t : SCHEDULED) {
                    if (t.due <= end && (next == null || t.due < next.due
                            || (t.due == next.due && t.sequence < next.sequence))) {
                        next = t;
                    }
                }
                if (next == null) {
                    now = end;
                    return;
                }
                now = next.due;
                next.lastRun = next.due;
                if (next.period > 0) {
                    next.due += next.period;
                    next.sequence = sequence++;
                } else {
                    SCHEDULED.remove(next);
                    next.state = TimerTask.EXECUTED;
                }
            }
            next.run();
        }
    }

    /** Tasks scheduled and not yet run or cancelled. */
    public static synchronized int pending() {
        return SCHEDULED.size();
    }

    static synchronized void schedule(TimerTask task, long delay, long period) {
        task.due = now + delay;
        task.period = period;
        task.sequence = sequence++;
        task.state = TimerTask.SCHEDULED;
        SCHEDULED.add(task);
    }

    static synchronized void unschedule(TimerTask task) {
        SCHEDULED.remove(task);
    }

    static synchronized void unscheduleAll(Timer timer) {
        SCHEDULED.removeIf(t -> {
            if (t.timer == timer) {
                t.state = TimerTask.CANCELLED;
                return true;
            }
            return false;
        });
    }
}
