package java.lang;

/** CLDC 1.0 API stub. */
public class ClassNotFoundException extends Exception {
    public ClassNotFoundException() { }
    public ClassNotFoundException(String message) { super(message); }
}
