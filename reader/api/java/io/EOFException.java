package java.io;

/** CLDC 1.0 API stub. */
public class EOFException extends IOException {
    public EOFException() { }
    public EOFException(String message) { super(message); }
}
