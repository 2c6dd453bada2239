package javax.microedition.lcdui;

/** MIDP 1.0 API stub: signatures and the real constant values. */
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

    protected Canvas() { throw new RuntimeException(); }
    public boolean isDoubleBuffered() { throw new RuntimeException(); }
    public boolean hasPointerEvents() { throw new RuntimeException(); }
    public boolean hasPointerMotionEvents() { throw new RuntimeException(); }
    public boolean hasRepeatEvents() { throw new RuntimeException(); }
    public int getKeyCode(int gameAction) { throw new RuntimeException(); }
    public String getKeyName(int keyCode) { throw new RuntimeException(); }
    public int getGameAction(int keyCode) { throw new RuntimeException(); }
    protected void keyPressed(int keyCode) { throw new RuntimeException(); }
    protected void keyRepeated(int keyCode) { throw new RuntimeException(); }
    protected void keyReleased(int keyCode) { throw new RuntimeException(); }
    protected void pointerPressed(int x, int y) { throw new RuntimeException(); }
    protected void pointerReleased(int x, int y) { throw new RuntimeException(); }
    protected void pointerDragged(int x, int y) { throw new RuntimeException(); }
    public final void repaint(int x, int y, int width, int height) { throw new RuntimeException(); }
    public final void repaint() { throw new RuntimeException(); }
    public final void serviceRepaints() { throw new RuntimeException(); }
    protected void showNotify() { throw new RuntimeException(); }
    protected void hideNotify() { throw new RuntimeException(); }
    protected abstract void paint(Graphics g);
    public int getWidth() { throw new RuntimeException(); }
    public int getHeight() { throw new RuntimeException(); }
    /** MIDP 2.0, for the class FullScreen only (loaded only on MIDP 2.0 phones); the scan refuses it elsewhere. */
    public void setFullScreenMode(boolean mode) { throw new RuntimeException(); }
}
