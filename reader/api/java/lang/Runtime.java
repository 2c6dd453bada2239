package java.lang;

/** CLDC 1.0 API stub: signatures only; the phone supplies the real class. */
public class Runtime {
    private Runtime() { }
    public static Runtime getRuntime() { throw new RuntimeException(); }
    public void exit(int status) { throw new RuntimeException(); }
    public native long freeMemory();
    public native long totalMemory();
    public native void gc();
}
