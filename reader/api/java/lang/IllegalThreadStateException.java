package java.lang;

/** CLDC 1.0 API stub. */
public class IllegalThreadStateException extends IllegalArgumentException {
    public IllegalThreadStateException() { }
    public IllegalThreadStateException(String message) { super(message); }
}
