package java.lang;

/** CLDC 1.0 API stub: signatures only; the phone supplies the real class. */
public final class Character {
    public static final int MIN_RADIX = 2;
    public static final int MAX_RADIX = 36;
    public static final char MIN_VALUE = '\u0000';
    public static final char MAX_VALUE = '\uffff';
    public Character(char value) { throw new RuntimeException(); }
    public char charValue() { throw new RuntimeException(); }
    public int hashCode() { throw new RuntimeException(); }
    public boolean equals(Object obj) { throw new RuntimeException(); }
    public String toString() { throw new RuntimeException(); }
    public static boolean isLowerCase(char ch) { throw new RuntimeException(); }
    public static boolean isUpperCase(char ch) { throw new RuntimeException(); }
    public static boolean isDigit(char ch) { throw new RuntimeException(); }
    public static char toLowerCase(char ch) { throw new RuntimeException(); }
    public static char toUpperCase(char ch) { throw new RuntimeException(); }
    public static int digit(char ch, int radix) { throw new RuntimeException(); }
}
