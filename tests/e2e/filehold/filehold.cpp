// Holds a file the way a backup or a virus scan does, for the end-to-end tests only: opens it
// with no sharing, so no other program can open it meanwhile, prints "held" once it has it and
// keeps it until RELEASE_FILE appears, which it deletes as it lets go.
//
//   filehold.exe FILE RELEASE_FILE
//
// Exit code 0 once released, 1 when FILE cannot be opened, 2 on wrong arguments.
#include <windows.h>

#include <cstdio>

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: filehold FILE RELEASE_FILE\n");
    return 2;
  }
  HANDLE file =
      CreateFileA(argv[1], GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    std::fprintf(stderr, "filehold: cannot open %s (error %lu)\n", argv[1], GetLastError());
    return 1;
  }
  std::printf("held\n");
  std::fflush(stdout);
  while (GetFileAttributesA(argv[2]) == INVALID_FILE_ATTRIBUTES) Sleep(50);
  CloseHandle(file);
  DeleteFileA(argv[2]);
  return 0;
}
