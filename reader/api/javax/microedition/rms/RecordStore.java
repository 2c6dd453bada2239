package javax.microedition.rms;

/** MIDP 1.0 API stub: signatures only; the phone supplies the real class. */
public class RecordStore {
    private RecordStore() { }
    public static RecordStore openRecordStore(String recordStoreName, boolean createIfNecessary)
            throws RecordStoreException, RecordStoreFullException, RecordStoreNotFoundException { throw new RuntimeException(); }
    public static void deleteRecordStore(String recordStoreName)
            throws RecordStoreException, RecordStoreNotFoundException { throw new RuntimeException(); }
    public static String[] listRecordStores() { throw new RuntimeException(); }
    public void closeRecordStore() throws RecordStoreNotOpenException, RecordStoreException { throw new RuntimeException(); }
    public String getName() throws RecordStoreNotOpenException { throw new RuntimeException(); }
    public int getVersion() throws RecordStoreNotOpenException { throw new RuntimeException(); }
    public int getNumRecords() throws RecordStoreNotOpenException { throw new RuntimeException(); }
    public int getSize() throws RecordStoreNotOpenException { throw new RuntimeException(); }
    public int getSizeAvailable() throws RecordStoreNotOpenException { throw new RuntimeException(); }
    public long getLastModified() throws RecordStoreNotOpenException { throw new RuntimeException(); }
    public int getNextRecordID() throws RecordStoreNotOpenException, RecordStoreException { throw new RuntimeException(); }
    public int addRecord(byte[] data, int offset, int numBytes)
            throws RecordStoreNotOpenException, RecordStoreException, RecordStoreFullException { throw new RuntimeException(); }
    public void deleteRecord(int recordId)
            throws RecordStoreNotOpenException, InvalidRecordIDException, RecordStoreException { throw new RuntimeException(); }
    public int getRecordSize(int recordId)
            throws RecordStoreNotOpenException, InvalidRecordIDException, RecordStoreException { throw new RuntimeException(); }
    public int getRecord(int recordId, byte[] buffer, int offset)
            throws RecordStoreNotOpenException, InvalidRecordIDException, RecordStoreException { throw new RuntimeException(); }
    public byte[] getRecord(int recordId)
            throws RecordStoreNotOpenException, InvalidRecordIDException, RecordStoreException { throw new RuntimeException(); }
    public void setRecord(int recordId, byte[] newData, int offset, int numBytes)
            throws RecordStoreNotOpenException, InvalidRecordIDException, RecordStoreException, RecordStoreFullException { throw new RuntimeException(); }
}
