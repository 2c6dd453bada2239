package java.lang;

/** CLDC 1.0 API stub: integer arithmetic only, as on the phones. */
public final class Math {
    private Math() { }
    public static int abs(int a) { throw new RuntimeException(); }
    public static long abs(long a) { throw new RuntimeException(); }
    public static int max(int a, int b) { throw new RuntimeException(); }
    public static long max(long a, long b) { throw new RuntimeException(); }
    public static int min(int a, int b) { throw new RuntimeException(); }
    public static long min(long a, long b) { throw new RuntimeException(); }
}
