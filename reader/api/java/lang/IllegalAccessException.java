package java.lang;

/** CLDC 1.0 API stub. */
public class IllegalAccessException extends Exception {
    public IllegalAccessException() { }
    public IllegalAccessException(String message) { super(message); }
}
