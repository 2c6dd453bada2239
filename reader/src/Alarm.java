import java.util.TimerTask;

/** A task of the reader's timer: hands its kind to {@link Lumenread#alarm} in the timer's thread. */
final class Alarm extends TimerTask {
    private final Lumenread app;
    private final int kind;

    Alarm(Lumenread app, int kind) {
        this.app = app;
        this.kind = kind;
    }

    public void run() {
        app.alarm(kind);
    }
}
