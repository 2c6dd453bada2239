package java.lang;

/** CLDC 1.0 API stub. */
public class OutOfMemoryError extends VirtualMachineError {
    public OutOfMemoryError() { }
    public OutOfMemoryError(String message) { super(message); }
}
