package java.lang;

/** CLDC 1.0 API stub. */
public class Error extends Throwable {
    public Error() { }
    public Error(String message) { super(message); }
}
