package javax.microedition.lcdui;

/** Java SE stand-in for the MIDP 1.0 Screen: a title and a ticker. */
public abstract class Screen extends Displayable {
    String title;
    Ticker ticker;

    Screen() {
    }

    public String getTitle() {
        return title;
    }

    public void setTitle(String s) {
        title = s;
    }

    public Ticker getTicker() {
        return ticker;
    }

    public void setTicker(Ticker ticker) {
        this.ticker = ticker;
    }
}
