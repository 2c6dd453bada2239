package javax.microedition.rms;

/** MIDP 1.0 API stub. */
public class RecordStoreFullException extends RecordStoreException {
    public RecordStoreFullException() { }
    public RecordStoreFullException(String message) { super(message); }
}
