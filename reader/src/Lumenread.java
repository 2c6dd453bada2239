import javax.microedition.lcdui.Alert;
import javax.microedition.lcdui.AlertType;
import javax.microedition.lcdui.Command;
import javax.microedition.lcdui.CommandListener;
import javax.microedition.lcdui.Display;
import javax.microedition.lcdui.Displayable;
import javax.microedition.lcdui.Form;
import javax.microedition.lcdui.List;
import javax.microedition.lcdui.StringItem;
import javax.microedition.midlet.MIDlet;

/**
 * The e-book reader: the book's contents as a list, each part read on a {@link ReadingCanvas}.
 * The book is the jar this class ships in: /index.txt names the book and its parts, /1.txt,
 * /2.txt, ... hold their text. The page last read and the font size are kept between runs
 * and the list offers to go on reading ("继续阅读").
 */
public class Lumenread extends MIDlet implements CommandListener {
    private static final String[] FONT_SIZES = { "小字体", "中字体", "大字体" };

    private final Command exitCommand = new Command("退出", Command.EXIT, 3);
    private final Command contentsCommand = new Command("目录", Command.BACK, 1);
    private final Command fontCommand = new Command("字体", Command.SCREEN, 2);
    private final Command cancelCommand = new Command("返回", Command.BACK, 1);

    private Display display;
    private Settings settings;
    private Book book;
    private List contents;
    /** Whether the first row of the contents is the "continue reading" row. */
    private boolean resumeRow;
    private ReadingCanvas reader;
    private List fontList;
    private Form failure;

    protected void startApp() {
        if (display != null) {
            return; // resumed after a pause: the phone shows the screen we left
        }
        display = Display.getDisplay(this);
        settings = Settings.load();
        try {
            book = Book.load();
        } catch (BookException e) {
            showFailure(e.getMessage());
            return;
        }
        if (settings.part > book.parts()) {
            settings.part = 0; // kept by a different book of the same name
        }
        reader = new ReadingCanvas(this, book, settings.fontSize);
        reader.addCommand(contentsCommand);
        reader.addCommand(fontCommand);
        reader.addCommand(exitCommand);
        reader.setCommandListener(this);
        buildContents();
        display.setCurrent(contents);
    }

    protected void pauseApp() {
        keepPosition();
    }

    protected void destroyApp(boolean unconditional) {
        keepPosition();
    }

    private void buildContents() {
        String title = book.name;
        if (book.author.length() > 0) {
            title = "《" + book.name + "》" + book.author;
        }
        contents = new List(title, List.IMPLICIT);
        for (int i = 0; i < book.parts(); i++) {
            contents.append(titleOf(i + 1), null);
        }
        updateResumeRow();
        contents.addCommand(exitCommand);
        contents.setCommandListener(this);
    }

    private String titleOf(int part) {
        String t = book.titles[part - 1];
        return t.length() > 0 ? t : "第" + part + "部分";
    }

    /** Puts "继续阅读" first when a position is kept, and selects the row to go on from. */
    private void updateResumeRow() {
        if (settings.part == 0) {
            return;
        }
        String text = "继续阅读：" + titleOf(settings.part);
        if (resumeRow) {
            contents.set(0, text, null);
        } else {
            contents.insert(0, text, null);
            resumeRow = true;
        }
        contents.setSelectedIndex(0, true);
    }

    public void commandAction(Command c, Displayable d) {
        if (c == exitCommand) {
            keepPosition();
            notifyDestroyed();
        } else if (d == contents && c == List.SELECT_COMMAND) {
            int row = contents.getSelectedIndex();
            if (row < 0) {
                return;
            }
            if (resumeRow && row == 0) {
                showPart(settings.part, settings.offset);
            } else {
                showPart(row + 1 - (resumeRow ? 1 : 0), 0);
            }
        } else if (c == contentsCommand) {
            keepPosition();
            updateResumeRow();
            display.setCurrent(contents);
        } else if (c == fontCommand) {
            showFontList();
        } else if (d == fontList) {
            if (c == List.SELECT_COMMAND) {
                settings.fontSize = fontList.getSelectedIndex();
                reader.setFont(ReadingCanvas.fontFor(settings.fontSize));
                keepPosition();
            }
            display.setCurrent(reader);
        }
    }

    private void showFontList() {
        fontList = new List("字体大小", List.IMPLICIT, FONT_SIZES, null);
        fontList.setSelectedIndex(settings.fontSize, true);
        fontList.addCommand(cancelCommand);
        fontList.setCommandListener(this);
        display.setCurrent(fontList);
    }

    /**
     * Shows part {@code part} at the page holding byte {@code offset} (its last page when
     * negative), or tells the user why it cannot.
     */
    void showPart(int part, int offset) {
        int result = reader.open(part, offset);
        if (result == ReadingCanvas.MISSING) {
            alert("缺少章节", "找不到第" + part + "部分（" + part + ".txt），这本书不完整。",
                    AlertType.ERROR, contents);
            return;
        }
        if (result != ReadingCanvas.OPENED) {
            partUnreadable(part);
            return;
        }
        keepPosition();
        if (reader.badSequences() > 0) {
            alert("文字有损坏", "第" + part + "部分有" + reader.badSequences()
                    + "处文字编码损坏，已显示为“?”。", AlertType.WARNING, reader);
        } else {
            display.setCurrent(reader);
        }
    }

    void partUnreadable(int part) {
        alert("读取出错", "读取第" + part + "部分（" + part + ".txt）时出错，这本书可能已损坏。",
                AlertType.ERROR, contents);
    }

    private void alert(String title, String text, AlertType type, Displayable next) {
        Alert a = new Alert(title, text, null, type);
        a.setTimeout(Alert.FOREVER);
        display.setCurrent(a, next);
    }

    /** A book that cannot be opened: the reason, then a screen that can only exit. */
    private void showFailure(String message) {
        failure = new Form("无法打开");
        failure.append(new StringItem(null, message));
        failure.addCommand(exitCommand);
        failure.setCommandListener(this);
        alert("无法打开这本书", message, AlertType.ERROR, failure);
    }

    private void keepPosition() {
        if (reader != null && reader.part() != 0) {
            settings.part = reader.part();
            settings.offset = reader.offset();
        }
        if (settings != null) {
            settings.save();
        }
    }
}
