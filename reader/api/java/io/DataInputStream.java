package java.io;

/** CLDC 1.0 API stub: signatures only; the phone supplies the real class. */
public class DataInputStream extends InputStream implements DataInput {
    protected InputStream in;
    public DataInputStream(InputStream in) { throw new RuntimeException(); }
    public int read() throws IOException { throw new RuntimeException(); }
    public final int read(byte[] b) throws IOException { throw new RuntimeException(); }
    public final int read(byte[] b, int off, int len) throws IOException { throw new RuntimeException(); }
    public final void readFully(byte[] b) throws IOException { throw new RuntimeException(); }
    public final void readFully(byte[] b, int off, int len) throws IOException { throw new RuntimeException(); }
    public final int skipBytes(int n) throws IOException { throw new RuntimeException(); }
    public final boolean readBoolean() throws IOException { throw new RuntimeException(); }
    public final byte readByte() throws IOException { throw new RuntimeException(); }
    public final int readUnsignedByte() throws IOException { throw new RuntimeException(); }
    public final short readShort() throws IOException { throw new RuntimeException(); }
    public final int readUnsignedShort() throws IOException { throw new RuntimeException(); }
    public final char readChar() throws IOException { throw new RuntimeException(); }
    public final int readInt() throws IOException { throw new RuntimeException(); }
    public final long readLong() throws IOException { throw new RuntimeException(); }
    public final String readUTF() throws IOException { throw new RuntimeException(); }
    public static final String readUTF(DataInput in) throws IOException { throw new RuntimeException(); }
    public long skip(long n) throws IOException { throw new RuntimeException(); }
    public int available() throws IOException { throw new RuntimeException(); }
    public void close() throws IOException { throw new RuntimeException(); }
    public synchronized void mark(int readlimit) { throw new RuntimeException(); }
    public synchronized void reset() throws IOException { throw new RuntimeException(); }
    public boolean markSupported() { throw new RuntimeException(); }
}
