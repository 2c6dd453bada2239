package java.lang;

/** CLDC 1.0 API stub. */
public class StringIndexOutOfBoundsException extends IndexOutOfBoundsException {
    public StringIndexOutOfBoundsException() { }
    public StringIndexOutOfBoundsException(String message) { super(message); }
}
