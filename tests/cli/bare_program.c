/* The least a process can be: the start benchmark's floor for loading and starting a program. */
int main(void) {
  return 0;
}
