package javax.microedition.rms;

import java.util.ArrayList;
import java.util.LinkedHashMap;
import java.util.List;
import java.util.Map;

/**
 * Java SE stand-in for the MIDP 1.0 record store, kept in memory for the life of the test
 * JVM (like a phone's flash across runs of a MIDlet). Record ids start at 1 and are never
 * reused; a store must be open to be used.
 */
public class RecordStore {
    static final Map<String, RecordStore> STORES = new LinkedHashMap<>();

    private final String name;
    private final List<byte[]> records = new ArrayList<>(); // index = id - 1; null = deleted
    private int openCount;
    int version;
    private long lastModified;

    private RecordStore(String name) {
        this.name = name;
    }

    public static synchronized RecordStore openRecordStore(String recordStoreName, boolean createIfNecessary)
            throws RecordStoreException, RecordStoreFullException, RecordStoreNotFoundException {
        if (recordStoreName.length() < 1 || recordStoreName.length() > 32) {
            throw new IllegalArgumentException("record store name must be 1 to 32 characters");
        }
        RecordStore rs = STORES.get(recordStoreName);
        if (rs == null) {
            if (!createIfNecessary) {
                throw new RecordStoreNotFoundException(recordStoreName);
            }
            rs = new RecordStore(recordStoreName);
            STORES.put(recordStoreName, rs);
        }
        rs.openCount++;
        return rs;
    }

    public static synchronized void deleteRecordStore(String recordStoreName)
            throws RecordStoreException, RecordStoreNotFoundException {
        RecordStore rs = STORES.get(recordStoreName);
        if (rs == null) {
            throw new RecordStoreNotFoundException(recordStoreName);
        }
        if (rs.openCount > 0) {
            throw new RecordStoreException("record store is open");
        }
        STORES.remove(recordStoreName);
    }

    public static synchronized String[] listRecordStores() {
        return STORES.isEmpty() ? null : STORES.keySet().toArray(new String[0]);
    }

    private void checkOpen() throws RecordStoreNotOpenException {
        if (openCount == 0) {
            throw new RecordStoreNotOpenException(name);
        }
    }

    private byte[] record(int recordId) throws RecordStoreNotOpenException, InvalidRecordIDException {
        checkOpen();
        if (recordId < 1 || recordId > records.size() || records.get(recordId - 1) == null) {
            throw new InvalidRecordIDException(String.valueOf(recordId));
        }
        return records.get(recordId - 1);
    }

    private void changed() {
        version++;
        lastModified = System.currentTimeMillis();
    }

    public synchronized void closeRecordStore() throws RecordStoreNotOpenException, RecordStoreException {
        checkOpen();
        openCount--;
    }

    public String getName() throws RecordStoreNotOpenException {
        checkOpen();
        return name;
    }

    public int getVersion() throws RecordStoreNotOpenException {
        checkOpen();
        return version;
    }

    public synchronized int getNumRecords() throws RecordStoreNotOpenException {
        checkOpen();
        int n = 0;
        for (byte[] r : records) {
            if (r != null) {
                n++;
            }
        }
        return n;
    }

    public synchronized int getSize() throws RecordStoreNotOpenException {
        checkOpen();
        int n = 0;
        for (byte[] r : records) {
            if (r != null) {
                n += r.length;
            }
        }
        return n;
    }

    public int getSizeAvailable() throws RecordStoreNotOpenException {
        checkOpen();
        return 64 * 1024;
    }

    public long getLastModified() throws RecordStoreNotOpenException {
        checkOpen();
        return lastModified;
    }

    public synchronized int getNextRecordID() throws RecordStoreNotOpenException, RecordStoreException {
        checkOpen();
        return records.size() + 1;
    }

    public synchronized int addRecord(byte[] data, int offset, int numBytes)
            throws RecordStoreNotOpenException, RecordStoreException, RecordStoreFullException {
        checkOpen();
        byte[] copy = new byte[numBytes];
        if (numBytes > 0) {
            System.arraycopy(data, offset, copy, 0, numBytes);
        }
        records.add(copy);
        changed();
        return records.size();
    }

    public synchronized void deleteRecord(int recordId)
            throws RecordStoreNotOpenException, InvalidRecordIDException, RecordStoreException {
        record(recordId);
        records.set(recordId - 1, null);
        changed();
    }

    public synchronized int getRecordSize(int recordId)
            throws RecordStoreNotOpenException, InvalidRecordIDException, RecordStoreException {
        return record(recordId).length;
    }

    public synchronized int getRecord(int recordId, byte[] buffer, int offset)
            throws RecordStoreNotOpenException, InvalidRecordIDException, RecordStoreException {
        byte[] r = record(recordId);
        System.arraycopy(r, 0, buffer, offset, r.length);
        return r.length;
    }

    public synchronized byte[] getRecord(int recordId)
            throws RecordStoreNotOpenException, InvalidRecordIDException, RecordStoreException {
        byte[] r = record(recordId);
        return r.length == 0 ? null : r.clone();
    }

    public synchronized void setRecord(int recordId, byte[] newData, int offset, int numBytes)
            throws RecordStoreNotOpenException, InvalidRecordIDException, RecordStoreException,
            RecordStoreFullException {
        record(recordId);
        byte[] copy = new byte[numBytes];
        System.arraycopy(newData, offset, copy, 0, numBytes);
        records.set(recordId - 1, copy);
        changed();
    }
}
