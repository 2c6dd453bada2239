package java.lang;

/** CLDC 1.0 API stub. */
public interface Runnable {
    void run();
}
