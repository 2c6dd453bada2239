package javax.microedition.rms;

/** MIDP 1.0 API stub. */
public class RecordStoreNotOpenException extends RecordStoreException {
    public RecordStoreNotOpenException() { }
    public RecordStoreNotOpenException(String message) { super(message); }
}
