import java.io.InputStream;

/** Opens entries of the reader's own jar, where the book is. */
final class Resource {
    private Resource() {
    }

    /**
     * The entry {@code name} (an absolute path such as "/index.txt"), or null if absent.
     * Goes through an instance's class: a class literal would need NoClassDefFoundError,
     * which CLDC 1.0 does not have.
     */
    static InputStream open(String name) {
        return new Resource().getClass().getResourceAsStream(name);
    }
}
