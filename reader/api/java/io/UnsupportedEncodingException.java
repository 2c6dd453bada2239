package java.io;

/** CLDC 1.0 API stub. */
public class UnsupportedEncodingException extends IOException {
    public UnsupportedEncodingException() { }
    public UnsupportedEncodingException(String message) { super(message); }
}
