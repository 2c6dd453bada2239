package java.io;

/** CLDC 1.0 API stub: signatures only; the phone supplies the real class. */
public class ByteArrayInputStream extends InputStream {
    protected byte[] buf;
    protected int pos;
    protected int mark;
    protected int count;
    public ByteArrayInputStream(byte[] buf) { throw new RuntimeException(); }
    public ByteArrayInputStream(byte[] buf, int offset, int length) { throw new RuntimeException(); }
    public synchronized int read() { throw new RuntimeException(); }
    public synchronized int read(byte[] b, int off, int len) { throw new RuntimeException(); }
    public synchronized long skip(long n) { throw new RuntimeException(); }
    public synchronized int available() { throw new RuntimeException(); }
    public boolean markSupported() { throw new RuntimeException(); }
    public void mark(int readAheadLimit) { throw new RuntimeException(); }
    public synchronized void reset() { throw new RuntimeException(); }
    public synchronized void close() throws IOException { throw new RuntimeException(); }
}
