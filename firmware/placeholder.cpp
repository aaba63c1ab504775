// Emulated recorder.
