package java.util;

/** CLDC 1.0 API stub. */
public class NoSuchElementException extends RuntimeException {
    public NoSuchElementException() { }
    public NoSuchElementException(String message) { super(message); }
}
