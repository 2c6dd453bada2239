package java.lang;

/** CLDC 1.0 API stub. */
public class SecurityException extends RuntimeException {
    public SecurityException() { }
    public SecurityException(String message) { super(message); }
}
