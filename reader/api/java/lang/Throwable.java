package java.lang;

/** CLDC 1.0 API stub: signatures only; the phone supplies the real class. */
public class Throwable {
    public Throwable() { }
    public Throwable(String message) { }
    public String getMessage() { throw new RuntimeException(); }
    public String toString() { throw new RuntimeException(); }
    public void printStackTrace() { throw new RuntimeException(); }
}
