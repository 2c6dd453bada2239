package java.lang;

/** CLDC 1.0 API stub: signatures only; the phone supplies the real class. */
public final class StringBuffer {
    public StringBuffer() { throw new RuntimeException(); }
    public StringBuffer(int length) { throw new RuntimeException(); }
    public StringBuffer(String str) { throw new RuntimeException(); }
    public int length() { throw new RuntimeException(); }
    public int capacity() { throw new RuntimeException(); }
    public void ensureCapacity(int minimumCapacity) { throw new RuntimeException(); }
    public void setLength(int newLength) { throw new RuntimeException(); }
    public char charAt(int index) { throw new RuntimeException(); }
    public void getChars(int srcBegin, int srcEnd, char[] dst, int dstBegin) { throw new RuntimeException(); }
    public void setCharAt(int index, char ch) { throw new RuntimeException(); }
    public StringBuffer append(Object obj) { throw new RuntimeException(); }
    public StringBuffer append(String str) { throw new RuntimeException(); }
    public StringBuffer append(char[] str) { throw new RuntimeException(); }
    public StringBuffer append(char[] str, int offset, int len) { throw new RuntimeException(); }
    public StringBuffer append(boolean b) { throw new RuntimeException(); }
    public StringBuffer append(char c) { throw new RuntimeException(); }
    public StringBuffer append(int i) { throw new RuntimeException(); }
    public StringBuffer append(long l) { throw new RuntimeException(); }
    public StringBuffer delete(int start, int end) { throw new RuntimeException(); }
    public StringBuffer deleteCharAt(int index) { throw new RuntimeException(); }
    public StringBuffer insert(int offset, Object obj) { throw new RuntimeException(); }
    public StringBuffer insert(int offset, String str) { throw new RuntimeException(); }
    public StringBuffer insert(int offset, char[] str) { throw new RuntimeException(); }
    public StringBuffer insert(int offset, boolean b) { throw new RuntimeException(); }
    public StringBuffer insert(int offset, char c) { throw new RuntimeException(); }
    public StringBuffer insert(int offset, int i) { throw new RuntimeException(); }
    public StringBuffer insert(int offset, long l) { throw new RuntimeException(); }
    public StringBuffer reverse() { throw new RuntimeException(); }
    public String toString() { throw new RuntimeException(); }
}
