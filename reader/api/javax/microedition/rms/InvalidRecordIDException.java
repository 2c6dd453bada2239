package javax.microedition.rms;

/** MIDP 1.0 API stub. */
public class InvalidRecordIDException extends RecordStoreException {
    public InvalidRecordIDException() { }
    public InvalidRecordIDException(String message) { super(message); }
}
