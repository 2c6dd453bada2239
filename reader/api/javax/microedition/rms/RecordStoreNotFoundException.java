package javax.microedition.rms;

/** MIDP 1.0 API stub. */
public class RecordStoreNotFoundException extends RecordStoreException {
    public RecordStoreNotFoundException() { }
    public RecordStoreNotFoundException(String message) { super(message); }
}
