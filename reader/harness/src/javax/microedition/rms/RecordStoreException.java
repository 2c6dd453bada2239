package javax.microedition.rms;

/** MIDP 1.0 exception, as on the phones. */
public class RecordStoreException extends Exception {
    public RecordStoreException() {
    }

    public RecordStoreException(String message) {
        super(message);
    }
}
