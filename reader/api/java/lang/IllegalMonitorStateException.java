package java.lang;

/** CLDC 1.0 API stub. */
public class IllegalMonitorStateException extends RuntimeException {
    public IllegalMonitorStateException() { }
    public IllegalMonitorStateException(String message) { super(message); }
}
