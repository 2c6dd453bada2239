package javax.microedition.rms;

/** MIDP 1.0 API stub. */
public class RecordStoreException extends Exception {
    public RecordStoreException() { }
    public RecordStoreException(String message) { super(message); }
}
