package javax.microedition.rms;

/** Test access to the phone's record stores (not part of MIDP). */
public final class RecordStores {
    private RecordStores() {
    }

    /** Forgets every store, as a fresh install of a MIDlet suite. */
    public static synchronized void clear() {
        RecordStore.STORES.clear();
    }

    /** How many times the store {@code name} was changed since it was created; 0 if there is none. */
    public static synchronized int writes(String name) {
        RecordStore rs = RecordStore.STORES.get(name);
        return rs == null ? 0 : rs.version;
    }

    /** Whether a store has been left open (the phone would keep it locked). */
    public static synchronized boolean anyOpen() {
        for (RecordStore rs : RecordStore.STORES.values()) {
            try {
                rs.getName();
                return true;
            } catch (RecordStoreNotOpenException e) {
                // closed, as it should be between uses
            }
        }
        return false;
    }
}
