package harness;

import java.io.IOException;
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

/**
 * A test phone running one book: installs the jar as a phone's application manager does
 * (reads MIDlet-1 from the manifest, loads the named class from the jar in a class loader
 * of its own whose parent supplies javax.microedition), starts it, and then presses keys,
 * chooses commands and renders screens.
 */
final class Phone implements AutoCloseable {
    final Path jar;
    final int width;
    final int height;
    final String iconPath;
    private final URLClassLoader loader;
    private final MIDlet midlet;
    private final Display display;

    Phone(Path jar, int width, int height) throws Exception {
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
        loader = new URLClassLoader(new URL[] { jar.toUri().toURL() }, Phone.class.getClassLoader());
        Screens.setMidletLoader(loader);
        midlet = (MIDlet) loader.loadClass(midlet1[2].trim()).getDeclaredConstructor().newInstance();
        MIDletAccess.start(midlet);
        display = Display.getDisplay(midlet);
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

    void repeat(int keyCode) {
        Screens.repeat(display, keyCode);
    }

    void command(String label) {
        Screens.command(display, label);
    }

    List<String> commands() {
        return Screens.commandLabels(display);
    }

    void select(int row) {
        Screens.select(display, row);
    }

    void dismissAlert() {
        Screens.dismissAlert(display);
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

    public void close() throws IOException {
        Screens.forget(midlet);
        Screens.setMidletLoader(null);
        loader.close();
    }
}
