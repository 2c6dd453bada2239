package java.lang;

/** CLDC 1.0 API stub. */
public class ArrayIndexOutOfBoundsException extends IndexOutOfBoundsException {
    public ArrayIndexOutOfBoundsException() { }
    public ArrayIndexOutOfBoundsException(String message) { super(message); }
}
