import java.io.InputStream;
import java.nio.file.Files;
import java.nio.file.Path;
import java.util.Arrays;
import java.util.Enumeration;
import java.util.jar.Attributes;
import java.util.jar.JarEntry;
import java.util.jar.JarFile;
import java.util.zip.CRC32;

/**
 * Java's own reading of a jar, for book_checks.py: JarFile opens it (verifying), the
 * manifest's main attributes hold the values given, the entries given hold the bytes of the
 * files given, and every entry reads to its end with the CRC its header records (JarFile
 * itself does not compare them). Exits non-zero with the first difference on stderr.
 *
 * usage: java JarCheck JAR [--attribute KEY=VALUE | --entry NAME=FILE]...
 */
public class JarCheck {
    public static void main(String[] args) throws Exception {
        try (JarFile jar = new JarFile(args[0], true)) {
            for (int i = 1; i < args.length; i += 2) {
                if (i + 1 == args.length || args[i + 1].indexOf('=') < 0)
                    throw new Exception("usage: JarCheck JAR [--attribute KEY=VALUE | --entry NAME=FILE]...");
                String key = args[i + 1].substring(0, args[i + 1].indexOf('='));
                String value = args[i + 1].substring(args[i + 1].indexOf('=') + 1);
                if (args[i].equals("--attribute"))
                    checkAttribute(jar, key, value);
                else if (args[i].equals("--entry"))
                    checkEntry(jar, key, Path.of(value));
                else
                    throw new Exception("unknown option " + args[i]);
            }
            Enumeration<JarEntry> entries = jar.entries();
            while (entries.hasMoreElements())
                read(jar, entries.nextElement());
        }
    }

    static void checkAttribute(JarFile jar, String key, String want) throws Exception {
        if (jar.getManifest() == null)
            throw new Exception("manifest not found");
        Attributes main = jar.getManifest().getMainAttributes();
        String got = main.getValue(key);
        if (!want.equals(got))
            throw new Exception(key + ": " + got + " != " + want);
    }

    static void checkEntry(JarFile jar, String name, Path file) throws Exception {
        JarEntry entry = jar.getJarEntry(name);
        if (entry == null)
            throw new Exception("missing " + name);
        if (!Arrays.equals(read(jar, entry), Files.readAllBytes(file)))
            throw new Exception("bytes differ: " + name);
    }

    static byte[] read(JarFile jar, JarEntry entry) throws Exception {
        byte[] data;
        try (InputStream in = jar.getInputStream(entry)) {
            data = in.readAllBytes();
        }
        CRC32 crc = new CRC32();
        crc.update(data);
        if (crc.getValue() != entry.getCrc())
            throw new Exception("CRC of " + entry.getName() + " differs");
        return data;
    }
}
