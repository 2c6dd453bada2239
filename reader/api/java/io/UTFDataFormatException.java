package java.io;

/** CLDC 1.0 API stub. */
public class UTFDataFormatException extends IOException {
    public UTFDataFormatException() { }
    public UTFDataFormatException(String message) { super(message); }
}
