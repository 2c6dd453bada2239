package java.lang;

/** CLDC 1.0 API stub: signatures only; the phone supplies the real class. */
public final class Class {
    private Class() { }
    public static Class forName(String className) throws ClassNotFoundException { throw new RuntimeException(); }
    public Object newInstance() throws InstantiationException, IllegalAccessException { throw new RuntimeException(); }
    public boolean isInstance(Object obj) { throw new RuntimeException(); }
    public boolean isAssignableFrom(Class cls) { throw new RuntimeException(); }
    public boolean isInterface() { throw new RuntimeException(); }
    public boolean isArray() { throw new RuntimeException(); }
    public String getName() { throw new RuntimeException(); }
    public String toString() { throw new RuntimeException(); }
    public java.io.InputStream getResourceAsStream(String name) { throw new RuntimeException(); }
}
