package javax.microedition.rms;

/** MIDP 1.0 exception, as on the phones. */
public class InvalidRecordIDException extends RecordStoreException {
    public InvalidRecordIDException() {
    }

    public InvalidRecordIDException(String message) {
        super(message);
    }
}
