// Keeps the GUI library non-empty until its first window lands.
