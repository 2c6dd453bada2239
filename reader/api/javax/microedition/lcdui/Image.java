package javax.microedition.lcdui;

/** MIDP 1.0 API stub: signatures only; the phone supplies the real class. */
public class Image {
    private Image() { }
    public static Image createImage(int width, int height) { throw new RuntimeException(); }
    public static Image createImage(Image source) { throw new RuntimeException(); }
    public static Image createImage(String name) throws java.io.IOException { throw new RuntimeException(); }
    public static Image createImage(byte[] imageData, int imageOffset, int imageLength) { throw new RuntimeException(); }
    public Graphics getGraphics() { throw new RuntimeException(); }
    public int getWidth() { throw new RuntimeException(); }
    public int getHeight() { throw new RuntimeException(); }
    public boolean isMutable() { throw new RuntimeException(); }
}
