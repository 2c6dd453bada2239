package java.lang;

/** CLDC 1.0 API stub: signatures only; the phone supplies the real class. */
public class Object {
    public Object() { }
    public final native Class getClass();
    public native int hashCode();
    public boolean equals(Object obj) { throw new RuntimeException(); }
    public String toString() { throw new RuntimeException(); }
    public final native void notify();
    public final native void notifyAll();
    public final native void wait(long timeout) throws InterruptedException;
    public final void wait(long timeout, int nanos) throws InterruptedException { throw new RuntimeException(); }
    public final void wait() throws InterruptedException { throw new RuntimeException(); }
}
