package javax.microedition.lcdui;

/** The test phone's screen: its size and the band at the bottom for the soft keys. */
final class Device {
    static int width = 176;
    static int height = 208;
    static final int SOFT_KEYS = 20;

    private Device() {
    }
}
