package javax.microedition.lcdui;

/** MIDP 1.0 API stub: signatures only; the phone supplies the real class. */
public class List extends Screen implements Choice {
    public static final Command SELECT_COMMAND = null;

    public List(String title, int listType) { throw new RuntimeException(); }
    public List(String title, int listType, String[] stringElements, Image[] imageElements) { throw new RuntimeException(); }
    public int size() { throw new RuntimeException(); }
    public String getString(int elementNum) { throw new RuntimeException(); }
    public Image getImage(int elementNum) { throw new RuntimeException(); }
    public int append(String stringPart, Image imagePart) { throw new RuntimeException(); }
    public void insert(int elementNum, String stringPart, Image imagePart) { throw new RuntimeException(); }
    public void delete(int elementNum) { throw new RuntimeException(); }
    public void set(int elementNum, String stringPart, Image imagePart) { throw new RuntimeException(); }
    public boolean isSelected(int elementNum) { throw new RuntimeException(); }
    public int getSelectedIndex() { throw new RuntimeException(); }
    public int getSelectedFlags(boolean[] selectedArray_return) { throw new RuntimeException(); }
    public void setSelectedIndex(int elementNum, boolean selected) { throw new RuntimeException(); }
    public void setSelectedFlags(boolean[] selectedArray) { throw new RuntimeException(); }
}
