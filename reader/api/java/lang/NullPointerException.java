package java.lang;

/** CLDC 1.0 API stub. */
public class NullPointerException extends RuntimeException {
    public NullPointerException() { }
    public NullPointerException(String message) { super(message); }
}
