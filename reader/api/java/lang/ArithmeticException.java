package java.lang;

/** CLDC 1.0 API stub. */
public class ArithmeticException extends RuntimeException {
    public ArithmeticException() { }
    public ArithmeticException(String message) { super(message); }
}
