package java.lang;

/** CLDC 1.0 API stub. */
public class NumberFormatException extends IllegalArgumentException {
    public NumberFormatException() { }
    public NumberFormatException(String message) { super(message); }
}
