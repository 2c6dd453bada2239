package java.util;

/** CLDC 1.0 API stub: signatures only; the phone supplies the real class. */
public class Vector {
    protected Object[] elementData;
    protected int elementCount;
    protected int capacityIncrement;
    public Vector(int initialCapacity, int capacityIncrement) { throw new RuntimeException(); }
    public Vector(int initialCapacity) { throw new RuntimeException(); }
    public Vector() { throw new RuntimeException(); }
    public synchronized void copyInto(Object[] anArray) { throw new RuntimeException(); }
    public synchronized void trimToSize() { throw new RuntimeException(); }
    public synchronized void ensureCapacity(int minCapacity) { throw new RuntimeException(); }
    public synchronized void setSize(int newSize) { throw new RuntimeException(); }
    public int capacity() { throw new RuntimeException(); }
    public int size() { throw new RuntimeException(); }
    public boolean isEmpty() { throw new RuntimeException(); }
    public synchronized Enumeration elements() { throw new RuntimeException(); }
    public boolean contains(Object elem) { throw new RuntimeException(); }
    public int indexOf(Object elem) { throw new RuntimeException(); }
    public synchronized int indexOf(Object elem, int index) { throw new RuntimeException(); }
    public int lastIndexOf(Object elem) { throw new RuntimeException(); }
    public synchronized int lastIndexOf(Object elem, int index) { throw new RuntimeException(); }
    public synchronized Object elementAt(int index) { throw new RuntimeException(); }
    public synchronized Object firstElement() { throw new RuntimeException(); }
    public synchronized Object lastElement() { throw new RuntimeException(); }
    public synchronized void setElementAt(Object obj, int index) { throw new RuntimeException(); }
    public synchronized void removeElementAt(int index) { throw new RuntimeException(); }
    public synchronized void insertElementAt(Object obj, int index) { throw new RuntimeException(); }
    public synchronized void addElement(Object obj) { throw new RuntimeException(); }
    public synchronized boolean removeElement(Object obj) { throw new RuntimeException(); }
    public synchronized void removeAllElements() { throw new RuntimeException(); }
    public synchronized String toString() { throw new RuntimeException(); }
}
