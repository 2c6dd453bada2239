package java.lang;

/** CLDC 1.0 API stub. */
public class InterruptedException extends Exception {
    public InterruptedException() { }
    public InterruptedException(String message) { super(message); }
}
