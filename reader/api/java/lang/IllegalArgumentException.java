package java.lang;

/** CLDC 1.0 API stub. */
public class IllegalArgumentException extends RuntimeException {
    public IllegalArgumentException() { }
    public IllegalArgumentException(String message) { super(message); }
}
