package java.lang;

/** CLDC 1.0 API stub. */
public abstract class VirtualMachineError extends Error {
    public VirtualMachineError() { }
    public VirtualMachineError(String message) { super(message); }
}
