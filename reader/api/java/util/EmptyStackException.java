package java.util;

/** CLDC 1.0 API stub. */
public class EmptyStackException extends RuntimeException {
    public EmptyStackException() { }
}
