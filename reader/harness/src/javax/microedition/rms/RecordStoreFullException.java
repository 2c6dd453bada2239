package javax.microedition.rms;

/** MIDP 1.0 exception, as on the phones. */
public class RecordStoreFullException extends RecordStoreException {
    public RecordStoreFullException() {
    }

    public RecordStoreFullException(String message) {
        super(message);
    }
}
