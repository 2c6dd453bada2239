package javax.microedition.lcdui;

/**
 * Java SE stand-in for the MIDP 1.0 Canvas. Its area is the test phone's screen less the
 * soft-key band. Key codes are those of a common keypad phone: the number keys give their
 * characters, the joystick gives -1 up, -2 down, -3 left, -4 right, -5 fire, the soft keys
 * -6 and -7; like phones, the number keys 2, 4, 5, 6, 8 also count as game actions.
 */
public abstract class Canvas extends Displayable {
    public static final int UP = 1;
    public static final int DOWN = 6;
    public static final int LEFT = 2;
    public static final int RIGHT = 5;
    public static final int FIRE = 8;
    public static final int GAME_A = 9;
    public static final int GAME_B = 10;
    public static final int GAME_C = 11;
    public static final int GAME_D = 12;
    public static final int KEY_NUM0 = 48;
    public static final int KEY_NUM1 = 49;
    public static final int KEY_NUM2 = 50;
    public static final int KEY_NUM3 = 51;
    public static final int KEY_NUM4 = 52;
    public static final int KEY_NUM5 = 53;
    public static final int KEY_NUM6 = 54;
    public static final int KEY_NUM7 = 55;
    public static final int KEY_NUM8 = 56;
    public static final int KEY_NUM9 = 57;
    public static final int KEY_STAR = 42;
    public static final int KEY_POUND = 35;

    boolean repaintPending = true;
    /** MIDP 2.0 full-screen mode: the canvas covers the soft-key band, and soft keys come to it. */
    boolean fullScreen;

    protected Canvas() {
    }

    public boolean isDoubleBuffered() {
        return true;
    }

    public boolean hasPointerEvents() {
        return false;
    }

    public boolean hasPointerMotionEvents() {
        return false;
    }

    public boolean hasRepeatEvents() {
        return true;
    }

    public int getKeyCode(int gameAction) {
        switch (gameAction) {
        case UP: return -1;
        case DOWN: return -2;
        case LEFT: return -3;
        case RIGHT: return -4;
        case FIRE: return -5;
        case GAME_A: return KEY_NUM1;
        case GAME_B: return KEY_NUM3;
        case GAME_C: return KEY_NUM7;
        case GAME_D: return KEY_NUM9;
        default: throw new IllegalArgumentException("no game action " + gameAction);
        }
    }

    public String getKeyName(int keyCode) {
        if ((keyCode >= KEY_NUM0 && keyCode <= KEY_NUM9) || keyCode == KEY_STAR || keyCode == KEY_POUND) {
            return String.valueOf((char) keyCode);
        }
        if (keyCode < 0 && keyCode >= -7) {
            return new String[] { "Up", "Down", "Left", "Right", "Select", "Soft1", "Soft2" }[-keyCode - 1];
        }
        throw new IllegalArgumentException("no key " + keyCode);
    }

    public int getGameAction(int keyCode) {
        switch (keyCode) {
        case -1: case KEY_NUM2: return UP;
        case -2: case KEY_NUM8: return DOWN;
        case -3: case KEY_NUM4: return LEFT;
        case -4: case KEY_NUM6: return RIGHT;
        case -5: case KEY_NUM5: return FIRE;
        case KEY_NUM1: return GAME_A;
        case KEY_NUM3: return GAME_B;
        case KEY_NUM7: return GAME_C;
        case KEY_NUM9: return GAME_D;
        case KEY_NUM0: case KEY_STAR: case KEY_POUND: case -6: case -7: return 0;
        default: throw new IllegalArgumentException("no key " + keyCode);
        }
    }

    protected void keyPressed(int keyCode) {
    }

    protected void keyRepeated(int keyCode) {
    }

    protected void keyReleased(int keyCode) {
    }

    protected void pointerPressed(int x, int y) {
    }

    protected void pointerReleased(int x, int y) {
    }

    protected void pointerDragged(int x, int y) {
    }

    public final void repaint(int x, int y, int width, int height) {
        repaintPending = true;
    }

    public final void repaint() {
        repaintPending = true;
    }

    public final void serviceRepaints() {
    }

    protected void showNotify() {
    }

    protected void hideNotify() {
    }

    protected abstract void paint(Graphics g);

    public int getWidth() {
        return Device.width;
    }

    public int getHeight() {
        return fullScreen ? Device.height : Device.height - Device.SOFT_KEYS;
    }

    /** MIDP 2.0; a MIDP 1.0 test phone hides the class that tells a MIDlet it exists. */
    public void setFullScreenMode(boolean mode) {
        fullScreen = mode;
    }
}
