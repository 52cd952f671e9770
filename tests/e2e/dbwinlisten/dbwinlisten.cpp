// Debugger-output listener: appends every OutputDebugString text of every process in the
// session to a file, one text per line and uncut, using the shared-buffer protocol debug
// viewers use. The file is created once the listener is ready, so a script can wait for it.
//
//   dbwinlisten.exe OUTPUT_FILE
#include <windows.h>

#include <cstdio>
#include <cstring>

namespace {

struct DbwinBuffer {
  DWORD process_id;
  char text[4096 - sizeof(DWORD)];
};

bool write_all(HANDLE file, const char* bytes, DWORD count) {
  DWORD written = 0;
  return WriteFile(file, bytes, count, &written, nullptr) && written == count;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: dbwinlisten OUTPUT_FILE\n");
    return 2;
  }
  HANDLE buffer_ready = CreateEventA(nullptr, FALSE, FALSE, "DBWIN_BUFFER_READY");
  HANDLE data_ready = CreateEventA(nullptr, FALSE, FALSE, "DBWIN_DATA_READY");
  HANDLE mapping = CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0,
                                      sizeof(DbwinBuffer), "DBWIN_BUFFER");
  if (buffer_ready == nullptr || data_ready == nullptr || mapping == nullptr ||
      GetLastError() == ERROR_ALREADY_EXISTS) {
    std::fprintf(stderr, "dbwinlisten: cannot set up the debug buffer (error %lu)\n",
                 GetLastError());
    return 1;
  }
  auto* buffer =
      static_cast<DbwinBuffer*>(MapViewOfFile(mapping, FILE_MAP_READ, 0, 0, sizeof(DbwinBuffer)));
  HANDLE output = CreateFileA(argv[1], GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (buffer == nullptr || output == INVALID_HANDLE_VALUE) {
    std::fprintf(stderr, "dbwinlisten: cannot open %s (error %lu)\n", argv[1], GetLastError());
    return 1;
  }
  for (;;) {
    SetEvent(buffer_ready);
    if (WaitForSingleObject(data_ready, INFINITE) != WAIT_OBJECT_0) return 1;
    const std::size_t length = strnlen(buffer->text, sizeof(buffer->text));
    if (length == 0) continue;
    // Trace texts carry their own line end or none; give every text exactly one.
    const bool has_line_end = buffer->text[length - 1] == '\n';
    if (!write_all(output, buffer->text, static_cast<DWORD>(length)) ||
        (!has_line_end && !write_all(output, "\n", 1))) {
      return 1;
    }
  }
}
