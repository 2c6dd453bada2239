package java.io;

/** CLDC 1.0 API stub. */
public class InterruptedIOException extends IOException {
    public InterruptedIOException() { }
    public InterruptedIOException(String message) { super(message); }
}
