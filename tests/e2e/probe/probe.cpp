// Placeholder: the end-to-end probe.
int main() { return 0; }
