package javax.microedition.lcdui;

import java.util.ArrayList;

/** Java SE stand-in for the MIDP 1.0 List: strings, a selection, SELECT_COMMAND. */
public class List extends Screen implements Choice {
    public static final Command SELECT_COMMAND = new Command("", Command.SCREEN, 0);

    private final int type;
    private final ArrayList<String> strings = new ArrayList<>();
    private final ArrayList<Image> images = new ArrayList<>();
    private final ArrayList<Boolean> selected = new ArrayList<>();

    public List(String title, int listType) {
        if (listType != IMPLICIT && listType != EXCLUSIVE && listType != MULTIPLE) {
            throw new IllegalArgumentException("illegal list type " + listType);
        }
        this.title = title;
        this.type = listType;
    }

    public List(String title, int listType, String[] stringElements, Image[] imageElements) {
        this(title, listType);
        if (stringElements == null) {
            throw new NullPointerException();
        }
        if (imageElements != null && imageElements.length != stringElements.length) {
            throw new IllegalArgumentException("image array of another length");
        }
        for (int i = 0; i < stringElements.length; i++) {
            append(stringElements[i], imageElements == null ? null : imageElements[i]);
        }
    }

    private void check(int elementNum, int limit) {
        if (elementNum < 0 || elementNum >= limit) {
            throw new IndexOutOfBoundsException("element " + elementNum + " of " + strings.size());
        }
    }

    public int size() {
        return strings.size();
    }

    public String getString(int elementNum) {
        check(elementNum, size());
        return strings.get(elementNum);
    }

    public Image getImage(int elementNum) {
        check(elementNum, size());
        return images.get(elementNum);
    }

    public int append(String stringPart, Image imagePart) {
        insert(size(), stringPart, imagePart);
        return size() - 1;
    }

    public void insert(int elementNum, String stringPart, Image imagePart) {
        check(elementNum, size() + 1);
        if (stringPart == null) {
            throw new NullPointerException("stringPart");
        }
        strings.add(elementNum, stringPart);
        images.add(elementNum, imagePart);
        selected.add(elementNum, Boolean.FALSE);
        if (type != MULTIPLE && getSelectedIndex() < 0) {
            selected.set(elementNum, Boolean.TRUE);
        }
    }

    public void delete(int elementNum) {
        check(elementNum, size());
        boolean was = selected.get(elementNum);
        strings.remove(elementNum);
        images.remove(elementNum);
        selected.remove(elementNum);
        if (was && type != MULTIPLE && size() > 0) {
            selected.set(Math.min(elementNum, size() - 1), Boolean.TRUE);
        }
    }

    public void set(int elementNum, String stringPart, Image imagePart) {
        check(elementNum, size());
        if (stringPart == null) {
            throw new NullPointerException("stringPart");
        }
        strings.set(elementNum, stringPart);
        images.set(elementNum, imagePart);
    }

    public boolean isSelected(int elementNum) {
        check(elementNum, size());
        return selected.get(elementNum);
    }

    public int getSelectedIndex() {
        if (type == MULTIPLE) {
            return -1;
        }
        return selected.indexOf(Boolean.TRUE);
    }

    public int getSelectedFlags(boolean[] selectedArray_return) {
        int n = 0;
        for (int i = 0; i < size(); i++) {
            selectedArray_return[i] = selected.get(i);
            n += selected.get(i) ? 1 : 0;
        }
        return n;
    }

    public void setSelectedIndex(int elementNum, boolean select) {
        check(elementNum, size());
        if (type == MULTIPLE) {
            selected.set(elementNum, select);
        } else if (select) {
            for (int i = 0; i < size(); i++) {
                selected.set(i, i == elementNum);
            }
        }
    }

    public void setSelectedFlags(boolean[] selectedArray) {
        for (int i = 0; i < size(); i++) {
            selected.set(i, selectedArray[i]);
        }
    }
}
