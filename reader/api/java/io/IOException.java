package java.io;

/** CLDC 1.0 API stub. */
public class IOException extends Exception {
    public IOException() { }
    public IOException(String message) { super(message); }
}
