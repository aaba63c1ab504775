// Keeps the test-disk library non-empty while it has no other sources.
