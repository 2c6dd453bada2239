package java.lang;

/** CLDC 1.0 API stub: signatures only; the phone supplies the real class. */
public final class System {
    private System() { }
    public static final java.io.PrintStream out = null;
    public static final java.io.PrintStream err = null;
    public static native long currentTimeMillis();
    public static native void arraycopy(Object src, int srcPos, Object dst, int dstPos, int length);
    public static native int identityHashCode(Object x);
    public static String getProperty(String key) { throw new RuntimeException(); }
    public static void exit(int status) { throw new RuntimeException(); }
    public static void gc() { throw new RuntimeException(); }
}
