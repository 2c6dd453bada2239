package java.io;

/** CLDC 1.0 API stub: signatures only; the phone supplies the real class. */
public abstract class OutputStream {
    public OutputStream() { }
    public abstract void write(int b) throws IOException;
    public void write(byte[] b) throws IOException { throw new RuntimeException(); }
    public void write(byte[] b, int off, int len) throws IOException { throw new RuntimeException(); }
    public void flush() throws IOException { throw new RuntimeException(); }
    public void close() throws IOException { throw new RuntimeException(); }
}
