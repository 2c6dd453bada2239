/** A book that cannot be shown; the message is the text the user is shown. */
final class BookException extends Exception {
    BookException(String message) {
        super(message);
    }
}
