package javax.microedition.lcdui;

import java.util.ArrayList;
import java.util.List;

/** Java SE stand-in for the MIDP 1.0 Displayable: its commands and their listener. */
public abstract class Displayable {
    final List<Command> commands = new ArrayList<>();
    CommandListener listener;
    Display shownOn;

    Displayable() {
    }

    public boolean isShown() {
        return shownOn != null && shownOn.current == this;
    }

    public void addCommand(Command cmd) {
        if (cmd == null) {
            throw new NullPointerException();
        }
        if (!commands.contains(cmd)) {
            commands.add(cmd);
        }
    }

    public void removeCommand(Command cmd) {
        commands.remove(cmd);
    }

    public void setCommandListener(CommandListener l) {
        listener = l;
    }
}
