package java.lang;

/** CLDC 1.0 API stub. */
public class InstantiationException extends Exception {
    public InstantiationException() { }
    public InstantiationException(String message) { super(message); }
}
