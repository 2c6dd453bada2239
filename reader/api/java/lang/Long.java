package java.lang;

/** CLDC 1.0 API stub: signatures only; the phone supplies the real class. */
public final class Long {
    public static final long MIN_VALUE = 0x8000000000000000L;
    public static final long MAX_VALUE = 0x7fffffffffffffffL;
    public Long(long value) { throw new RuntimeException(); }
    public static long parseLong(String s, int radix) throws NumberFormatException { throw new RuntimeException(); }
    public static long parseLong(String s) throws NumberFormatException { throw new RuntimeException(); }
    public static String toString(long i, int radix) { throw new RuntimeException(); }
    public static String toString(long i) { throw new RuntimeException(); }
    public long longValue() { throw new RuntimeException(); }
    public String toString() { throw new RuntimeException(); }
    public int hashCode() { throw new RuntimeException(); }
    public boolean equals(Object obj) { throw new RuntimeException(); }
}
