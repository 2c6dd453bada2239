package java.lang;

/** CLDC 1.0 API stub: signatures only; the phone supplies the real class. */
public final class String {
    public String() { throw new RuntimeException(); }
    public String(String value) { throw new RuntimeException(); }
    public String(char[] value) { throw new RuntimeException(); }
    public String(char[] value, int offset, int count) { throw new RuntimeException(); }
    public String(byte[] bytes, int off, int len, String enc) throws java.io.UnsupportedEncodingException { throw new RuntimeException(); }
    public String(byte[] bytes, String enc) throws java.io.UnsupportedEncodingException { throw new RuntimeException(); }
    public String(byte[] bytes, int off, int len) { throw new RuntimeException(); }
    public String(byte[] bytes) { throw new RuntimeException(); }
    public String(StringBuffer buffer) { throw new RuntimeException(); }
    public int length() { throw new RuntimeException(); }
    public char charAt(int index) { throw new RuntimeException(); }
    public void getChars(int srcBegin, int srcEnd, char[] dst, int dstBegin) { throw new RuntimeException(); }
    public byte[] getBytes(String enc) throws java.io.UnsupportedEncodingException { throw new RuntimeException(); }
    public byte[] getBytes() { throw new RuntimeException(); }
    public boolean equals(Object anObject) { throw new RuntimeException(); }
    public int compareTo(String anotherString) { throw new RuntimeException(); }
    public boolean regionMatches(boolean ignoreCase, int toffset, String other, int ooffset, int len) { throw new RuntimeException(); }
    public boolean startsWith(String prefix, int toffset) { throw new RuntimeException(); }
    public boolean startsWith(String prefix) { throw new RuntimeException(); }
    public boolean endsWith(String suffix) { throw new RuntimeException(); }
    public int hashCode() { throw new RuntimeException(); }
    public int indexOf(int ch) { throw new RuntimeException(); }
    public int indexOf(int ch, int fromIndex) { throw new RuntimeException(); }
    public int lastIndexOf(int ch) { throw new RuntimeException(); }
    public int lastIndexOf(int ch, int fromIndex) { throw new RuntimeException(); }
    public int indexOf(String str) { throw new RuntimeException(); }
    public int indexOf(String str, int fromIndex) { throw new RuntimeException(); }
    public String substring(int beginIndex) { throw new RuntimeException(); }
    public String substring(int beginIndex, int endIndex) { throw new RuntimeException(); }
    public String concat(String str) { throw new RuntimeException(); }
    public String replace(char oldChar, char newChar) { throw new RuntimeException(); }
    public String toLowerCase() { throw new RuntimeException(); }
    public String toUpperCase() { throw new RuntimeException(); }
    public String trim() { throw new RuntimeException(); }
    public String toString() { throw new RuntimeException(); }
    public char[] toCharArray() { throw new RuntimeException(); }
    public static String valueOf(Object obj) { throw new RuntimeException(); }
    public static String valueOf(char[] data) { throw new RuntimeException(); }
    public static String valueOf(char[] data, int offset, int count) { throw new RuntimeException(); }
    public static String valueOf(boolean b) { throw new RuntimeException(); }
    public static String valueOf(char c) { throw new RuntimeException(); }
    public static String valueOf(int i) { throw new RuntimeException(); }
    public static String valueOf(long l) { throw new RuntimeException(); }
}
