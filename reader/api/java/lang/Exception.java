package java.lang;

/** CLDC 1.0 API stub. */
public class Exception extends Throwable {
    public Exception() { }
    public Exception(String message) { super(message); }
}
