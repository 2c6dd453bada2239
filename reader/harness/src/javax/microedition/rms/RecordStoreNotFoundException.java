package javax.microedition.rms;

/** MIDP 1.0 exception, as on the phones. */
public class RecordStoreNotFoundException extends RecordStoreException {
    public RecordStoreNotFoundException() {
    }

    public RecordStoreNotFoundException(String message) {
        super(message);
    }
}
