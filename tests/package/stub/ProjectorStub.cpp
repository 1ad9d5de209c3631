// A small program of our own: the stub of the Linux projectors the tests
// build (a real program, as a linker lays it out), standing in for a player.
int main() {
    return 0;
}
