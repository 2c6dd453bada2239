package java.lang;

/** CLDC 1.0 API stub. */
public class IndexOutOfBoundsException extends RuntimeException {
    public IndexOutOfBoundsException() { }
    public IndexOutOfBoundsException(String message) { super(message); }
}
