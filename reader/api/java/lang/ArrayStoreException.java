package java.lang;

/** CLDC 1.0 API stub. */
public class ArrayStoreException extends RuntimeException {
    public ArrayStoreException() { }
    public ArrayStoreException(String message) { super(message); }
}
