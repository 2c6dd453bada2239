package java.io;

/** CLDC 1.0 API stub: signatures only; the phone supplies the real class. */
public abstract class InputStream {
    public InputStream() { }
    public abstract int read() throws IOException;
    public int read(byte[] b) throws IOException { throw new RuntimeException(); }
    public int read(byte[] b, int off, int len) throws IOException { throw new RuntimeException(); }
    public long skip(long n) throws IOException { throw new RuntimeException(); }
    public int available() throws IOException { throw new RuntimeException(); }
    public void close() throws IOException { throw new RuntimeException(); }
    public synchronized void mark(int readlimit) { throw new RuntimeException(); }
    public synchronized void reset() throws IOException { throw new RuntimeException(); }
    public boolean markSupported() { throw new RuntimeException(); }
}
