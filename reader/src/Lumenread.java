import java.io.IOException;
import java.util.Timer;
import javax.microedition.lcdui.Alert;
import javax.microedition.lcdui.AlertType;
import javax.microedition.lcdui.Command;
import javax.microedition.lcdui.CommandListener;
import javax.microedition.lcdui.Display;
import javax.microedition.lcdui.Displayable;
import javax.microedition.lcdui.Font;
import javax.microedition.lcdui.Form;
import javax.microedition.lcdui.List;
import javax.microedition.lcdui.StringItem;
import javax.microedition.lcdui.TextBox;
import javax.microedition.lcdui.TextField;
import javax.microedition.midlet.MIDlet;

/**
 * The e-book reader: the book's contents as a list, each part read on a {@link ReadingCanvas}.
 * The book is the jar this class ships in: /index.txt names the book and its parts, /1.txt,
 * /2.txt, ... hold their text. The page last read, the bookmarks and the reading settings
 * are kept between runs and the list offers to go on reading ("继续阅读").
 *
 * One timer does what waits: the position is kept a moment after the last page turn (one
 * record-store write for a run of turns, and none lost when the phone ends the reader
 * without warning), pages turn by themselves, and the part sizes are measured once. Its
 * tasks run their work on the event thread ({@link Display#callSerially}), in order with keys
 * and painting.
 */
public class Lumenread extends MIDlet implements CommandListener, Runnable {
    /** Milliseconds from the last page turn to keeping the position. */
    static final int SAVE_DELAY = 1500;

    /** Kinds of {@link Alarm}, also bits of what is due on the event thread. */
    static final int SAVE = 1;
    static final int TURN = 2;
    static final int MEASURE = 4;
    /** Not an alarm: a slice of the layout of the part shown is due. */
    static final int LAYOUT = 8;

    /** What the list of choices shown ({@link #chooser}) chooses. */
    private static final int FONT = 0;
    private static final int SPACING = 1;
    private static final int SPEED = 2;
    private static final int GO_TO = 3;

    /** Rows of 跳转. */
    private static final String[] GO_TO_ROWS = { "输入页码", "输入百分比", "输入章节号", "本部分第一页", "本部分最后一页" };
    /** What {@link NumberPad} asks for: a row of 跳转. */
    private static final int PAGE = 0;
    private static final int PERCENT = 1;
    private static final int CHAPTER = 2;
    /**
     * Keys of the reading screen's menu rows, in the order of {@link #menuCommands}: the
     * reading screen runs the row's command on that key (' ': none), 0 opens the menu.
     */
    static final String MENU_KEYS = "#1 3 *79  ";

    private final Command exitCommand = new Command("退出", Command.EXIT, 9);
    private final Command contentsCommand = new Command("目录", Command.BACK, 1);
    private final Command addMarkCommand = new Command("加书签", Command.SCREEN, 1);
    private final Command marksCommand = new Command("书签", Command.SCREEN, 2);
    private final Command goToCommand = new Command("跳转", Command.SCREEN, 3);
    private final Command turnCommand = new Command("自动翻页", Command.SCREEN, 4);
    private final Command nightCommand = new Command("夜间模式", Command.SCREEN, 5);
    private final Command dayCommand = new Command("日间模式", Command.SCREEN, 5);
    private final Command fontCommand = new Command("字体", Command.SCREEN, 6);
    private final Command spacingCommand = new Command("行距", Command.SCREEN, 7);
    private final Command searchCommand = new Command("查找", Command.SCREEN, 3);
    private final Command cancelCommand = new Command("返回", Command.BACK, 1);
    private final Command okCommand = new Command("确定", Command.OK, 1);
    private final Command deleteCommand = new Command("删除", Command.SCREEN, 1);
    private final Command chapterCommand = new Command("跳到章节", Command.SCREEN, 1);

    private Display display;
    private Settings settings;
    private Book book;
    private Bookmarks marks;
    private List contents;
    /** Whether the first row of the contents is the "continue reading" row. */
    private boolean resumeRow;
    private ReadingCanvas reader;
    private List chooser;
    private int choosing;
    private TextBox numberBox;
    /** The reader's own menu of every command, for runtimes whose soft keys do not reach them. */
    private List menu;
    private Command[] menuCommands;
    /** The word last searched for, and where its last hit was: part, and the byte after its first character. */
    private String word = "";
    private int hitPart;
    private int hitNext;
    private List markList;
    private Form failure;

    private Timer timer;
    private Alarm saveAlarm;
    private Alarm turnAlarm;
    /** Bits of the alarms that rang and wait for the event thread. */
    private int due;
    /** The part opened from a list or a key, warned about once if its text is damaged (not on a new font). */
    private int warnPart;
    /** Part sizes measured in the timer's thread, handed to the book on the event thread. */
    private int[] measured;

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
        book.setVolume(getAppProperty("Lumenread-Volume"));
        if (settings.part > book.parts()) {
            settings.part = 0; // kept by a different book of the same name
        }
        marks = Bookmarks.load(book.parts());
        timer = new Timer();
        if (!book.loadSizes()) {
            timer.schedule(new Alarm(this, MEASURE), 0);
        }
        reader = new ReadingCanvas(this, book, settings);
        reader.addCommand(contentsCommand);
        reader.addCommand(addMarkCommand);
        reader.addCommand(marksCommand);
        reader.addCommand(goToCommand);
        reader.addCommand(searchCommand);
        reader.addCommand(turnCommand);
        reader.addCommand(settings.night ? dayCommand : nightCommand);
        reader.addCommand(fontCommand);
        reader.addCommand(spacingCommand);
        reader.addCommand(exitCommand);
        reader.setCommandListener(this);
        buildContents();
        display.setCurrent(contents);
    }

    protected void pauseApp() {
        stopTurning();
        keepPosition();
    }

    protected void destroyApp(boolean unconditional) {
        keepPosition();
        if (timer != null) {
            timer.cancel();
        }
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
        contents.addCommand(chapterCommand);
        contents.addCommand(exitCommand);
        contents.setCommandListener(this);
    }

    private String titleOf(int part) {
        String t = book.titles[part - 1];
        return t.length() > 0 ? t : "第" + part + "部分";
    }

    /**
     * Puts "继续阅读" first when a position is kept, and selects the row of the part it keeps,
     * so that a list of hundreds of chapters opens where the reader is.
     */
    private void updateResumeRow() {
        if (settings.part == 0) {
            return;
        }
        // The title first, cut to fit: runtimes that cut a long row (FreeJ2ME-plus at both
        // ends) then have nothing to cut.
        String text = fit("→ ", titleOf(settings.part), "（继续阅读）");
        if (resumeRow) {
            contents.set(0, text, null);
        } else {
            contents.insert(0, text, null);
            resumeRow = true;
        }
        contents.setSelectedIndex(settings.part, true);
    }

    /**
     * The row {@code start + middle + end}, the middle cut short with "…" where the row would
     * not fit a list's width (the screen less room for a runtime's margins and scroll bar),
     * so that no runtime cuts it elsewhere. Measured in the large font: runtimes draw lists
     * in fonts larger than their default (FreeJ2ME-plus). Only a row that may be too wide is
     * measured.
     */
    private String fit(String start, String middle, String end) {
        Font f = Font.getFont(Font.FACE_SYSTEM, Font.STYLE_PLAIN, Font.SIZE_LARGE);
        int room = reader.getWidth() - 16;
        String row = start + middle + end;
        if (row.length() * f.getHeight() <= room || f.stringWidth(row) <= room) {
            return row;
        }
        int n = middle.length();
        while (n > 1 && f.stringWidth(start + middle.substring(0, n) + "…" + end) > room) {
            n--;
        }
        return start + middle.substring(0, n) + "…" + end;
    }

    /**
     * Hands a command to the screen it came from. 退出 (on every screen) and 返回 (on every
     * screen over the reading screen) mean the same wherever they are.
     */
    public void commandAction(Command c, Displayable d) {
        if (c == exitCommand) {
            destroyApp(true);
            notifyDestroyed();
        } else if (c == cancelCommand) {
            display.setCurrent(reader);
        } else if (d == reader) {
            readingCommand(c);
        } else if (d == contents && c == chapterCommand) {
            // Typed straight from the contents: the page kept (or the first) opens under the box.
            showPart(settings.part == 0 ? 1 : settings.part, settings.offset);
            if (reader.part() != 0) {
                askChapter();
            }
        } else if (d == contents) {
            partChosen();
        } else if (d == menu) {
            menuRowChosen();
        } else if (d == chooser) {
            chosen(chooser.getSelectedIndex());
        } else if (d == numberBox) {
            numberTyped();
        } else if (d == markList) {
            bookmarkCommand(c);
        }
    }

    /** A row of the contents: the part, or for the row of the part kept (and 继续阅读) the page kept. */
    private void partChosen() {
        int row = contents.getSelectedIndex();
        if (row < 0) {
            return;
        }
        int part = resumeRow ? row : row + 1;
        if (resumeRow && (row == 0 || part == settings.part)) {
            showPart(settings.part, settings.offset);
        } else {
            showPart(part, 0);
        }
    }

    /** A row of the reader's menu: back to the reading screen, and its command. */
    private void menuRowChosen() {
        int row = menu.getSelectedIndex();
        if (row >= 0) {
            display.setCurrent(reader);
            commandAction(menuCommands[row], reader);
        }
    }

    /** A command of the reading screen, from a soft key, a shortcut key or the reader's menu. */
    private void readingCommand(Command c) {
        reader.closePad();
        stopTurning(); // a command is the reader's answer to the page shown
        if (c == contentsCommand) {
            keepPosition();
            updateResumeRow();
            display.setCurrent(contents);
        } else if (c == addMarkCommand) {
            addBookmark();
        } else if (c == marksCommand) {
            showBookmarks();
        } else if (c == goToCommand) {
            choose(GO_TO, "跳转", GO_TO_ROWS, -1);
        } else if (c == searchCommand) {
            ask("查找（从本页往后）", word, 32, TextField.ANY);
        } else if (c == turnCommand) {
            String[] speeds = new String[Settings.TURN_SECONDS.length];
            for (int i = 0; i < speeds.length; i++) {
                speeds[i] = "每页" + Settings.TURN_SECONDS[i] + "秒";
            }
            choose(SPEED, "自动翻页", speeds, settings.turnSpeed);
        } else if (c == nightCommand || c == dayCommand) {
            settings.night = c == nightCommand;
            reader.removeCommand(c);
            reader.addCommand(settings.night ? dayCommand : nightCommand);
            reader.setNight(settings.night);
            settings.save();
        } else if (c == fontCommand) {
            choose(FONT, "字体大小", new String[] { "小字体", "中字体", "大字体" }, settings.fontSize);
        } else if (c == spacingCommand) {
            choose(SPACING, "行距", new String[] { "紧凑", "适中", "宽松" }, settings.spacing);
        }
    }

    /** 删除 deletes the bookmark selected; choosing one opens it. */
    private void bookmarkCommand(Command c) {
        int i = markList.getSelectedIndex();
        if (i < 0) {
            return;
        }
        if (c == deleteCommand) {
            deleteBookmark(i);
        } else {
            openAt(marks.part(i), marks.offset(i));
        }
    }

    /**
     * The reading screen's key {@code keyCode}: runs the command of that key
     * ({@link #MENU_KEYS}), or opens the menu on 0; false for a key of no command.
     */
    boolean shortcut(int keyCode) {
        if (keyCode == '0') {
            showMenu();
            return true;
        }
        int i = keyCode > 0 && keyCode != ' ' ? MENU_KEYS.indexOf((char) keyCode) : -1;
        if (i < 0) {
            return false;
        }
        commandAction(readingCommands()[i], reader);
        return true;
    }

    /** The reading screen's commands in menu order; night or day as it applies. */
    private Command[] readingCommands() {
        return new Command[] { contentsCommand, addMarkCommand, marksCommand, goToCommand, searchCommand,
            turnCommand, settings.night ? dayCommand : nightCommand, fontCommand, spacingCommand, exitCommand };
    }

    /** The reader's own menu: every command of the reading screen, each row with its key. */
    void showMenu() {
        menuCommands = readingCommands();
        menu = new List("菜单（按0打开）", List.IMPLICIT);
        for (int i = 0; i < menuCommands.length; i++) {
            char key = MENU_KEYS.charAt(i);
            menu.append(menuCommands[i].getLabel() + (key == ' ' ? "" : "（" + key + "键）"), null);
        }
        menu.addCommand(cancelCommand);
        menu.setCommandListener(this);
        display.setCurrent(menu);
    }

    /** Shows a list of choices; the one chosen goes to {@link #chosen}, 返回 back to the page. */
    private void choose(int kind, String title, String[] rows, int selected) {
        choosing = kind;
        chooser = new List(title, List.IMPLICIT, rows, null);
        if (selected >= 0) {
            chooser.setSelectedIndex(selected, true);
        }
        chooser.addCommand(cancelCommand);
        chooser.setCommandListener(this);
        display.setCurrent(chooser);
    }

    private void chosen(int row) {
        if (row < 0) {
            return;
        }
        if (choosing == GO_TO) {
            if (row == PAGE) {
                reader.enterNumber(new NumberPad(PAGE, "页码（1-" + reader.pages() + "）", 6));
            } else if (row == PERCENT) {
                reader.enterNumber(new NumberPad(PERCENT, "全书百分比（0-100）", 3));
            } else if (row == CHAPTER) {
                askChapter();
            } else {
                reader.goToPage(row == 3 ? 0 : reader.pages() - 1);
            }
            display.setCurrent(reader);
            return;
        }
        if (choosing == SPEED) {
            settings.turnSpeed = row;
            settings.save();
            startTurning();
        } else if (choosing == FONT) {
            settings.fontSize = row;
            reader.setFont(ReadingCanvas.fontFor(row));
            keepPosition();
        } else {
            settings.spacing = row;
            reader.setSpacing(row);
            keepPosition();
        }
        display.setCurrent(reader);
    }

    /** Asks for a chapter number on the reading screen, saying the range. */
    private void askChapter() {
        book.numberChapters();
        int first = book.lastChapter > 0 ? book.firstChapter : 1;
        int last = book.lastChapter > 0 ? book.lastChapter : book.parts();
        reader.enterNumber(new NumberPad(CHAPTER, "章节号（" + first + "-" + last + "）", 6));
    }

    /** Asks for the word of 查找; the answer goes to {@link #numberTyped}. */
    private void ask(String title, String text, int length, int constraints) {
        numberBox = new TextBox(title, text, length, constraints);
        numberBox.addCommand(okCommand);
        numberBox.addCommand(cancelCommand);
        numberBox.setCommandListener(this);
        display.setCurrent(numberBox);
    }

    /** Searches for the word typed. */
    private void numberTyped() {
        search(numberBox.getString());
    }

    /**
     * Goes to the page, percentage of the whole book or part typed on the reading screen
     * (out of range: the first or last there is); nothing typed (-1) stays on the page.
     */
    void numberEntered(int asking, int n) {
        if (n < 0) {
            return;
        }
        if (asking == PAGE) {
            reader.goToPage(n - 1);
        } else if (asking == CHAPTER) {
            goToChapter(n);
        } else {
            goToPercent(Math.min(n, 100));
        }
    }

    /**
     * Opens the part titled as chapter {@code n} where the titles are numbered (in a volume
     * of a set, a number outside it says which it holds), else part n; out of range: the
     * first or last there is.
     */
    private void goToChapter(int n) {
        if (book.lastChapter == 0) {
            showPart(Math.max(1, Math.min(n, book.parts())), 0);
        } else if (book.volumesFollow() != 0 && n > book.lastChapter || book.bytesBefore > 0 && n < book.firstChapter) {
            reader.notice("第" + n + "章不在这一卷里，本卷是第" + book.firstChapter + "至" + book.lastChapter + "章。");
        } else {
            showPart(book.partOfChapter(n), 0);
        }
    }

    /** Shows the page holding {@code percent} % of the whole book, counting the volumes before. */
    private void goToPercent(int percent) {
        if (!book.sizesKnown()) {
            book.setSizes(book.measure());
        }
        long target = book.bookBytes() * percent / 100 - book.bytesBefore;
        int[] at = book.locate(target);
        if (at == null) {
            int first = book.permille(1, 0) / 10;
            int last = (book.permille(book.parts(), book.size(book.parts())) + 9) / 10;
            reader.notice("全书的" + percent + "%不在这一卷里，本卷是全书的" + first + "%至" + last + "%。");
        } else {
            openAt(at[0], at[1]);
        }
    }

    /**
     * Searches forward from the page shown (after the last hit, when it is on this page)
     * through the rest of the book, then from its start; shows the page of the hit with the
     * word marked, or says "未找到".
     */
    private void search(String typed) {
        display.setCurrent(reader);
        if (typed.length() == 0) {
            // Some runtimes' text boxes take no typing at all: say so rather than nothing.
            reader.notice("没有输入要查找的文字。");
            return;
        }
        int part = reader.part();
        int from = reader.offset();
        if (typed.equals(word) && hitPart == part && reader.holds(hitNext - 1)) {
            from = hitNext;
        }
        word = typed;
        int[] hit;
        try {
            hit = Search.find(book.parts(), typed, part, from);
        } catch (IOException e) {
            hit = null;
        }
        if (hit == null) {
            reader.notice("未找到“" + typed + "”。");
            return;
        }
        hitPart = hit[0];
        hitNext = hit[2];
        openAt(hit[0], hit[1]);
        reader.mark(typed);
    }

    private void addBookmark() {
        // The part's title (cut), the page and the page's first characters: marks in one
        // part differ by page, and the text says where on it.
        String whole = titleOf(reader.part());
        String title = whole;
        if (title.length() > Bookmarks.TITLE_LENGTH) {
            title = title.substring(0, Bookmarks.TITLE_LENGTH - 1) + "…";
        }
        String name = title + " " + (reader.page() + 1) + "页";
        try {
            String start = reader.pageStart(Bookmarks.TEXT_LENGTH + whole.length());
            if (start.startsWith(whole.trim())) {
                start = start.substring(whole.trim().length()).trim(); // the part's heading: named already
            }
            if (start.length() > Bookmarks.TEXT_LENGTH) {
                start = start.substring(0, Bookmarks.TEXT_LENGTH).trim();
            }
            if (start.length() > 0) {
                name = name + " " + start;
            }
        } catch (IOException e) {
            // Named without the text; the part and page still say where.
        }
        int result = marks.add(reader.part(), reader.offset(), name);
        String text = result == Bookmarks.ADDED ? "已添加书签：" + name
                : result == Bookmarks.EXISTS ? "这一页已有书签。"
                : result == Bookmarks.FULL ? "书签已满（最多" + Bookmarks.MAX + "个），请先删除一些。"
                : "手机存储空间不足，书签没有保存。";
        reader.notice(text);
    }

    /** The bookmarks in book order, the last one at or before the page shown selected. */
    private void showBookmarks() {
        if (marks.size() == 0) {
            reader.notice("还没有书签。阅读时按1或在菜单中选“加书签”。");
            return;
        }
        markList = new List("书签", List.IMPLICIT);
        int selected = 0;
        for (int i = 0; i < marks.size(); i++) {
            markList.append(fit("", marks.name(i), ""), null);
            if (marks.part(i) < reader.part()
                    || (marks.part(i) == reader.part() && marks.offset(i) <= reader.offset())) {
                selected = i;
            }
        }
        markList.setSelectedIndex(selected, true);
        markList.addCommand(deleteCommand);
        markList.addCommand(cancelCommand);
        markList.setCommandListener(this);
        display.setCurrent(markList);
    }

    private void deleteBookmark(int i) {
        if (!marks.delete(i)) {
            alert("书签", "手机存储空间不足，书签没有删除。", AlertType.WARNING, markList);
        } else if (marks.size() == 0) {
            display.setCurrent(reader);
        } else {
            markList.delete(i);
        }
    }

    /** Shows the page holding byte {@code offset} of part {@code part}. */
    private void openAt(int part, int offset) {
        if (part == reader.part()) {
            reader.goToOffset(offset);
            display.setCurrent(reader);
        } else {
            showPart(part, offset);
        }
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
        warnPart = part;
        display.setCurrent(reader);
    }

    /**
     * The part shown has more to lay out: a slice is laid out on the event thread after
     * what waits there now, and so on to the part's end.
     */
    void layoutPending() {
        synchronized (this) {
            due |= LAYOUT;
        }
        display.callSerially(this);
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

    /** The page changed within the part: the position is kept once turning pauses. */
    void pageTurned() {
        if (saveAlarm != null) {
            saveAlarm.cancel();
        }
        saveAlarm = new Alarm(this, SAVE);
        timer.schedule(saveAlarm, SAVE_DELAY);
    }

    private void startTurning() {
        stopTurning();
        long period = Settings.TURN_SECONDS[settings.turnSpeed] * 1000L;
        turnAlarm = new Alarm(this, TURN);
        timer.schedule(turnAlarm, period, period);
        reader.setTurning(true);
    }

    /** Stops pages turning by themselves; false if they were not. */
    boolean stopTurning() {
        if (turnAlarm == null) {
            return false;
        }
        turnAlarm.cancel();
        turnAlarm = null;
        reader.setTurning(false);
        return true;
    }

    /** In the timer's thread: does the slow part of the work, then asks for the event thread. */
    void alarm(int kind) {
        if (kind == MEASURE) {
            measured = book.measure();
        }
        synchronized (this) {
            due |= kind;
        }
        display.callSerially(this);
    }

    /** On the event thread: what the alarms left to do. */
    public void run() {
        int now;
        synchronized (this) {
            now = due;
            due = 0;
        }
        if ((now & LAYOUT) != 0) {
            if (reader.layMore()) {
                layoutPending();
            } else if (reader.badSequences() > 0 && reader.part() == warnPart) {
                warnPart = 0;
                // Known once the part is laid out to its end.
                alert("文字有损坏", "第" + reader.part() + "部分有" + reader.badSequences()
                        + "处文字编码损坏，已显示为“?”。", AlertType.WARNING, reader);
            }
        }
        if ((now & MEASURE) != 0) {
            book.setSizes(measured);
            reader.repaint();
        }
        if ((now & TURN) != 0 && turnAlarm != null && !reader.nextPage()) {
            stopTurning(); // the end of the book
            bookEnds();
        }
        if ((now & SAVE) != 0) {
            keepPosition();
        }
    }

    /**
     * Past the last page: says that the book ends, or for a volume of a set that is not the
     * last, which volume comes next (a volume is named "书名(k)").
     */
    void bookEnds() {
        String name = book.name;
        int open = name.lastIndexOf('(');
        int k = -1;
        if (name.endsWith(")") && open > 0) {
            try {
                k = Integer.parseInt(name.substring(open + 1, name.length() - 1));
            } catch (NumberFormatException e) {
                k = -1; // not a volume's name
            }
        }
        int follow = book.volumesFollow();
        reader.notice(k <= 0 || follow == 0 ? "全书完。"
                : (follow > 0 ? "本卷完，请打开《" : "本卷完。如有下一卷，请打开《") + name.substring(0, open) + "(" + (k + 1) + ")》");
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
