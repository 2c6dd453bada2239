package harness;

import java.io.ByteArrayInputStream;
import java.io.ByteArrayOutputStream;
import java.io.DataInputStream;
import java.io.DataOutputStream;
import java.io.IOException;
import java.io.InputStream;
import java.net.URL;
import java.net.URLClassLoader;
import java.nio.file.Files;
import java.nio.file.Path;
import java.util.HashMap;
import java.util.List;
import java.util.Map;
import java.util.jar.Attributes;
import java.util.jar.JarFile;
import java.util.jar.Manifest;
import javax.imageio.ImageIO;
import javax.microedition.lcdui.Alert;
import javax.microedition.lcdui.Canvas;
import javax.microedition.lcdui.Display;
import javax.microedition.lcdui.Displayable;
import javax.microedition.lcdui.Form;
import javax.microedition.lcdui.Screens;
import javax.microedition.midlet.MIDlet;
import javax.microedition.midlet.MIDletAccess;
import harness.util.Clock;

/**
 * A test phone running one book: installs the jar as a phone's application manager does
 * (reads MIDlet-1 from the manifest, loads the named class from the jar in a class loader
 * of its own whose parent supplies javax.microedition), starts it, and then presses keys,
 * chooses commands, lets time pass and renders screens. Closing the phone without
 * {@link #destroy} is the phone ending the MIDlet without warning (a battery pulled).
 */
final class Phone implements AutoCloseable {
    final Path jar;
    final int width;
    final int height;
    final String iconPath;
    private final URLClassLoader loader;
    private final MIDlet midlet;
    private final Display display;
    private BookFile book;
    /**
     * Whether phones measure the heap before the MIDlet starts, with the jar open and its
     * main class loaded: what the heap holds beyond that is the reader's.
     */
    static boolean measuringHeap;
    long heapBeforeStart;

    Phone(Path jar, int width, int height) throws Exception {
        this(jar, width, height, false);
    }

    /**
     * A phone with the MIDP 2.0 API when {@code midp2}; otherwise a MIDP 1.0 phone, whose
     * MIDlets cannot load the classes only MIDP 2.0 has.
     */
    Phone(Path jar, int width, int height, boolean midp2) throws Exception {
        this.jar = jar;
        this.width = width;
        this.height = height;
        Screens.setScreenSize(width, height);
        Map<String, String> properties = new HashMap<>();
        try (JarFile j = new JarFile(jar.toFile())) {
            Manifest m = j.getManifest();
            if (m == null) {
                throw new IllegalStateException(jar + " has no manifest");
            }
            for (Map.Entry<Object, Object> e : m.getMainAttributes().entrySet()) {
                properties.put(((Attributes.Name) e.getKey()).toString(), (String) e.getValue());
            }
        }
        String[] midlet1 = properties.getOrDefault("MIDlet-1", "").split(",");
        if (midlet1.length != 3) {
            throw new IllegalStateException("MIDlet-1 of " + jar + " is not name,icon,class");
        }
        iconPath = midlet1[1].trim();
        MIDletAccess.setProperties(properties);
        Clock.reset();
        loader = new MidletLoader(jar, midp2);
        Screens.setMidletLoader(loader);
        midlet = (MIDlet) loader.loadClass(midlet1[2].trim()).getDeclaredConstructor().newInstance();
        if (measuringHeap) {
            heapBeforeStart = usedHeap();
        }
        MIDletAccess.start(midlet);
        display = Display.getDisplay(midlet);
    }

    /** The heap in use after collecting the garbage. */
    static long usedHeap() {
        Runtime r = Runtime.getRuntime();
        for (int i = 0; i < 3; i++) {
            System.gc();
        }
        return r.totalMemory() - r.freeMemory();
    }

    /** What the book holds, read independently of the reader (once, when first asked). */
    BookFile book() {
        if (book == null) {
            try {
                book = new BookFile(jar);
            } catch (IOException e) {
                throw new java.io.UncheckedIOException(e);
            }
        }
        return book;
    }

    Displayable current() {
        return display.getCurrent();
    }

    String describe() {
        return Screens.describe(current());
    }

    boolean showsCanvas() {
        return current() instanceof Canvas;
    }

    boolean showsList() {
        return current() instanceof javax.microedition.lcdui.List;
    }

    javax.microedition.lcdui.List list() {
        if (!showsList()) {
            throw new AssertionError("expected the list, the phone shows " + describe());
        }
        return (javax.microedition.lcdui.List) current();
    }

    Alert alert() {
        if (!(current() instanceof Alert)) {
            throw new AssertionError("expected an alert, the phone shows " + describe());
        }
        return (Alert) current();
    }

    boolean showsForm() {
        return current() instanceof Form;
    }

    void press(int keyCode) {
        Screens.press(display, keyCode);
    }

    void tap(int x, int y) {
        Screens.tap(display, x, y);
    }

    /** The pointer goes up without having gone down. */
    void release(int x, int y) {
        Screens.release(display, x, y);
    }

    void swipe(int x1, int y1, int x2, int y2) {
        Screens.swipe(display, x1, y1, x2, y2);
    }

    /** A key goes down; its release ({@link #keyUp}) goes to whatever screen is shown then. */
    void keyDown(int keyCode) {
        Screens.keyDown(display, keyCode);
    }

    void keyUp(int keyCode) {
        Screens.keyUp(display, keyCode);
    }

    void repeat(int keyCode) {
        Screens.repeat(display, keyCode);
    }

    void command(String label) {
        Screens.command(display, label);
    }

    List<String> commands() {
        return Screens.commandLabels(display);
    }

    /** Types into the text box shown, in place of what it held. */
    void type(String text) {
        Screens.type(display, text);
    }

    void select(int row) {
        Screens.select(display, row);
    }

    void dismissAlert() {
        Screens.dismissAlert(display);
    }

    /** Holds back what the MIDlet gives callSerially (as a busy phone would), or lets it run. */
    void holdSerialCalls(boolean hold) {
        Screens.holdSerialCalls(display, hold);
    }

    void paintOnly() {
        Screens.paintOnly(display);
    }

    Screens.Frame render() {
        return Screens.render(display);
    }

    void screenshot(Path file) throws IOException {
        Files.createDirectories(file.getParent());
        ImageIO.write(render().image, "png", file.toFile());
    }

    /** The MIDlet ended itself (notifyDestroyed) or was destroyed. */
    boolean ended() {
        return MIDletAccess.isDestroyed(midlet);
    }

    /** The phone ends the MIDlet, as when the user leaves with the red key. */
    void destroy() throws Exception {
        MIDletAccess.destroy(midlet);
    }

    void pause() {
        MIDletAccess.pause(midlet);
    }

    /** Lets time pass on the phone: what the MIDlet's timers have due by then runs. */
    void advance(long millis) {
        Clock.advance(millis);
    }

    /** Ends the MIDlet as a phone does when it stops without warning: no destroyApp, timers gone. */
    public void close() throws IOException {
        Clock.reset();
        Screens.forget(midlet);
        Screens.setMidletLoader(null);
        loader.close();
    }

    /**
     * Loads the MIDlet's classes from its jar. MIDP adds java.util.Timer and TimerTask to
     * java.util, where Java SE has its own classes that a class loader cannot replace: the
     * MIDlet's references to them are linked to the test phone's {@link harness.util.Timer}
     * and {@link harness.util.TimerTask} instead, by renaming them in the constant pool of
     * each class as it is loaded. Nothing else of the class changes.
     */
    static final class MidletLoader extends URLClassLoader {
        private static final String MIDP_TIMER = "java/util/Timer";
        private static final String PHONE_TIMER = "harness/util/Timer";

        private final boolean midp2;

        MidletLoader(Path jar, boolean midp2) throws IOException {
            super(new URL[] { jar.toUri().toURL() }, Phone.class.getClassLoader());
            this.midp2 = midp2;
        }

        protected Class<?> loadClass(String name, boolean resolve) throws ClassNotFoundException {
            if (!midp2 && name.startsWith("javax.microedition.lcdui.game.")) {
                throw new ClassNotFoundException(name + " is MIDP 2.0");
            }
            return super.loadClass(name, resolve);
        }

        protected Class<?> findClass(String name) throws ClassNotFoundException {
            URL url = findResource(name.replace('.', '/') + ".class");
            if (url == null) {
                throw new ClassNotFoundException(name);
            }
            byte[] bytes;
            try (InputStream in = url.openStream()) {
                bytes = relink(in.readAllBytes());
            } catch (IOException e) {
                throw new ClassNotFoundException(name, e);
            }
            return defineClass(name, bytes, 0, bytes.length);
        }

        /** The class file with every constant-pool string naming java/util/Timer(Task) renamed. */
        static byte[] relink(byte[] classFile) throws IOException {
            DataInputStream in = new DataInputStream(new ByteArrayInputStream(classFile));
            ByteArrayOutputStream bytes = new ByteArrayOutputStream(classFile.length + 64);
            DataOutputStream out = new DataOutputStream(bytes);
            out.writeInt(in.readInt()); // magic
            out.writeInt(in.readInt()); // minor and major version
            int count = in.readUnsignedShort();
            out.writeShort(count);
            for (int i = 1; i < count; i++) {
                int tag = in.readUnsignedByte();
                out.writeByte(tag);
                switch (tag) {
                case 1: // Utf8
                    out.writeUTF(in.readUTF().replace(MIDP_TIMER, PHONE_TIMER));
                    break;
                case 7: case 8: case 16: case 19: case 20: // Class, String, MethodType, Module, Package
                    out.writeShort(in.readUnsignedShort());
                    break;
                case 15: // MethodHandle
                    out.writeByte(in.readUnsignedByte());
                    out.writeShort(in.readUnsignedShort());
                    break;
                case 3: case 4: case 9: case 10: case 11: case 12: case 17: case 18:
                    out.writeInt(in.readInt());
                    break;
                case 5: case 6: // Long, Double: two slots
                    out.writeLong(in.readLong());
                    i++;
                    break;
                default:
                    throw new IOException("constant pool tag " + tag + " at entry " + i);
                }
            }
            in.transferTo(out);
            out.flush();
            return bytes.toByteArray();
        }
    }
}
