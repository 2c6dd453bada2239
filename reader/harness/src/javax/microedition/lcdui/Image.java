package javax.microedition.lcdui;

import java.awt.image.BufferedImage;
import java.io.ByteArrayInputStream;
import java.io.IOException;
import java.io.InputStream;
import javax.imageio.ImageIO;

/**
 * Java SE stand-in for the MIDP 1.0 Image. Images named by path are loaded from the
 * MIDlet's own jar (through the class loader the test's application manager gives).
 */
public class Image {
    static ClassLoader midletLoader;

    final BufferedImage image;
    private final boolean mutable;

    private Image(BufferedImage image, boolean mutable) {
        this.image = image;
        this.mutable = mutable;
    }

    public static Image createImage(int width, int height) {
        if (width <= 0 || height <= 0) {
            throw new IllegalArgumentException("image size must be positive");
        }
        BufferedImage b = new BufferedImage(width, height, BufferedImage.TYPE_INT_RGB);
        java.awt.Graphics2D g = b.createGraphics();
        g.setColor(java.awt.Color.WHITE);
        g.fillRect(0, 0, width, height);
        g.dispose();
        return new Image(b, true);
    }

    public static Image createImage(Image source) {
        if (!source.mutable) {
            return source;
        }
        BufferedImage copy = new BufferedImage(source.getWidth(), source.getHeight(), BufferedImage.TYPE_INT_ARGB);
        copy.createGraphics().drawImage(source.image, 0, 0, null);
        return new Image(copy, false);
    }

    public static Image createImage(String name) throws IOException {
        if (name == null) {
            throw new NullPointerException();
        }
        if (midletLoader == null) {
            throw new IOException("no MIDlet jar to load " + name + " from");
        }
        InputStream in = midletLoader.getResourceAsStream(name.startsWith("/") ? name.substring(1) : name);
        if (in == null) {
            throw new IOException("no resource " + name);
        }
        try (InputStream s = in) {
            BufferedImage b = ImageIO.read(s);
            if (b == null) {
                throw new IOException("not an image: " + name);
            }
            return new Image(b, false);
        }
    }

    public static Image createImage(byte[] imageData, int imageOffset, int imageLength) {
        try {
            BufferedImage b = ImageIO.read(new ByteArrayInputStream(imageData, imageOffset, imageLength));
            if (b == null) {
                throw new IllegalArgumentException("not an image");
            }
            return new Image(b, false);
        } catch (IOException e) {
            throw new IllegalArgumentException("not an image");
        }
    }

    public Graphics getGraphics() {
        if (!mutable) {
            throw new IllegalStateException("image is immutable");
        }
        return new Graphics(image.createGraphics(), null);
    }

    public int getWidth() {
        return image.getWidth();
    }

    public int getHeight() {
        return image.getHeight();
    }

    public boolean isMutable() {
        return mutable;
    }
}
