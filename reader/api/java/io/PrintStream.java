package java.io;

/** CLDC 1.0 API stub: signatures only; the phone supplies the real class. */
public class PrintStream extends OutputStream {
    public PrintStream(OutputStream out) { throw new RuntimeException(); }
    public void write(int b) { throw new RuntimeException(); }
    public void print(String s) { throw new RuntimeException(); }
    public void print(Object obj) { throw new RuntimeException(); }
    public void print(int i) { throw new RuntimeException(); }
    public void println() { throw new RuntimeException(); }
    public void println(String x) { throw new RuntimeException(); }
    public void println(Object x) { throw new RuntimeException(); }
    public void println(int x) { throw new RuntimeException(); }
}
