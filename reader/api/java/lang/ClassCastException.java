package java.lang;

/** CLDC 1.0 API stub. */
public class ClassCastException extends RuntimeException {
    public ClassCastException() { }
    public ClassCastException(String message) { super(message); }
}
