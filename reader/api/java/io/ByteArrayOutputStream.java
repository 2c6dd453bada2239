package java.io;

/** CLDC 1.0 API stub: signatures only; the phone supplies the real class. */
public class ByteArrayOutputStream extends OutputStream {
    protected byte[] buf;
    protected int count;
    public ByteArrayOutputStream() { throw new RuntimeException(); }
    public ByteArrayOutputStream(int size) { throw new RuntimeException(); }
    public synchronized void write(int b) { throw new RuntimeException(); }
    public synchronized void write(byte[] b, int off, int len) { throw new RuntimeException(); }
    public synchronized void reset() { throw new RuntimeException(); }
    public synchronized byte[] toByteArray() { throw new RuntimeException(); }
    public int size() { throw new RuntimeException(); }
    public String toString() { throw new RuntimeException(); }
    public synchronized void close() throws IOException { throw new RuntimeException(); }
}
