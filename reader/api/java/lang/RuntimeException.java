package java.lang;

/** CLDC 1.0 API stub. */
public class RuntimeException extends Exception {
    public RuntimeException() { }
    public RuntimeException(String message) { super(message); }
}
