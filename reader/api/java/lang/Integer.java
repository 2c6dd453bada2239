package java.lang;

/** CLDC 1.0 API stub: signatures only; the phone supplies the real class. */
public final class Integer {
    public static final int MIN_VALUE = 0x80000000;
    public static final int MAX_VALUE = 0x7fffffff;
    public Integer(int value) { throw new RuntimeException(); }
    public static String toString(int i, int radix) { throw new RuntimeException(); }
    public static String toHexString(int i) { throw new RuntimeException(); }
    public static String toOctalString(int i) { throw new RuntimeException(); }
    public static String toBinaryString(int i) { throw new RuntimeException(); }
    public static String toString(int i) { throw new RuntimeException(); }
    public static int parseInt(String s, int radix) throws NumberFormatException { throw new RuntimeException(); }
    public static int parseInt(String s) throws NumberFormatException { throw new RuntimeException(); }
    public static Integer valueOf(String s, int radix) throws NumberFormatException { throw new RuntimeException(); }
    public static Integer valueOf(String s) throws NumberFormatException { throw new RuntimeException(); }
    public byte byteValue() { throw new RuntimeException(); }
    public short shortValue() { throw new RuntimeException(); }
    public int intValue() { throw new RuntimeException(); }
    public long longValue() { throw new RuntimeException(); }
    public String toString() { throw new RuntimeException(); }
    public int hashCode() { throw new RuntimeException(); }
    public boolean equals(Object obj) { throw new RuntimeException(); }
}
