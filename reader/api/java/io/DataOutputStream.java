package java.io;

/** CLDC 1.0 API stub: signatures only; the phone supplies the real class. */
public class DataOutputStream extends OutputStream implements DataOutput {
    protected OutputStream out;
    public DataOutputStream(OutputStream out) { throw new RuntimeException(); }
    public void write(int b) throws IOException { throw new RuntimeException(); }
    public void write(byte[] b, int off, int len) throws IOException { throw new RuntimeException(); }
    public void flush() throws IOException { throw new RuntimeException(); }
    public void close() throws IOException { throw new RuntimeException(); }
    public final void writeBoolean(boolean v) throws IOException { throw new RuntimeException(); }
    public final void writeByte(int v) throws IOException { throw new RuntimeException(); }
    public final void writeShort(int v) throws IOException { throw new RuntimeException(); }
    public final void writeChar(int v) throws IOException { throw new RuntimeException(); }
    public final void writeInt(int v) throws IOException { throw new RuntimeException(); }
    public final void writeLong(long v) throws IOException { throw new RuntimeException(); }
    public final void writeChars(String s) throws IOException { throw new RuntimeException(); }
    public final void writeUTF(String str) throws IOException { throw new RuntimeException(); }
}
