package java.util;

/** CLDC 1.0 API stub: signatures only; the phone supplies the real class. */
public class Hashtable {
    public Hashtable(int initialCapacity) { throw new RuntimeException(); }
    public Hashtable() { throw new RuntimeException(); }
    public int size() { throw new RuntimeException(); }
    public boolean isEmpty() { throw new RuntimeException(); }
    public synchronized Enumeration keys() { throw new RuntimeException(); }
    public synchronized Enumeration elements() { throw new RuntimeException(); }
    public synchronized boolean contains(Object value) { throw new RuntimeException(); }
    public synchronized boolean containsKey(Object key) { throw new RuntimeException(); }
    public synchronized Object get(Object key) { throw new RuntimeException(); }
    public synchronized Object put(Object key, Object value) { throw new RuntimeException(); }
    public synchronized Object remove(Object key) { throw new RuntimeException(); }
    public synchronized void clear() { throw new RuntimeException(); }
    public synchronized String toString() { throw new RuntimeException(); }
}
