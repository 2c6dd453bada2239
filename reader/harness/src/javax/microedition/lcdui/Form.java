package javax.microedition.lcdui;

import java.util.ArrayList;
import java.util.List;

/** Java SE stand-in for the MIDP 1.0 Form, holding StringItems (and strings as such). */
public class Form extends Screen {
    final List<Item> items = new ArrayList<>();

    public Form(String title) {
        this.title = title;
    }

    public Form(String title, Item[] items) {
        this(title);
        if (items != null) {
            for (Item i : items) {
                append(i);
            }
        }
    }

    public int append(Item item) {
        if (item == null) {
            throw new NullPointerException();
        }
        items.add(item);
        return items.size() - 1;
    }

    public int append(String str) {
        if (str == null) {
            throw new NullPointerException();
        }
        return append(new StringItem(null, str));
    }

    public int append(Image img) {
        throw new UnsupportedOperationException("image items are not part of this test phone");
    }

    public void insert(int itemNum, Item item) {
        if (itemNum < 0 || itemNum > items.size()) {
            throw new IndexOutOfBoundsException();
        }
        items.add(itemNum, item);
    }

    public void delete(int itemNum) {
        items.remove(itemNum);
    }

    public void set(int itemNum, Item item) {
        items.set(itemNum, item);
    }

    public Item get(int itemNum) {
        return items.get(itemNum);
    }

    public int size() {
        return items.size();
    }
}
