package java.lang;

/** CLDC 1.0 API stub: signatures only; the phone supplies the real class. */
public final class Boolean {
    public Boolean(boolean value) { throw new RuntimeException(); }
    public boolean booleanValue() { throw new RuntimeException(); }
    public String toString() { throw new RuntimeException(); }
    public int hashCode() { throw new RuntimeException(); }
    public boolean equals(Object obj) { throw new RuntimeException(); }
}
