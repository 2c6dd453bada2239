package java.lang;

/** CLDC 1.0 API stub. */
public class NegativeArraySizeException extends RuntimeException {
    public NegativeArraySizeException() { }
    public NegativeArraySizeException(String message) { super(message); }
}
