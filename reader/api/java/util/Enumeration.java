package java.util;

/** CLDC 1.0 API stub. */
public interface Enumeration {
    boolean hasMoreElements();
    Object nextElement();
}
